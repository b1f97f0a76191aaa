// Two games closing in the same instant (a session ending under both), a
// hundred times over: each close reads, merges and writes hituji.dat, the
// best games and the settings file under their locks, so that every
// success, best game and preference of both is kept.
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "game/services/best_games.h"
#include "game/services/savefiles.h"

namespace {

// The next line the driver prints (at most 20 s).
QByteArray nextLine(QProcess& driver) {
    while (!driver.canReadLine()) {
        if (!driver.waitForReadyRead(20000)) return "<no answer: " + driver.readAllStandardError() + ">";
    }
    return driver.readLine().trimmed();
}

TEST(ConcurrentClose, twoGamesClosingAtOnceAHundredTimesKeepEverySuccessBestGameAndPreference) {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QProcess drivers[2];
    for (int id = 0; id < 2; ++id) {
        drivers[id].start(QStringLiteral(GAME_CLOSE_DRIVER), {folder, QString::number(id)});
        ASSERT_TRUE(drivers[id].waitForStarted(10000));
    }
    constexpr int Rounds = 100;
    for (int round = 0; round < Rounds; ++round) {
        for (QProcess& d : drivers) d.write("start\n");
        for (QProcess& d : drivers) ASSERT_EQ(nextLine(d), "started") << "round " << round;
        // Both games are running; both close now.
        const QByteArray close = "close " + QByteArray::number(round) + '\n';
        for (QProcess& d : drivers) d.write(close);
        for (QProcess& d : drivers) ASSERT_EQ(nextLine(d), "closed") << "round " << round;

        savefiles::SaveData saved;
        bool found = false;
        ASSERT_TRUE(savefiles::readSave(folder + "hituji.dat", saved, found).ok);
        ASSERT_TRUE(found);
        // Driver 0 wins 1 success a round, driver 1 wins 2.
        ASSERT_EQ(saved.SuccessCount, 3 * (round + 1)) << "a close undid the other's successes in round " << round;
        ASSERT_EQ(saved.BestWool, 0);
        QList<scores::BestGame> table;
        ASSERT_TRUE(scores::readTable(folder + "hituji_best.txt", table).ok);
        ASSERT_GE(table.size(), 2);
        EXPECT_EQ(table[0].grams, 1000 + 2 * round + 1) << "round " << round;
        EXPECT_EQ(table[1].grams, 1000 + 2 * round) << "round " << round;
        QSettings settings(folder + "fleeceslot.conf", QSettings::IniFormat);
        ASSERT_EQ(settings.value("driver/0").toString(), QString::number(round));
        ASSERT_EQ(settings.value("driver/1").toString(), QString::number(round));
    }
    for (QProcess& d : drivers) {
        d.closeWriteChannel();
        EXPECT_TRUE(d.waitForFinished(10000));
    }
    QFile save(folder + "hituji.dat");
    EXPECT_EQ(QFileInfo(save).size(), 6) << "the six bytes, nothing else";
}

}  // namespace
