// What writes killed half-way leave ("<name>.<pid>-<8 hex>.new") is removed
// by the next start of either program in every folder it writes through a
// new file and a rename, and nothing else is: not a user's file, not
// another program's, not a write that is going on (its process runs, or its
// lock is held, as by a copy on another machine).
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

#include "common/fileio.h"
#include "common/leftovers.h"
#include "common/settings.h"
#include "game/core/hituji_game.h"
#include "reader/core/reader_core.h"
#include "tests/durable/quiet_game.h"

namespace {

enum class Folder { Game, Settings, Book, Pictures, Data, Recovery };
enum class Writer { Gone, Running };
enum class Kind { File, Folder, Link };

struct Leftover {
    Folder folder;
    QString name;  // "%1" stands for the writer's process number
    Writer writer = Writer::Gone;
    bool old = false;     // untouched for two minutes
    bool locked = false;  // its lock held, as by a write going on
    Kind kind = Kind::File;
    bool removed = false;
};

qint64 noProcess() {
    QFile maxPid(QStringLiteral("/proc/sys/kernel/pid_max"));
    if (!maxPid.open(QIODevice::ReadOnly)) return 0;
    return maxPid.readAll().trimmed().toLongLong() + 1;  // no process can have it
}

TEST(Leftovers, eachStartRemovesOnlyTheTemporariesOfItsOwnWritesThatNobodyIsWriting) {
    using enum Folder;
    const Leftover table[] = {
        // Every folder a program writes through a rename, its own files there.
        {Game, "hituji.dat.%1-0123abcd.new", Writer::Gone, false, false, Kind::File, true},
        {Game, "hituji_best.txt.%1-ffffffff.new", Writer::Gone, false, false, Kind::File, true},
        {Game, "H_Score.txt.%1-00000000.new", Writer::Gone, false, false, Kind::File, true},
        {Game, "stop-problems.txt.%1-00c0ffee.new", Writer::Gone, false, false, Kind::File, true},
        {Settings, "velreader.conf.%1-0a0b0c0d.new", Writer::Gone, false, false, Kind::File, true},
        {Book, "本.vln.%1-12345678.new", Writer::Gone, false, false, Kind::File, true},
        {Book, "本.html.%1-9abcdef0.new", Writer::Gone, false, false, Kind::File, true},
        {Pictures, "羊.png.%1-0000abcd.new", Writer::Gone, false, false, Kind::File, true},
        {Data, "stop-problems.txt.%1-deadbeef.new", Writer::Gone, false, false, Kind::File, true},
        {Recovery, "work-20260101-120000-000-1-1.json.%1-01234567.new", Writer::Gone, false, false, Kind::File, true},
        // Writes that may be going on.
        {Game, "hituji.dat.%1-11111111.new", Writer::Running, false, false, Kind::File, false},
        {Book, "本.vln.%1-22222222.new", Writer::Running, false, false, Kind::File, false},
        {Game, "hituji.dat.%1-33333333.new", Writer::Gone, false, true, Kind::File, false},
        {Recovery, "work-20260101-120000-000-1-2.json.%1-44444444.new", Writer::Gone, true, true, Kind::File, false},
        {Game, "hituji.dat.%1-55555555.new", Writer::Running, true, true, Kind::File, false},
        // A running process of that number, the file untouched for long: the
        // number was given again.
        {Game, "hituji.dat.%1-66666666.new", Writer::Running, true, false, Kind::File, true},
        // Not a temporary of ours, or not of a file this folder's program writes.
        {Game, "hituji.dat.%1-0123ABCD.new", Writer::Gone, true, false, Kind::File, false},
        {Game, "hituji.dat.0123abcd.new", Writer::Gone, true, false, Kind::File, false},
        {Game, "hituji.dat.%1-0123abc.new", Writer::Gone, true, false, Kind::File, false},
        {Game, "hituji.dat.0%1-0123abcd.new", Writer::Gone, true, false, Kind::File, false},
        {Game, ".%1-0123abcd.new", Writer::Gone, true, false, Kind::File, false},
        {Game, "notes.new", Writer::Gone, true, false, Kind::File, false},
        {Game, "fleeceslot.conf.%1-0123abcd.new", Writer::Gone, true, false, Kind::File, false},
        {Settings, "fleeceslot.conf.%1-0123abcd.new", Writer::Gone, true, false, Kind::File, false},
        {Data, "velreader.conf.%1-0123abcd.new", Writer::Gone, true, false, Kind::File, false},
        {Recovery, "notes.json.%1-0123abcd.new", Writer::Gone, true, false, Kind::File, false},
        {Game, "hituji.dat.%1-77777777.new", Writer::Gone, true, false, Kind::Folder, false},
        {Book, "本.vln.%1-88888888.new", Writer::Gone, true, false, Kind::Link, false},
    };

    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    const auto path = [&](Folder f) {
        static const char* const names[] = {"game/", "config/", "Book/", "E/", "data/", "data/recovery/"};
        return root + QLatin1String(names[int(f)]);
    };
    for (Folder f : {Game, Settings, Book, Pictures, Data, Recovery}) ASSERT_TRUE(QDir().mkpath(path(f)));
    const qint64 gone = noProcess();
    ASSERT_GT(gone, 0);
    const QString target = root + QStringLiteral("untouched.vln");
    QFile(target).open(QIODevice::WriteOnly);

    std::vector<int> held;  // the locks of writes going on, kept until the starts are done
    std::vector<QString> files;
    for (const Leftover& row : table) {
        const QString name = row.name.contains(QLatin1String("%1"))
                                 ? row.name.arg(row.writer == Writer::Gone ? gone : qint64(::getpid()))
                                 : row.name;
        const QString file = path(row.folder) + name;
        files.push_back(file);
        if (row.kind == Kind::Folder) {
            ASSERT_TRUE(QDir().mkdir(file));
        } else if (row.kind == Kind::Link) {
            ASSERT_TRUE(QFile::link(target, file));
        } else {
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write("half a write");
            out.close();
            if (row.old) {
                ASSERT_TRUE(out.open(QIODevice::ReadWrite));
                ASSERT_TRUE(out.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
            }
        }
        if (row.locked) {
            const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::flock(fd, LOCK_EX), 0);
            held.push_back(fd);
        }
    }

    // The starts: the game's, the reader's, and the settings both read.
    FixedRandom random;
    SilentSound sound;
    HitujiGame game(random, sound, path(Game), path(Game));
    EXPECT_TRUE(game.Form_Load().ok);
    const common::SettingsStore settings(path(Settings) + QStringLiteral("velreader.conf"));
    velreader::ReaderCore reader(velreader::ReaderFolders{root + QStringLiteral("Book"), {path(Pictures)}, path(Data)});
    reader.offerRecovery();

    for (size_t i = 0; i < files.size(); ++i) {
        const bool there = QFileInfo(files[i]).exists() || QFileInfo(files[i]).isSymLink();
        EXPECT_EQ(there, !table[i].removed) << files[i].toStdString();
    }
    EXPECT_TRUE(QFile::exists(target)) << "a link's file stays";
    for (int fd : held) ::close(fd);

    // A write going on holds the lock of its new file from its making to
    // its rename: even untouched for long, it is not taken for a leftover.
    const QString writing = root + QStringLiteral("writing/");
    ASSERT_TRUE(QDir().mkpath(writing));
    const QString big = writing + QStringLiteral("大きい本.vln");
    int tried = 0;
    const common::FileError written = common::replaceFile(big, QByteArray(3 * 1024 * 1024, 'x'), [&] {
        for (const QString& name : QDir(writing).entryList({QStringLiteral("*.new")}, QDir::Files)) {
            QFile temporary(writing + name);
            ASSERT_TRUE(temporary.open(QIODevice::ReadWrite));
            ASSERT_TRUE(temporary.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
            ++tried;
        }
        EXPECT_EQ(common::removeLeftoverTemporaries(writing, [](const QString&) { return true; }), 0);
    });
    EXPECT_TRUE(written.ok());
    EXPECT_GT(tried, 0);
    EXPECT_EQ(QFileInfo(big).size(), 3 * 1024 * 1024);
    EXPECT_EQ(QDir(writing).entryList(QDir::Files), QStringList{QStringLiteral("大きい本.vln")});
    EXPECT_TRUE(common::syncFolder(writing).ok());
    EXPECT_FALSE(common::syncFolder(root + QStringLiteral("gone")).ok());
}

}  // namespace
