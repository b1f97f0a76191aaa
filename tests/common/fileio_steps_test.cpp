// A large file is replaced in steps between which a window can breathe.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/fileio.h"

namespace {

TEST(ReplaceFileInSteps, writesEveryByteAndLetsTheCallerBreatheBetweenSteps) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.vln"));
    QByteArray bytes(5 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = char('a' + i % 23);
    int calls = 0;
    ASSERT_TRUE(common::replaceFile(path, bytes, [&] { ++calls; }).ok());
    EXPECT_EQ(calls, 5);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
    calls = 0;
    ASSERT_TRUE(common::replaceFile(path, "small", [&] { ++calls; }).ok());
    EXPECT_EQ(calls, 0) << "a small file goes in one step";
}

}  // namespace
