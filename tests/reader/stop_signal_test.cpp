// The real program ended from outside (a session ending, a kill, a crash):
// its unsaved work is in its own recovery file in the user's data folder,
// and the next start offers every such work, overwriting none.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <csignal>
#include <memory>

#include "reader/services/recovery.h"
#include "reader/ui/recovery_list.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"
#include "tests/common/signal_ready.h"

#include <QPushButton>
#include <QTableWidget>

namespace velreader::testing {
namespace {

class StopSignals : public ::testing::Test {
protected:
    QString dataFolder() const { return home.path() + "/data/org.woolmere.Velreader/"; }
    QString recoveryFolder() const { return dataFolder() + "recovery/"; }
    QStringList kept() const {
        QStringList files;
        for (const QString& name : QDir(recoveryFolder()).entryList({"work-*.json"}, QDir::Files)) files << recoveryFolder() + name;
        return files;
    }
    QByteArray bytesOf(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QString textFile(const QString& name, const QString& text) {
        const QString path = home.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        return path;
    }
    // Starts `program` with its own data and configuration folders and
    // waits until it handles SIGTERM.
    std::unique_ptr<QProcess> start(const QString& program, const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_DATA_HOME", home.path() + "/data");
        env.insert("XDG_CONFIG_HOME", home.path() + "/config");
        process->setProcessEnvironment(env);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        QElapsedTimer clock;
        clock.start();
        while (!catchesSignal(process->processId(), SIGTERM) && clock.elapsed() < 20000) QTest::qWait(10);
        EXPECT_TRUE(catchesSignal(process->processId(), SIGTERM)) << "the program never got ready";
        return process;
    }
    void waitForEnd(QProcess& process, bool killed = false) {
        ASSERT_TRUE(process.waitForFinished(20000));
        if (killed) return;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitCode(), 0);
    }
    // The next start, as the program sets it up, restores the work in `path`
    // through 記録 > "復元".
    void restoreIn(VReader3& window, const QString& path) {
        window.restoreAction()->trigger();
        RecoveryList* list = window.recoveryList();
        ASSERT_TRUE(list && list->isVisible());
        for (int row = 0; row < list->table()->rowCount(); ++row) {
            if (list->table()->item(row, 0)->toolTip() == path) list->table()->selectRow(row);
        }
        ASSERT_EQ(list->currentPath(), path);
        list->openButton()->click();
    }
    // A window of its own process that read `text` and designated a word,
    // ready to be ended.
    std::unique_ptr<QProcess> startWithWork(const QString& text, const QString& designation) {
        const QString appFolder = home.path() + "/app/";
        QDir().mkpath(appFolder + "E");
        auto child = start(READER_WORK_CHILD, {appFolder, dataFolder(), text, designation});
        EXPECT_TRUE(child->waitForReadyRead(20000));
        EXPECT_EQ(child->readLine().trimmed(), "ready");
        return child;
    }
    ReaderFolders nextStartFolders() const {
        ReaderFolders folders = ReaderFolders::portable(home.path() + u'/');
        folders.dataFolder = dataFolder();
        return folders;
    }

