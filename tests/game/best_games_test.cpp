// The best games: the file read back exactly, bad files, the merge of two
// windows, the name offered, and a game entering through the handlers.
#include "game/services/best_games.h"
#include "game/services/player_name.h"
#include "game_fixture.h"

#include <QDir>
#include <QFile>

namespace {

using scores::BestGame;

QDateTime at(int day, int hour = 12, int minute = 0) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, 0));
}
BestGame entry(int grams, const QDateTime& when, const QString& name = QStringLiteral("ひつじ")) {
    return {grams, when, name};
}

TEST(BestGamesFile, exactBytesAndEveryNameReadsBackExactly) {
    const QList<BestGame> table{entry(523, at(8, 14, 3), QStringLiteral("山田 太郎")),
                                entry(412, at(7), QStringLiteral("a\\b\tc\nd\re\x01"))};
    EXPECT_EQ(scores::encode(table),
              QByteArray("# Woolmere: best games (grams, date, name)\n"
                         "523\t2026-12-08T14:03:00\t\xe5\xb1\xb1\xe7\x94\xb0 \xe5\xa4\xaa\xe9\x83\x8e\n"
                         "412\t2026-12-07T12:00:00\ta\\\\b\\tc\\nd\\re\\u0001\n"));
    // Names of every kind: emoji (surrogate pairs), lone surrogates, a
    // backslash before u, the byte order mark, right-to-left marks.
    const QString names[] = {
        QStringLiteral("🐑 メリー"), QString(QChar(0xD800)) + u'x' + QChar(0xDC00), QStringLiteral("\\u0041"),
        QString(QChar(0xFEFF)) + QStringLiteral("bom"), QStringLiteral("\u200Fעברית\u202E"), QStringLiteral(" # "),
        QString(QChar(0xDBFF)), QString(scores::kMaxNameLength, u'長')};
    QList<BestGame> many;
    int grams = 100;
    for (const QString& name : names) many.append(entry(grams++, at(1), name));
    const scores::Decoded back = scores::decode(scores::encode(many));
    EXPECT_EQ(back.dropped, 0);
    ASSERT_EQ(back.table.size(), many.size());
    for (const BestGame& g : many) EXPECT_TRUE(back.table.contains(g)) << qPrintable(g.name);
}

// Junk of every kind: the valid games stay, the rest is dropped.
TEST(BestGamesFile, badLinesAreDroppedAndTheValidGamesKept) {
    QByteArray bytes = "523\t2026-12-08T14:03:00\tgood\n";
    const char* bad[] = {
        "",                                     // blank: not counted
        "# a comment",                          // not counted
        "412\t2026-12-08T14:03:00",             // a field missing
        "-5\t2026-12-08T14:03:00\tnegative",
        "0\t2026-12-08T14:03:00\tzero",
        "32768\t2026-12-08T14:03:00\ttoo many",
        "99999999999999999999\t2026-12-08T14:03:00\thuge",
        "+12\t2026-12-08T14:03:00\tsign",
        "12\t2026-13-40T25:00:00\tno date",
        "12\t2026-12-08T14:03:00\t",            // no name
        "12\t2026-12-08T14:03:00\tbad \\q escape",
        "12\t2026-12-08T14:03:00\tcut \\u00",
        "12\t2026-12-08T14:03:00\ta\tb",       // a fourth field
        "12\t2026-12-08T14:03:00\t\xff\xfe broken UTF-8",
    };
    for (const char* line : bad) bytes += QByteArray(line) + '\n';
    bytes += "12\t2026-12-08T14:03:00\t" + QByteArray(10000, 'n') + "\n";
    bytes += QByteArray("\x00\x01\x02\xff junk\x7f", 10) + "\r\n";
    bytes += "300\t2026-12-09T10:00:00\tcrlf\r\n";
    bytes += "200\t2026-12-09T10:00:00\tno line end";
    const scores::Decoded decoded = scores::decode(bytes);
    EXPECT_EQ(decoded.dropped, 14);
    ASSERT_EQ(decoded.table.size(), 3);
    EXPECT_EQ(decoded.table[0].name, QStringLiteral("good"));
    EXPECT_EQ(decoded.table[1].name, QStringLiteral("crlf"));
    EXPECT_EQ(decoded.table[2].grams, 200);
}

