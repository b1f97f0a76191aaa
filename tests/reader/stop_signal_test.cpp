// The real program told to stop (a session ending): no question can be
// asked, so unsaved work goes to the recovery file in the user's data
// folder, and the next start offers it.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <csignal>

#include "reader/services/recovery.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

// True once the process handles `signal` itself (its handler is installed).
bool catches(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

// Starts the built program with its own data and configuration folders,
// waits until it handles `signal`, sends it and waits for the end.
void runAndStop(const QString& home, const QStringList& arguments, int signal) {
    QProcess reader;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_CONFIG_HOME", home + "/config");
    reader.setProcessEnvironment(env);
    reader.start(QStringLiteral(VELREADER_PROGRAM), arguments);
    ASSERT_TRUE(reader.waitForStarted(10000));
    QElapsedTimer clock;
    clock.start();
    while (!catches(reader.processId(), signal) && clock.elapsed() < 20000) QTest::qWait(10);
    ASSERT_TRUE(catches(reader.processId(), signal)) << "the program never got ready";
    ::kill(pid_t(reader.processId()), signal);
    ASSERT_TRUE(reader.waitForFinished(20000));
    EXPECT_EQ(reader.exitStatus(), QProcess::NormalExit) << reader.readAllStandardError().toStdString();
    EXPECT_EQ(reader.exitCode(), 0);
}

TEST(StopSignals, unsavedWorkIsKeptOnSigtermAndOfferedAtTheNextStart) {
    QTemporaryDir home;
    const QString story = home.filePath("story.txt");
    {
        QFile file(story);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("雨の日\nひつじ😀").toUtf8());
    }
    const QString recovery = home.path() + "/data/org.woolmere.Velreader/recovery.json";
    const QString appFolder = QFileInfo(QStringLiteral(VELREADER_PROGRAM)).absolutePath() + u'/';
    const QStringList booksBefore = QDir(appFolder + "Book").entryList(QDir::Files);

    // Opening a text file is no change: stopped then, nothing is kept.
    runAndStop(home.path(), {story}, SIGTERM);
    EXPECT_FALSE(QFileInfo::exists(recovery));
    {
        // A reading is: what a stop signal keeps (the same step the
        // program's handler takes).
        ReaderFolders folders = ReaderFolders::portable(home.path() + u'/');
        folders.recoveryFile = recovery;
        ReaderCore changed(folders);
        changed.Form_Load();
        changed.openText(story);
        EXPECT_TRUE(changed.keepUnsavedWork().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(recovery));
        changed.controls().Text1.text = toCrLf(QStringLiteral("雨の日\nひつじ😀"));
        changed.Command1_Click();
        EXPECT_TRUE(changed.keepUnsavedWork().isEmpty());
    }
    QFile kept(recovery);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << "no recovery file in the user's data folder";
    const QByteArray bytes = kept.readAll();
    kept.close();
    const ParsedRecovery parsed = parseRecovery(bytes);
    ASSERT_TRUE(parsed.book) << parsed.error.toStdString();
    EXPECT_EQ(parsed.book->displayLines, (QStringList{"雨の日", "ひつじ😀", ""})) << "kept as it is, also what a book cannot hold";
    EXPECT_EQ(QDir(appFolder + "Book").entryList(QDir::Files), booksBefore) << "the portable Book folder gets nothing";

    // A run without changes, stopped: the offered file stays as it was.
    runAndStop(home.path(), {}, SIGHUP);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
    kept.close();

    // The next start, as the program sets it up: told, restored, and a
    // clean close removes the file.
    ReaderFolders folders = ReaderFolders::portable(home.path() + u'/');
    folders.recoveryFile = recovery;
    VReader3 next(folders);
    next.core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
    next.show();
    EXPECT_TRUE(next.text1()->toPlainText().startsWith("前回、保存されないまま終わった本があります（"));
    EXPECT_TRUE(next.text1()->holdsMessage());
    ASSERT_TRUE(next.restoreAction()->isEnabled());
    next.restoreAction()->trigger();
    EXPECT_EQ(next.core().state().DisplayLines, (QStringList{"雨の日", "ひつじ😀", ""}));
    EXPECT_TRUE(next.core().modified());
    EXPECT_TRUE(QFileInfo::exists(recovery));
    EXPECT_TRUE(next.close());
    EXPECT_FALSE(QFileInfo::exists(recovery));
}

}  // namespace
}  // namespace velreader::testing
