// The real game told to stop (a session ending) while its files cannot be
// written: it ends at once, with no message box waiting for an answer; the
// problem goes to stderr and into a line that the next start shows.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

#include "common/stop_notes.h"
#include "tests/common/signal_ready.h"

namespace {

// A portable copy of the built game in `folder`: the program, its sounds and tune.
bool copyGame(const QString& folder) {
    const QDir built(QStringLiteral(FLEECESLOT_DIR));
    for (const QString& name : built.entryList(QDir::Files)) {
        if (!QFile::copy(built.filePath(name), folder + name)) return false;
    }
    return QFile::setPermissions(folder + QStringLiteral("fleeceslot"),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

struct GameRun {
    bool ended = false;
    int exitCode = -1;
    QString stderrText;
};

// Starts the copy, waits until it handles SIGTERM, sends it and waits at
// most 10 s for the end.
GameRun startAndStop(const QString& folder, const QString& home) {
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    game.setProcessEnvironment(env);
    game.start(folder + QStringLiteral("fleeceslot"), {});
    GameRun run;
    if (!game.waitForStarted(10000)) return run;
    QElapsedTimer clock;
    clock.start();
    while (!catchesSignal(game.processId(), SIGTERM) && clock.elapsed() < 20000) QTest::qWait(10);
    // Some time in the running game, as a player would have had.
    QTest::qWait(200);
    ::kill(pid_t(game.processId()), SIGTERM);
    run.ended = game.waitForFinished(10000);
    if (!run.ended) {
        game.kill();
        game.waitForFinished(5000);
    }
    run.exitCode = game.exitCode();
    run.stderrText = QString::fromUtf8(game.readAllStandardError());
    return run;
}

TEST(GameStop, aStopWithAFailingWriteEndsAtOnceSaysWhyOnStderrAndTheNextStartShowsIt) {
    QTemporaryDir home;
    const QString folder = home.path() + QStringLiteral("/game/");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(copyGame(folder));
    // The report cannot be written: a folder stands in its place.
    ASSERT_TRUE(QDir().mkdir(folder + QStringLiteral("H_Score.txt")));

    const GameRun stopped = startAndStop(folder, home.path());
    ASSERT_TRUE(stopped.ended) << "the close waits on something: " << stopped.stderrText.toStdString();
    EXPECT_EQ(stopped.exitCode, 0);
    EXPECT_TRUE(stopped.stderrText.contains(QStringLiteral("fleeceslot: Cannot write ")) &&
                stopped.stderrText.contains(QStringLiteral("H_Score.txt")))
        << stopped.stderrText.toStdString();
    QFile notes(folder + QLatin1String(common::StopNotesFileName));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    const QString note = QString::fromUtf8(notes.readAll());
    notes.close();
    EXPECT_TRUE(note.contains(QStringLiteral("H_Score.txt"))) << note.toStdString();
    EXPECT_EQ(note.count(u'\n'), 1) << "one line";
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("hituji.dat"))) << "what could be written was";

    // The next start, with the folder gone, says it once and keeps no note.
    ASSERT_TRUE(QDir(folder + QStringLiteral("H_Score.txt")).removeRecursively());
    const GameRun next = startAndStop(folder, home.path());
    ASSERT_TRUE(next.ended) << next.stderrText.toStdString();
    EXPECT_EQ(next.exitCode, 0);
    EXPECT_TRUE(next.stderrText.contains(QStringLiteral("前回、終了の合図で閉じたときの問題")) &&
                next.stderrText.contains(QStringLiteral("H_Score.txt")))
        << next.stderrText.toStdString();
    EXPECT_FALSE(QFile::exists(folder + QLatin1String(common::StopNotesFileName)));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("H_Score.txt")).isFile());
}

}  // namespace