TEST(BestGamesFile, tenThousandLinesGiveTheTenBestAndAFolderIsAnError) {
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 1; i <= 10000; ++i) bytes += QByteArray::number(i % 3000 + 1) + "\t2026-12-08T14:03:00\tp" + QByteArray::number(i) + '\n';
    const QString path = dir.filePath(QStringLiteral("hituji_best.txt"));
    writeAll(path, bytes);
    QList<BestGame> table;
    ASSERT_TRUE(scores::readTable(path, table).ok);
    ASSERT_EQ(table.size(), 10);
    EXPECT_EQ(table[0].grams, 3000);
    EXPECT_EQ(table[9].grams, 2997);
    for (int i = 1; i < 10; ++i) EXPECT_FALSE(scores::ranksBefore(table[i], table[i - 1]));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    EXPECT_FALSE(scores::readTable(dir.filePath(QStringLiteral("folder")), table).ok);
    EXPECT_TRUE(table.isEmpty());
    EXPECT_TRUE(scores::readTable(dir.filePath(QStringLiteral("missing")), table).ok);
}

TEST(BestGamesTable, sortedBestFirstAnEqualTotalStaysBelowTheOlderOne) {
    QList<BestGame> table;
    for (int i = 0; i < 10; ++i) table.append(entry(100 + 10 * i, at(1 + i)));
    table = scores::merged(table, {});
    EXPECT_EQ(table.first().grams, 190);
    EXPECT_EQ(table.last().grams, 100);
    EXPECT_FALSE(scores::belongsIn(table, 100)) << "equal to the tenth";
    EXPECT_TRUE(scores::belongsIn(table, 101));
    EXPECT_FALSE(scores::belongsIn({}, 0)) << "a game without wool is no best game";
    EXPECT_TRUE(scores::belongsIn({}, 1));
    const QList<BestGame> more = scores::merged(table, {entry(150, at(20)), table[3]});
    ASSERT_EQ(more.size(), 10);
    EXPECT_EQ(more.count(table[3]), 1) << "a game both tables hold is kept once";
    EXPECT_EQ(more[4], entry(150, at(6))) << "the older 150";
    EXPECT_EQ(more[5], entry(150, at(20)));
    EXPECT_EQ(more.last().grams, 110) << "the weakest fell out";
}

TEST(PlayerName, theFullNameUpToTheFirstCommaElseTheLoginName) {
    EXPECT_EQ(scores::playerNameFrom("Mary Shepherd,Room 7,555-1234,,", "mary"), QStringLiteral("Mary Shepherd"));
    EXPECT_EQ(scores::playerNameFrom("羊飼い 花子", "hanako"), QStringLiteral("羊飼い 花子"));
    EXPECT_EQ(scores::playerNameFrom(",,,", "mary"), QStringLiteral("mary"));
    EXPECT_EQ(scores::playerNameFrom("  ", "mary"), QStringLiteral("mary"));
    EXPECT_EQ(scores::playerNameFrom({}, "root"), QStringLiteral("root"));
    EXPECT_FALSE(scores::systemPlayerName().isEmpty()) << "the account running the tests has a name";
}

// A whole game through the handlers: a total among the ten best waits for a
// name, then enters the table and its file.
class BestGameEntryTest : public GameFixture {
protected:
    void playGame(int gramsPerRound) {
        game.Pgamen_Click();
        for (int round = 1; round <= 10; ++round) {
            startRound(1);
            game.Timer2_Timer();
            if (gramsPerRound) {
                random.push({ScriptedRandom::pick(gramsPerRound - 100, 10)});
                game.Pmain_MouseDown(1, 0, float(game.state.SheepX[1] + 20), float(game.state.SheepY[1] + 20));
            }
            runRound();
        }
    }
    QString tablePath() const { return dir.filePath(QStringLiteral("hituji_best.txt")); }
};

