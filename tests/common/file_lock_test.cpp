// The lock that two processes take around a read-merge-write of one file,
// and the notes of a stopped run.
#include "common/file_lock.h"
#include "common/fileio.h"
#include "common/stop_notes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using common::FileLock;

TEST(FileLock, oneHolderAtATimeAndTheLockGoesWithItsHolderEvenAKilledOne) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("hituji.dat"));
    EXPECT_FALSE(FileLock::heldElsewhere(file)) << "no lock file: free";
    {
        FileLock first = FileLock::acquire(file);
        ASSERT_TRUE(first.locked());
        EXPECT_TRUE(QFile::exists(file + QStringLiteral(".lock")));
        EXPECT_TRUE(FileLock::heldElsewhere(file));
        EXPECT_FALSE(FileLock::tryAcquire(file).locked());
        QElapsedTimer clock;
        clock.start();
        const FileLock waited = FileLock::acquire(file, 60);
        EXPECT_FALSE(waited.locked());
        EXPECT_GE(clock.elapsed(), 60);
        EXPECT_FALSE(waited.error().ok());
        FileLock moved = std::move(first);
        EXPECT_TRUE(moved.locked());
        EXPECT_TRUE(FileLock::heldElsewhere(file)) << "a move keeps the lock";
    }
    EXPECT_FALSE(FileLock::heldElsewhere(file));
    EXPECT_TRUE(QFile::exists(file + QStringLiteral(".lock"))) << "the lock file is kept";

    // Another process holds it, then is killed: the lock is free at once.
    const QByteArray name = QFile::encodeName(file + QStringLiteral(".lock"));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(name.constData(), O_RDWR);
        if (fd >= 0 && ::flock(fd, LOCK_EX) == 0) [[maybe_unused]] auto n = ::write(ready[1], "x", 1);
        for (;;) ::pause();
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_TRUE(FileLock::heldElsewhere(file));
    EXPECT_FALSE(FileLock::acquire(file, 20).locked());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(FileLock::acquire(file, 1000).locked());
    ::close(ready[0]);
    ::close(ready[1]);

    const FileLock nowhere = FileLock::acquire(dir.filePath(QStringLiteral("gone/hituji.dat")), 10);
    EXPECT_FALSE(nowhere.locked());
    EXPECT_EQ(nowhere.error().kind, common::FileError::Kind::MissingFolder);
}

// Notes kept by stopped runs are shown once, in order, by the next start.
TEST(StopNotes, keptInOrderTakenOnce) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data/app"));
    EXPECT_TRUE(common::takeStopNotes(folder).isEmpty());
    EXPECT_TRUE(common::keepStopNote(folder, QStringLiteral("hituji.dat を書けません")));
    EXPECT_TRUE(common::keepStopNote(folder, QStringLiteral("二行の\n問題")));
    const QStringList notes = common::takeStopNotes(folder);
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[0].endsWith(QStringLiteral(" hituji.dat を書けません")));
    EXPECT_TRUE(notes[1].endsWith(QStringLiteral(" 二行の 問題"))) << "one line each";
    EXPECT_TRUE(common::takeStopNotes(folder).isEmpty());
    EXPECT_FALSE(common::keepStopNote(QStringLiteral("/proc/none"), QStringLiteral("x")));
}

}  // namespace