    QTemporaryDir home;
};

TEST_F(StopSignals, unsavedWorkIsKeptOnSigtermAndOfferedAtTheNextStart) {
    const QString story = textFile("story.txt", "雨の日\nひつじ😀");
    const QString appFolder = QFileInfo(QStringLiteral(VELREADER_PROGRAM)).absolutePath() + u'/';
    const QStringList booksBefore = QDir(appFolder + "Book").entryList(QDir::Files);

    // Opening a text file is no change: stopped then, nothing is kept.
    auto opened = start(VELREADER_PROGRAM, {story});
    ::kill(pid_t(opened->processId()), SIGTERM);
    waitForEnd(*opened);
    EXPECT_TRUE(kept().isEmpty());

    // A reading and a designation are.
    auto first = startWithWork("雨の日\nひつじ😀", "雨：＞青");
    ::kill(pid_t(first->processId()), SIGTERM);
    waitForEnd(*first);
    ASSERT_EQ(kept().size(), 1) << "no recovery file in the user's data folder";
    const QString file = kept().first();
    const QByteArray bytes = bytesOf(file);
    const ParsedRecovery parsed = parseRecovery(bytes);
    ASSERT_TRUE(parsed.book) << parsed.error.toStdString();
    EXPECT_EQ(parsed.book->displayLines, (QStringList{"雨の日", "ひつじ😀", ""})) << "kept as it is, also what a book cannot hold";
    EXPECT_EQ(QDir(appFolder + "Book").entryList(QDir::Files), booksBefore) << "the portable Book folder gets nothing";

    // A run without changes, stopped: the offered file stays as it was.
    auto second = start(VELREADER_PROGRAM, {});
    ::kill(pid_t(second->processId()), SIGHUP);
    waitForEnd(*second);
    EXPECT_EQ(kept(), QStringList{file});
    EXPECT_EQ(bytesOf(file), bytes);

    // The next start: told, restored, and a close that lets it go removes it.
    VReader3 next(nextStartFolders());
    next.core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
    next.show();
    EXPECT_TRUE(next.text1()->toPlainText().startsWith("前回までに保存されないまま終わった本が 1 冊あります（"))
        << next.text1()->toPlainText().toStdString();
    EXPECT_TRUE(next.text1()->holdsMessage());
    ASSERT_TRUE(next.restoreAction()->isEnabled());
    restoreIn(next, file);
    EXPECT_EQ(next.core().state().DisplayLines, (QStringList{"雨の日", "ひつじ😀", ""}));
    EXPECT_TRUE(next.core().modified());
    EXPECT_TRUE(next.close());
    EXPECT_TRUE(kept().isEmpty());
}

// Killed outright 3 s after a reading and a designation: no signal to
// catch, yet nothing is lost.
TEST_F(StopSignals, aReaderKilledWithSigkillLosesNothing) {
    auto child = startWithWork("丘の上の\n羊と〜雲😀", "丘：hill.png＞緑");
    QTest::qWait(3000);
    ::kill(pid_t(child->processId()), SIGKILL);
    waitForEnd(*child, true);
    ASSERT_EQ(kept().size(), 1);

    VReader3 next(nextStartFolders());
    next.core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
    next.show();
    restoreIn(next, kept().first());
    const ReaderState& s = next.core().state();
    EXPECT_EQ(s.DisplayLines, (QStringList{"丘の上の", "羊と〜雲😀", ""}));
    EXPECT_EQ(s.LineCount, 2);
    EXPECT_EQ(s.WordTable[0], "丘");
    EXPECT_EQ(s.PictureTable[0], "hill.png＞緑");
    EXPECT_EQ(s.WordCount, 1);
}

// Two readers stopped in the same instant, each with its own text; then a
// start that offers both, ignored, and stopped with work of its own: every
// work is kept, the offered ones untouched.
TEST_F(StopSignals, readersStoppedTogetherAndAnOfferIgnoredKeepEveryWork) {
    auto a = startWithWork("海の日\nさかな", "海：＞青");
    auto b = startWithWork("山の日\nひつじ", "山：＞緑");
    ::kill(pid_t(a->processId()), SIGTERM);
    ::kill(pid_t(b->processId()), SIGTERM);
    waitForEnd(*a);
    waitForEnd(*b);
    ASSERT_EQ(kept().size(), 2);
    QStringList titles;
    QMap<QString, QByteArray> before;
    for (const QString& file : kept()) {
        before.insert(file, bytesOf(file));
        const ParsedRecovery parsed = parseRecovery(before[file]);
        ASSERT_TRUE(parsed.book);
        titles << parsed.book->displayLines.value(0);
    }
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"山の日", "海の日"}));

    auto c = startWithWork("雲の日", "雲：＞白");
    ::kill(pid_t(c->processId()), SIGTERM);
    waitForEnd(*c);
    ASSERT_EQ(kept().size(), 3);
    for (auto it = before.begin(); it != before.end(); ++it) EXPECT_EQ(bytesOf(it.key()), it.value()) << "offered, untouched";
}

}  // namespace
}  // namespace velreader::testing
