#include "game/core/hituji_game.h"
#include "game/services/savefiles.h"
#include "common/cp932.h"
#include "fakes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.append(static_cast<char>(v));
    return out;
}

// A game in a temporary application folder, started and closed through its
// handlers as the window does.
class SaveFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedRandom random;
    RecordingSound sound;
    QString folder() const { return dir.path() + u'/'; }
    QString path(const char* name) const { return folder() + QLatin1String(name); }
    QByteArray expectedReport(int successes, int best) const {
        const QString text = QStringLiteral("\"<<Woolmereのハイスコア>>\"\r\n\"777だした回数>>%1回\"\r\n"
                                            "\"最高羊毛グラム数>>%2g\"\r\n").arg(successes).arg(best);
        return cp932::encode(text).bytes;
    }
};

TEST_F(SaveFilesTest, firstRunStartsAtZeroAndWritesBothFilesOnClose) {
    HitujiGame game(random, sound, folder());
    ASSERT_TRUE(game.Form_Load().ok);
    EXPECT_EQ(game.controls.Label3.caption, QStringLiteral("成功：０"));
    EXPECT_EQ(game.controls.Label4.caption, QStringLiteral("最高：0g"));
    EXPECT_EQ(QDir::currentPath() + u'/', folder()) << "the application folder becomes current";
    EXPECT_TRUE(game.Form_QueryUnload().ok);
    EXPECT_TRUE(game.Form_Unload().ok);
    EXPECT_EQ(readAll(path("hituji.dat")), bytes({0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(readAll(path("H_Score.txt")), expectedReport(0, 0));
    EXPECT_EQ(sound.calls, QStringList{QStringLiteral("midi:")}) << "closing stops and releases the music";
}

TEST_F(SaveFilesTest, savedCountsComeBackAndAreWrittenAgain) {
    writeAll(path("hituji.dat"), bytes({0x03, 0x00, 0x02, 0x00, 0x0C, 0x02}));
    HitujiGame game(random, sound, folder());
    ASSERT_TRUE(game.Form_Load().ok);
    EXPECT_EQ(game.state.SuccessCount, 3);
    EXPECT_EQ(game.state.BestWool, 524);
    EXPECT_EQ(game.controls.Label3.caption, QStringLiteral("成功：3"));
    EXPECT_EQ(game.controls.Label4.caption, QStringLiteral("最高：524g"));
    game.Form_QueryUnload();
    game.Form_Unload();
    EXPECT_EQ(readAll(path("hituji.dat")), bytes({0x03, 0x00, 0x02, 0x00, 0x0C, 0x02}));
    // The report, byte for byte: quotes, code page 932, CR LF.
    const QByteArray report = readAll(path("H_Score.txt"));
    EXPECT_EQ(report, expectedReport(3, 524));
    EXPECT_TRUE(report.startsWith("\"<<Woolmere\x82\xcc\x83n\x83" "C\x83X\x83R\x83" "A>>\"\r\n"));
    EXPECT_TRUE(report.endsWith("524g\"\r\n"));
}

TEST_F(SaveFilesTest, longerOldFileKeepsItsTailAfterTheFirstSixBytes) {
    writeAll(path("hituji.dat"), bytes({0x05, 0x00, 0x02, 0x00, 0x10, 0x00, 0xAB, 0xCD}));
    HitujiGame game(random, sound, folder());
    ASSERT_TRUE(game.Form_Load().ok);
    EXPECT_EQ(game.state.SuccessCount, 5);
    EXPECT_EQ(game.state.BestWool, 16);
    game.state.SuccessCount = 6;
    game.state.BestWool = 510;
    game.Form_QueryUnload();
    EXPECT_EQ(readAll(path("hituji.dat")), bytes({0x06, 0x00, 0x02, 0x00, 0xFE, 0x01, 0xAB, 0xCD}));
}

TEST_F(SaveFilesTest, shortOrForeignFilesCountAsAbsent) {
    const QByteArray cases[] = {QByteArray(), bytes({0x03}), bytes({0x03, 0x00, 0x02, 0x00, 0x0C}),
                                bytes({0x03, 0x00, 0x03, 0x00, 0x0C, 0x02}),
                                bytes({0x03, 0x00, 0x02, 0x01, 0x0C, 0x02})};
    for (const QByteArray& content : cases) {
        writeAll(path("hituji.dat"), content);
        HitujiGame game(random, sound, folder());
        ASSERT_TRUE(game.Form_Load().ok);
        EXPECT_EQ(game.state.SuccessCount, 0) << content.toHex().toStdString();
        EXPECT_EQ(game.state.BestWool, 0);
        EXPECT_EQ(game.controls.Label3.caption, QStringLiteral("成功：０"));
    }
}

TEST_F(SaveFilesTest, unreadableSaveAndUnwritableFolderAreReportedWithFileAndReason) {
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("hituji.dat")));
    HitujiGame game(random, sound, folder());
    const savefiles::FileResult load = game.Form_Load();
    EXPECT_FALSE(load.ok);
    EXPECT_TRUE(load.error.contains(path("hituji.dat"))) << load.error.toStdString();

    const savefiles::FileResult save = game.Form_QueryUnload();
    EXPECT_FALSE(save.ok);
    EXPECT_TRUE(save.error.contains(path("hituji.dat")));
    EXPECT_TRUE(save.error.contains(QStringLiteral("folder"))) << save.error.toStdString();
}

TEST_F(SaveFilesTest, readOnlyFolderFailsTheReportWithAMessage) {
    if (geteuid() == 0) {
        // root writes into any folder it may change; /proc takes no new files
        // from anyone.
        HitujiGame game(random, sound, QStringLiteral("/proc/"));
        const savefiles::FileResult save = game.Form_QueryUnload();
        EXPECT_FALSE(save.ok);
        EXPECT_TRUE(save.error.contains(QStringLiteral("/proc/hituji.dat"))) << save.error.toStdString();
        const savefiles::FileResult report = game.Form_Unload();
        EXPECT_FALSE(report.ok);
        EXPECT_TRUE(report.error.contains(QStringLiteral("H_Score.txt")));
        return;
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    HitujiGame game(random, sound, folder());
    EXPECT_FALSE(game.Form_QueryUnload().ok);
    const savefiles::FileResult report = game.Form_Unload();
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.error.contains(QStringLiteral("H_Score.txt")));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A pipe in the save's place would block an open() for ever: it is refused
// at once, at start-up and at close, and the message says what it is.
TEST_F(SaveFilesTest, pipesInPlaceOfEitherFileAreRefusedWithoutBlocking) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("hituji.dat")).constData(), 0644), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("H_Score.txt")).constData(), 0644), 0);
    QElapsedTimer clock;
    clock.start();
    HitujiGame game(random, sound, folder());
    const savefiles::FileResult load = game.Form_Load();
    EXPECT_FALSE(load.ok);
    EXPECT_TRUE(load.error.contains(path("hituji.dat")) && load.error.contains(QStringLiteral("not a regular file")))
        << load.error.toStdString();
    const savefiles::FileResult save = game.Form_QueryUnload();
    EXPECT_FALSE(save.ok);
    EXPECT_TRUE(save.error.contains(QStringLiteral("not a regular file"))) << save.error.toStdString();
    const savefiles::FileResult report = game.Form_Unload();
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.error.contains(path("H_Score.txt"))) << report.error.toStdString();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(QFileInfo(path("H_Score.txt")).isFile()) << "the pipe is not replaced";
}