TEST_F(BestGameEntryTest, aGameAmongTheTenBestAsksForANameAndEntersTheFile) {
    playGame(104);
    ASSERT_TRUE(game.bestGames().pending());
    EXPECT_EQ(*game.bestGames().pending(), 1040);
    EXPECT_EQ(game.controls.Label4.caption, QStringLiteral("最高：1040g")) << "the best total of the save file is untouched";
    ASSERT_TRUE(game.BestGame_Enter(QStringLiteral("メリー"), at(8, 14, 3).addMSecs(999)).ok);
    EXPECT_FALSE(game.bestGames().pending());
    ASSERT_EQ(game.bestGames().table().size(), 1);
    EXPECT_EQ(game.bestGames().newest(), entry(1040, at(8, 14, 3), QStringLiteral("メリー")));
    EXPECT_EQ(readAll(tablePath()), scores::encode(game.bestGames().table()));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("hituji.dat")))) << "written at close, as designed";
}

TEST_F(BestGameEntryTest, aGameWithoutWoolOrOneBelowTheTenthAsksForNothing) {
    playGame(0);
    EXPECT_FALSE(game.bestGames().pending());
    QList<BestGame> full;
    for (int i = 0; i < 10; ++i) full.append(entry(2000 + i, at(1)));
    writeAll(tablePath(), scores::encode(full));
    ASSERT_TRUE(game.Form_Load().ok);
    game.Command4_Click();
    playGame(109);
    EXPECT_FALSE(game.bestGames().pending()) << "1090 g is below the tenth best";
    game.BestGame_Skip();
    ASSERT_TRUE(game.Form_QueryUnload().ok);
    ASSERT_TRUE(game.Form_Unload().ok);
    EXPECT_EQ(readAll(tablePath()), scores::encode(full)) << "left as it was, byte for byte";
}

TEST_F(BestGameEntryTest, aSkippedNameEntersNothingAndAWindowWithoutGamesWritesNoFile) {
    playGame(100);
    game.BestGame_Skip();
    EXPECT_TRUE(game.bestGames().table().isEmpty());
    ASSERT_TRUE(game.Form_QueryUnload().ok);
    ASSERT_TRUE(game.Form_Unload().ok);
    EXPECT_FALSE(QFile::exists(tablePath()));
}

// Two windows of the game, started one after the other on the same files
// and closed in either order: both windows' successes, the better best and
// every best game are kept.
class TwoWindows : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedRandom random;
    RecordingSound sound;
    QString folder() const { return dir.path() + u'/'; }
    QByteArray save() const { return readAll(dir.filePath(QStringLiteral("hituji.dat"))); }

    static void succeed(HitujiGame& g, ScriptedRandom& random, int times) {
        for (int i = 0; i < times; ++i) {
            g.Command2_Click();
            g.Command1_Click();
            for (int t = 0; t < 777; ++t) {
                random.push({0.5, 0.5, 0.5});
                g.Timer1_Timer();
            }
            g.Command1_Click();
        }
    }
    void close(HitujiGame& g) {
        ASSERT_TRUE(g.Form_QueryUnload().ok);
        ASSERT_TRUE(g.Form_Unload().ok);
    }
};

