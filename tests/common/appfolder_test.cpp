#include "common/appfolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(ApplicationFolder, appendsExactlyOneSeparator) {
    EXPECT_EQ(common::withTrailingSeparator(QStringLiteral("/opt/game")), QStringLiteral("/opt/game/"));
    EXPECT_EQ(common::withTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(common::withTrailingSeparator(QStringLiteral("/opt/game/")), QStringLiteral("/opt/game/"));
    EXPECT_EQ(common::withTrailingSeparator(QString()), QString()) << "no folder stays no folder, never the root";
}

TEST(ApplicationFolder, isTheFolderOfTheRunningProgram) {
    const QString folder = common::applicationFolder();
    EXPECT_TRUE(folder.endsWith(u'/'));
    EXPECT_FALSE(folder.endsWith(QStringLiteral("//")));
    EXPECT_EQ(folder, QCoreApplication::applicationDirPath() + u'/');
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
