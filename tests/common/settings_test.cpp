#include "common/settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

using common::SettingsStore;

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("woolmere/test.conf"));
    QDir().mkpath(dir.filePath(QStringLiteral("woolmere")));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(Settings, UserFileFollowsXdgConfigHome) {
    QTemporaryDir dir;
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(SettingsStore::userFile(QStringLiteral("velreader")), dir.path() + QStringLiteral("/woolmere/velreader.conf"));
    qputenv("XDG_CONFIG_HOME", old);
}

TEST(Settings, MissingFileGivesDefaultsAndIsCreatedOnlyWhenSomethingChanged) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("woolmere/test.conf"));
    SettingsStore store(path);
    EXPECT_TRUE(store.problem().isEmpty());
    EXPECT_EQ(store.intValue(QStringLiteral("zoom"), 1, 1, 4), 1);
    EXPECT_TRUE(store.save());
    EXPECT_FALSE(QFile::exists(path));

    store.setValue(QStringLiteral("zoom"), 3);
    store.setValue(QStringLiteral("name"), QStringLiteral("羊 \"飼い\", = ; # [x]\n二行"));
    store.setArray(QStringLiteral("places"), {{{QStringLiteral("path"), QStringLiteral("/a,b/本.vln")}, {QStringLiteral("step"), 12}},
                                              {{QStringLiteral("path"), QStringLiteral("/c")}, {QStringLiteral("step"), 0}}});
    EXPECT_TRUE(store.save());

    SettingsStore again(path);
    EXPECT_TRUE(again.problem().isEmpty());
    EXPECT_EQ(again.intValue(QStringLiteral("zoom"), 1, 1, 4), 3);
    EXPECT_EQ(again.stringValue(QStringLiteral("name")), QStringLiteral("羊 \"飼い\", = ; # [x]\n二行"));
    const QList<QVariantMap> places = again.array(QStringLiteral("places"), 100);
    ASSERT_EQ(places.size(), 2);
    EXPECT_EQ(places[0].value(QStringLiteral("path")).toString(), QStringLiteral("/a,b/本.vln"));
    EXPECT_EQ(places[0].value(QStringLiteral("step")).toInt(), 12);
    EXPECT_EQ(again.array(QStringLiteral("places"), 1).size(), 1);
}

TEST(Settings, ValuesOfTheWrongKindOrOutOfRangeAreTheirDefaults) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "[General]\nzoom=9\nspeed=abc\nauto=maybe\nfactor=2.5\nok=true\n");
    SettingsStore store(path);
    EXPECT_TRUE(store.problem().isEmpty());
    EXPECT_EQ(store.intValue(QStringLiteral("zoom"), 1, 1, 4), 1);
    EXPECT_EQ(store.intValue(QStringLiteral("speed"), 7, 0, 100), 7);
    EXPECT_TRUE(store.boolValue(QStringLiteral("auto"), true));
    EXPECT_TRUE(store.boolValue(QStringLiteral("ok"), false));
    EXPECT_DOUBLE_EQ(store.doubleValue(QStringLiteral("factor"), 1.0, 0.25, 4.0), 2.5);
    EXPECT_DOUBLE_EQ(store.doubleValue(QStringLiteral("factor"), 1.0, 0.25, 2.0), 1.0);
}

TEST(Settings, BrokenFilesGiveDefaultsAndAreKeptUntilTheUserChangesAPreference) {
    QTemporaryDir dir;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) junk += char((i * 131 + 7) % 256);
    junk[10] = '\0';
    const QString path = writeFile(dir, junk);
    SettingsStore store(path);
    EXPECT_FALSE(store.problem().isEmpty());
    EXPECT_EQ(store.intValue(QStringLiteral("zoom"), 1, 1, 4), 1);
    store.setValue(QStringLiteral("zoom"), 2);
    EXPECT_TRUE(store.save());
    EXPECT_EQ(readAll(path), junk);  // nothing of it is lost

    store.allowReplacing();
    EXPECT_TRUE(store.save());
    EXPECT_EQ(SettingsStore(path).intValue(QStringLiteral("zoom"), 1, 1, 4), 2);
}

TEST(Settings, FoldersPipesAndHugeFilesAreNeverRead) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("folder.conf"));
    QDir().mkpath(folder);
    SettingsStore asFolder(folder);
    EXPECT_FALSE(asFolder.problem().isEmpty());
    asFolder.allowReplacing();
    asFolder.setValue(QStringLiteral("zoom"), 2);
    EXPECT_FALSE(asFolder.save());  // reported, never fatal

    const QString pipe = dir.filePath(QStringLiteral("pipe.conf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    SettingsStore asPipe(pipe);  // returns at once: a pipe is never opened
    EXPECT_FALSE(asPipe.problem().isEmpty());

    const QString huge = dir.filePath(QStringLiteral("huge.conf"));
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(SettingsStore::MaxFileSize + 1));
    file.close();
    SettingsStore asHuge(huge);
    EXPECT_FALSE(asHuge.problem().isEmpty());
    EXPECT_EQ(QFileInfo(huge).size(), SettingsStore::MaxFileSize + 1);
}

TEST(Settings, AnEmptyOrCommentOnlyFileIsNotBroken) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "; nothing yet\n[General]\n\n");
    SettingsStore store(path);
    EXPECT_TRUE(store.problem().isEmpty());
    store.setValue(QStringLiteral("zoom"), 2);
    EXPECT_TRUE(store.save());
    EXPECT_EQ(SettingsStore(path).intValue(QStringLiteral("zoom"), 1, 1, 4), 2);
}

TEST(Settings, RemoveTakesAKeyAndEverythingBelowItButNotItsNeighbours) {
    SettingsStore store({});
    store.setValue(QStringLiteral("places/size"), 1);
    store.setValue(QStringLiteral("places/1/path"), QStringLiteral("/x"));
    store.setValue(QStringLiteral("placesX"), 5);
    store.remove(QStringLiteral("places"));
    EXPECT_FALSE(store.contains(QStringLiteral("places/size")));
    EXPECT_FALSE(store.contains(QStringLiteral("places/1/path")));
    EXPECT_TRUE(store.contains(QStringLiteral("placesX")));
}
