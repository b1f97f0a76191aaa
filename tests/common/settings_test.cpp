#include "common/settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <functional>
#include <memory>
#include <random>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
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
    const SettingsStore::SaveResult kept = store.save();
    EXPECT_EQ(kept.status, SettingsStore::SaveResult::Status::Kept) << "nothing written is no success";
    EXPECT_FALSE(kept.ok());
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

// Several windows share one settings file: each saves only what it changed,
// over what the file holds at that moment. Random changes by three stores,
// saved in a random order, against a plain map that replays the changes
// in that order.
TEST(Settings, storesSavedInAnyOrderKeepEachOthersChanges) {
    QRandomGenerator random(23);
    const QStringList keys{QStringLiteral("zoom"), QStringLiteral("sound/muted"), QStringLiteral("sound/volume"),
                           QStringLiteral("places"), QStringLiteral("name"), QStringLiteral("places2")};
    for (int round = 0; round < 40; ++round) {
        QTemporaryDir dir;
        QMap<QString, QString> model;
        QByteArray initial = "[General]\n";
        for (const QString& key : keys) {
            if (random.bounded(2)) continue;
            model.insert(key, QStringLiteral("start%1").arg(random.bounded(100)));
        }
        {
            SettingsStore seed(dir.filePath(QStringLiteral("woolmere/test.conf")));
            for (auto it = model.begin(); it != model.end(); ++it) seed.setValue(it.key(), it.value());
            ASSERT_TRUE(seed.save().ok());
        }
        const QString path = dir.filePath(QStringLiteral("woolmere/test.conf"));
        std::vector<std::unique_ptr<SettingsStore>> stores;
        for (int i = 0; i < 3; ++i) stores.push_back(std::make_unique<SettingsStore>(path));
        // Each store's changes, replayed on the model when it saves.
        std::vector<std::vector<std::function<void(QMap<QString, QString>&)>>> changes(3);
        for (int i = 0; i < 3; ++i) {
            for (int n = int(random.bounded(4)); n > 0; --n) {
                const QString key = keys[random.bounded(int(keys.size()))];
                if (random.bounded(4) == 0) {
                    stores[i]->remove(key);
                    changes[i].push_back([key](QMap<QString, QString>& m) {
                        for (auto it = m.begin(); it != m.end();)
                            it = (it.key() == key || it.key().startsWith(key + u'/')) ? m.erase(it) : std::next(it);
                    });
                } else if (key.startsWith(QStringLiteral("places"))) {
                    const QString at = QStringLiteral("/book%1.vln").arg(i);
                    stores[i]->setArray(key, {{{QStringLiteral("path"), at}}});
                    changes[i].push_back([key, at](QMap<QString, QString>& m) {
                        for (auto it = m.begin(); it != m.end();)
                            it = (it.key() == key || it.key().startsWith(key + u'/')) ? m.erase(it) : std::next(it);
                        m.insert(key + QStringLiteral("/size"), QStringLiteral("1"));
                        m.insert(key + QStringLiteral("/1/path"), at);
                    });
                } else {
                    const QString value = QStringLiteral("w%1-%2").arg(i).arg(random.bounded(1000));
                    stores[i]->setValue(key, value);
                    changes[i].push_back([key, value](QMap<QString, QString>& m) { m.insert(key, value); });
                }
            }
        }
        std::vector<int> order{0, 1, 2};
        std::shuffle(order.begin(), order.end(), std::mt19937(random.generate()));
        for (const int i : order) {
            ASSERT_TRUE(stores[i]->save().ok());
            EXPECT_FALSE(stores[i]->changed());
            for (const auto& change : changes[i]) change(model);
        }
        QSettings written(path, QSettings::IniFormat);
        QStringList onDisk;
        for (const QString& key : written.allKeys()) onDisk << key + u'=' + written.value(key).toString();
        QStringList expected;
        for (auto it = model.begin(); it != model.end(); ++it) expected << it.key() + u'=' + it.value();
        onDisk.sort();
        expected.sort();
        EXPECT_EQ(onDisk.join(u' ').toStdString(), expected.join(u' ').toStdString()) << "round " << round;
    }
}