TEST_F(TwoWindows, closingInEitherOrderKeepsBothWindowsSuccessesAndTheBetterBest) {
    for (const bool firstClosesFirst : {true, false}) {
        writeAll(dir.filePath(QStringLiteral("hituji.dat")), QByteArray("\x02\x00\x02\x00\x64\x00", 6));  // 2, 100 g
        HitujiGame first(random, sound, folder());
        HitujiGame second(random, sound, folder());
        ASSERT_TRUE(first.Form_Load().ok);
        ASSERT_TRUE(second.Form_Load().ok);
        succeed(first, random, 5);
        first.state.BestWool = 304;  // as the end of a tenth round raises it
        succeed(second, random, 1);
        if (firstClosesFirst) {
            close(first);
            EXPECT_EQ(save(), QByteArray("\x07\x00\x02\x00\x30\x01", 6));
            close(second);
        } else {
            close(second);
            EXPECT_EQ(save(), QByteArray("\x03\x00\x02\x00\x64\x00", 6));
            close(first);
        }
        EXPECT_EQ(save(), QByteArray("\x08\x00\x02\x00\x30\x01", 6)) << "2 + 5 + 1 successes, best 304 g";
        const QByteArray report = readAll(dir.filePath(QStringLiteral("H_Score.txt")));
        EXPECT_TRUE(report.contains("8\x89\xf1")) << "the report says 8回 too";
    }
}

TEST_F(TwoWindows, aSaveSpoiledMeanwhileCountsAsAbsentAndTheCountStopsAt32767) {
    writeAll(dir.filePath(QStringLiteral("hituji.dat")), QByteArray("\x05\x00\x02\x00\x10\x00\xAA\xBB", 8));
    HitujiGame g(random, sound, folder());
    ASSERT_TRUE(g.Form_Load().ok);
    succeed(g, random, 2);
    writeAll(dir.filePath(QStringLiteral("hituji.dat")), QByteArray("\x09\x00\x03\x00\x10\x00", 6));  // mistagged
    close(g);
    EXPECT_EQ(save(), QByteArray("\x02\x00\x02\x00\x10\x00", 6)) << "no save: the gain alone, and this best";
    writeAll(dir.filePath(QStringLiteral("hituji.dat")), QByteArray("\xff\x7f\x02\x00\x10\x00", 6));  // 32767
    HitujiGame full(random, sound, folder());
    ASSERT_TRUE(full.Form_Load().ok);
    writeAll(dir.filePath(QStringLiteral("hituji.dat")), QByteArray("\xfe\x7f\x02\x00\x10\x00", 6));
    full.state.SuccessCount = 32767;
    succeed(full, random, 3);
    writeAll(dir.filePath(QStringLiteral("hituji.dat")), QByteArray("\xfe\x7f\x02\x00\x10\x00", 6));
    close(full);
    EXPECT_EQ(save(), QByteArray("\xfe\x7f\x02\x00\x10\x00", 6)) << "no gain past 32767 in the window";
}

TEST_F(TwoWindows, aloneTheWindowWritesExactlyItsOwnCountsOverTheOldTail) {
    writeAll(dir.filePath(QStringLiteral("hituji.dat")), QByteArray("\x03\x00\x02\x00\x0c\x02\xAA\xBB", 8));
    HitujiGame g(random, sound, folder());
    ASSERT_TRUE(g.Form_Load().ok);
    succeed(g, random, 1);
    close(g);
    EXPECT_EQ(save(), QByteArray("\x04\x00\x02\x00\x0c\x02\xAA\xBB", 8));
}

TEST_F(TwoWindows, bestGamesOfBothWindowsAreMergedWhicheverClosesFirst) {
    HitujiGame first(random, sound, folder());
    HitujiGame second(random, sound, folder());
    ASSERT_TRUE(first.Form_Load().ok);
    ASSERT_TRUE(second.Form_Load().ok);
    first.bestGames().gameOver(900);
    ASSERT_TRUE(first.BestGame_Enter(QStringLiteral("一"), at(8, 10)).ok);
    second.bestGames().gameOver(950);
    ASSERT_TRUE(second.BestGame_Enter(QStringLiteral("二"), at(8, 11)).ok);
    close(second);
    close(first);
    QList<BestGame> table;
    ASSERT_TRUE(scores::readTable(dir.filePath(QStringLiteral("hituji_best.txt")), table).ok);
    EXPECT_EQ(table, (QList<BestGame>{entry(950, at(8, 11), QStringLiteral("二")), entry(900, at(8, 10), QStringLiteral("一"))}));
}

}  // namespace
