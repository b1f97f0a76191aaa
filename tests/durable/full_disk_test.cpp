// Every write of both programs on a full disk (a small tmpfs, mounted for
// the test; that needs root): the old file stays whole, nothing is left
// beside it, and the failure is said.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include "common/settings.h"
#include "game/core/hituji_game.h"
#include "tests/durable/quiet_game.h"
#include "reader/core/reader_core.h"
#include "reader/services/recovery_writer.h"

namespace {

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root; skipped";
        m_root = dir.path() + QStringLiteral("/disk");
        QDir().mkpath(m_root);
        if (::mount("tmpfs", QFile::encodeName(m_root).constData(), "tmpfs", 0, "size=256k,mode=0755") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << "); skipped";
        m_mounted = true;
    }
    void TearDown() override {
        if (m_mounted) ::umount2(QFile::encodeName(m_root).constData(), MNT_DETACH);
    }
    QString path(const QString& name) const { return m_root + u'/' + name; }
    void write(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray read(const QString& name) {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Fills the disk to its last byte.
    void fill() {
        QFile filler(path(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        // Small writes can still find a last partial page: take it too.
        QFile rest(path(QStringLiteral("filler2")));
        if (rest.open(QIODevice::WriteOnly))
            while (rest.write("x", 1) == 1 && rest.flush()) {
            }
    }
    // Nothing but the files the test made: no temporary left by a failed write.
    QStringList leftovers() const {
        QStringList names = QDir(m_root).entryList(QDir::Files | QDir::Hidden);
        return names.filter(QStringLiteral(".new"));
    }

    QTemporaryDir dir;
    QString m_root;
    bool m_mounted = false;
};

TEST_F(FullDisk, everyWriteKeepsTheOldFileAndSaysWhy) {
    // The game's files and its settings, as a close and a change write them.
    const QByteArray oldSave("\x03\x00\x02\x00\x0c\x02\xAA\xBB", 8);
    write("hituji.dat", oldSave);
    write("fleeceslot.conf", "[sound]\nmuted=true\n");
    write("recovery/work-old.json", "old work");
    write("Book/old.vln", "old book");
    FixedRandom random;
    SilentSound sound;
    HitujiGame game(random, sound, m_root + u'/', m_root + u'/');
    ASSERT_TRUE(game.Form_Load().ok);
    common::SettingsStore settings(path("fleeceslot.conf"));
    velreader::ReaderFolders folders = velreader::ReaderFolders::portable(m_root + u'/');
    velreader::ReaderCore reader(folders);
    reader.Form_Load();
    fill();

    game.state.SuccessCount = 4;
    const savefiles::FileResult saved = game.Form_QueryUnload();
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(saved.error.contains("No space left on device")) << saved.error.toStdString();
    EXPECT_EQ(read("hituji.dat"), oldSave);
    game.bestGames().gameOver(500);
    const savefiles::FileResult best = game.BestGame_Enter(QStringLiteral("羊飼い"), QDateTime::currentDateTime());
    EXPECT_FALSE(best.ok);
    EXPECT_TRUE(best.error.contains("No space left on device")) << best.error.toStdString();

    settings.setValue(QStringLiteral("sound/muted"), QStringLiteral("false"));
    const common::SettingsStore::SaveResult kept = settings.save();
    EXPECT_EQ(kept.status, common::SettingsStore::SaveResult::Status::Failed);
    EXPECT_EQ(kept.error.code, ENOSPC);
    EXPECT_EQ(read("fleeceslot.conf"), "[sound]\nmuted=true\n");
    EXPECT_TRUE(settings.changed()) << "kept for the next save";

    {
        velreader::RecoveryWriter writer(path("recovery/work-old.json"));
        velreader::RecoveredBook work;
        work.displayLines = QStringList(2000, QStringLiteral("保存されていない行"));
        writer.write(work);
        ASSERT_TRUE(writer.flush(5000));
        EXPECT_TRUE(writer.lastProblem().contains(QStringLiteral("ディスクがいっぱいです"))) << writer.lastProblem().toStdString();
    }
    EXPECT_EQ(read("recovery/work-old.json"), "old work");

    reader.setFileDialog([&](const velreader::FileDialogRequest&) { return path("Book/old.vln"); });
    reader.controls().Text1.text = QStringLiteral("新しい\r\n本");
    reader.Command1_Click();
    reader.AllSave_Click();
    EXPECT_TRUE(reader.controls().Text1.text.startsWith(QStringLiteral("セーブできませんでした："))) << reader.controls().Text1.text.toStdString();
    EXPECT_TRUE(reader.controls().Text1.text.contains(QStringLiteral("ディスクがいっぱいです")));
    EXPECT_EQ(reader.state().BookFileName, QStringLiteral("*None")) << "a failed save gives no name";
    EXPECT_TRUE(reader.modified());
    EXPECT_EQ(read("Book/old.vln"), "old book");

    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(u' ').toStdString();
}

}  // namespace
