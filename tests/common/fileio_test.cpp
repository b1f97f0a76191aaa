#include "common/fileio.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using common::FileError;

class FileIo : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    void write(const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const char* name) {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir;
};

// A pipe whose other end nobody opens would block an open() for ever; a
// device could be read for ever. Neither may be opened, for reading or
// writing, and each answer comes at once.
TEST_F(FileIo, refusesPipesDevicesAndFoldersWithoutOpeningThem) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0644), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(common::readFile(path("pipe"), 100).error.kind, FileError::Kind::NotRegular);
    EXPECT_EQ(common::writeOverStart(path("pipe"), "abc").kind, FileError::Kind::NotRegular);
    EXPECT_EQ(common::replaceFile(path("pipe"), "abc").kind, FileError::Kind::NotRegular);
    EXPECT_EQ(common::readFile(QStringLiteral("/dev/zero"), 100).error.kind, FileError::Kind::NotRegular);
    EXPECT_EQ(common::readFile(path("folder"), 100).error.kind, FileError::Kind::Folder);
    EXPECT_EQ(common::writeOverStart(path("folder"), "abc").kind, FileError::Kind::Folder);
    EXPECT_EQ(common::readFile(path("nothing"), 100).error.kind, FileError::Kind::Missing);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(QFileInfo(path("pipe")).exists() && !QFileInfo(path("pipe")).isFile()) << "the pipe stays a pipe";
}

TEST_F(FileIo, readsTheStartOrRefusesAFileAboveTheLimit) {
    write("data", "0123456789");
    EXPECT_EQ(common::readFile(path("data"), 6, false).bytes, "012345");
    EXPECT_EQ(common::readFile(path("data"), 10).bytes, "0123456789");
    const common::ReadResult tooLarge = common::readFile(path("data"), 9);
    EXPECT_EQ(tooLarge.error.kind, FileError::Kind::TooLarge);
    EXPECT_TRUE(tooLarge.bytes.isEmpty());
}

TEST_F(FileIo, writeOverStartKeepsTheTailAndReplaceFileKeepsModeAndLinks) {
    write("save", "abcdefgh");
    EXPECT_TRUE(common::writeOverStart(path("save"), "XYZ").ok());
    EXPECT_EQ(read("save"), "XYZdefgh");

    write("report", "old text, longer than the new one");
    ASSERT_EQ(::chmod(QFile::encodeName(path("report")).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(path("report"), path("link")));
    EXPECT_TRUE(common::replaceFile(path("link"), "new").ok());
    EXPECT_EQ(read("report"), "new");
    EXPECT_TRUE(QFileInfo(path("link")).isSymLink()) << "the link still names the report";
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path("report")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 3) << "no temporary file is left";
}

TEST_F(FileIo, failedWritesSayWhyAndLeaveNothingBehind) {
    const FileError noFolder = common::replaceFile(path("gone/report.txt"), "x");
    EXPECT_EQ(noFolder.kind, FileError::Kind::MissingFolder);
    EXPECT_EQ(common::writeOverStart(path("gone/save"), "x").kind, FileError::Kind::MissingFolder);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    // /proc takes no new files, not even from root.
    const FileError refused = common::replaceFile(QStringLiteral("/proc/report.txt"), "x");
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(refused.englishReason().isEmpty());
}

TEST(FileErrorText, putsTheReasonInJapaneseWordsWithTheSystemTextInBrackets) {
    const FileError full{FileError::Kind::System, ENOSPC};
    EXPECT_TRUE(full.japaneseReason().startsWith(QStringLiteral("ディスクがいっぱいです（")))
        << full.japaneseReason().toStdString();
    EXPECT_TRUE(full.japaneseReason().endsWith(QStringLiteral("）")));
    EXPECT_TRUE(FileError({FileError::Kind::System, EACCES}).japaneseReason().contains(QStringLiteral("許可されていません")));
    EXPECT_EQ(FileError({FileError::Kind::Missing, ENOENT}).japaneseReason(), QStringLiteral("ファイルがありません"));
    EXPECT_EQ(FileError({FileError::Kind::Folder, EISDIR}).englishReason(), QStringLiteral("it is a folder"));
}

}  // namespace