TEST_F(SaveFilesTest, anApplicationFolderThatCannotBeEnteredStopsTheStart) {
    writeAll(path("plain"), "x");
    HitujiGame game(random, sound, path("plain") + u'/');
    const savefiles::FileResult load = game.Form_Load();
    EXPECT_FALSE(load.ok);
    EXPECT_TRUE(load.error.contains(QStringLiteral("current folder"))) << load.error.toStdString();
}

// An installed copy keeps its files in the user's own folder, made when
// first written; nothing goes into the application folder.
TEST_F(SaveFilesTest, aSeparateSaveFolderIsMadeWhenNeededAndTheApplicationFolderStaysUntouched) {
    const QString user = folder() + QStringLiteral("data/org.woolmere.Fleeceslot/");
    {
        HitujiGame game(random, sound, folder(), user);
        ASSERT_TRUE(game.Form_Load().ok) << "no save yet is no error";
        game.state.SuccessCount = 3;
        game.state.BestWool = 524;
        EXPECT_TRUE(game.Form_QueryUnload().ok);
        EXPECT_TRUE(game.Form_Unload().ok);
    }
    EXPECT_EQ(readAll(user + QStringLiteral("hituji.dat")), bytes({0x03, 0x00, 0x02, 0x00, 0x0C, 0x02}));
    EXPECT_EQ(readAll(user + QStringLiteral("H_Score.txt")), expectedReport(3, 524));
    EXPECT_FALSE(QFile::exists(path("hituji.dat")));
    EXPECT_FALSE(QFile::exists(path("H_Score.txt")));
    HitujiGame again(random, sound, folder(), user);
    ASSERT_TRUE(again.Form_Load().ok);
    EXPECT_EQ(again.state.SuccessCount, 3);
    EXPECT_EQ(again.controls.Label4.caption, QStringLiteral("最高：524g"));

    // A user folder that cannot be made: both files fail with their names
    // and why, and still nothing lands in the application folder.
    writeAll(path("blocker"), "a file where the folder should be");
    HitujiGame blocked(random, sound, folder(), path("blocker") + QStringLiteral("/org.woolmere.Fleeceslot/"));
    ASSERT_TRUE(blocked.Form_Load().ok);
    const savefiles::FileResult save = blocked.Form_QueryUnload();
    const savefiles::FileResult report = blocked.Form_Unload();
    EXPECT_FALSE(save.ok);
    EXPECT_TRUE(save.error.contains(QStringLiteral("blocker/org.woolmere.Fleeceslot/hituji.dat"))) << save.error.toStdString();
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.error.contains(QStringLiteral("H_Score.txt")));
    EXPECT_FALSE(QFile::exists(path("hituji.dat")));
}

TEST(SaveFormat, encodesAndDecodesLittleEndianWithTheTag) {
    EXPECT_EQ(savefiles::encodeSave({3, 524}), bytes({0x03, 0x00, 0x02, 0x00, 0x0C, 0x02}));
    EXPECT_EQ(savefiles::encodeSave({32767, -1}), bytes({0xFF, 0x7F, 0x02, 0x00, 0xFF, 0xFF}));
    const auto decoded = savefiles::decodeSave(bytes({0x00, 0x80, 0x02, 0x00, 0x01, 0x00}));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->SuccessCount, -32768);
    EXPECT_EQ(decoded->BestWool, 1);
}

}  // namespace
