// The game window's additions, driven as a player would: pause, mute, the
// context menu, the settings, the best games, the rules, and a zoom that
// fits the screen.
#include "common/settings.h"
#include "common/ui/window_zoom.h"
#include "game/services/best_games.h"
#include "game/ui/best_games_dialog.h"
#include "game/ui/help_dialog.h"
#include "game/ui/hituji_window.h"
#include "game/ui/settings_dialog.h"
#include "fakes.h"
#include "tests/common/shown_as_typed.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <functional>
#include <random>
#include <gtest/gtest.h>

namespace {

QScreen* smallScreen() {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QStringLiteral("1600x900")) return screen;
    return nullptr;
}

class WindowExtrasTest : public ::testing::Test {
protected:
    void SetUp() override {
        installGameFonts();
        window.setErrorReporter([this](const QString& text) { errors << text; });
        window.setAccountName(QStringLiteral("Mary Shepherd"));
        ASSERT_TRUE(window.Form_Load());
    }
    void showActive() {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void leaveTitle() { QTest::keyClick(window.pgamen(), Qt::Key_Return); }
    QImage shot() { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Where field pixel (x, y) is drawn in the window at zoom 1.
    static QPoint onScreen(int x, int y) { return {8 + x, 8 + y}; }

    QTemporaryDir dir;
    ClockSeededRandom random{20261208};
    RecordingSound sound;
    HitujiGame game{random, sound, dir.path() + u'/'};
    Hituji window{game};
    QStringList errors;
};

TEST_F(WindowExtrasTest, pAndAClickOnTheFieldPauseAndResumeARollWhereItStopped) {
    showActive();
    leaveTitle();
    QSignalSpy ticks(&window, &Hituji::timer1Ticked);
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 5, 5000);
    QTest::keyClick(&window, Qt::Key_P);
    ASSERT_TRUE(game.pause().paused());
    EXPECT_FALSE(window.timer(1)->isActive());
    EXPECT_TRUE(window.timer(3)->isActive()) << "the banner walks on";
    const int16_t count = game.state.SheepCount;
    QTest::qWait(150);
    EXPECT_EQ(game.state.SheepCount, count);
    // The field shows its frame dimmed, with 一時停止 over it.
    EXPECT_EQ(window.pmain()->veil(), QStringLiteral("一時停止"));
    const QImage dimmed = shot();
    const QRgb field = game.surfaces.Pmain.pixel(5, 5);
    EXPECT_LT(qGray(dimmed.pixel(onScreen(5, 5))), qGray(field));
    EXPECT_FALSE(window.pmain()->accessibleDescription().isEmpty());
    // The stop button rests: the count is not judged.
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    EXPECT_EQ(game.state.RollState, 1);
    EXPECT_TRUE(sound.calls.isEmpty());
    // Going on: the next tick comes after what was left of the interval,
    // then every 20 ms again.
    QTest::keyClick(&window, Qt::Key_P);
    EXPECT_FALSE(game.pause().paused());
    EXPECT_TRUE(window.timer(1)->isActive());
    EXPECT_LE(window.timer(1)->interval(), 20);
    const int before = ticks.count();
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= before + 3, 5000);
    EXPECT_EQ(window.timer(1)->interval(), 20);
    EXPECT_TRUE(window.pmain()->veil().isEmpty());
    // Paused again, a click on the field goes on.
    QTest::keyClick(&window, Qt::Key_P);
    QTest::mouseClick(window.pmain(), Qt::LeftButton);
    EXPECT_FALSE(game.pause().paused());
    EXPECT_TRUE(window.timer(1)->isActive());
}

TEST_F(WindowExtrasTest, aClickOnAPausedRoundShearsNothingAndTheFlockGoesOn) {
    showActive();
    leaveTitle();
    window.timer(2)->setInterval(5);
    QTest::mouseClick(window.command(3), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(game.state.SheepX[1] < 150, 5000);
    QTest::keyClick(&window, Qt::Key_P);
    ASSERT_TRUE(game.pause().paused());
    EXPECT_FALSE(window.timer(2)->isActive());
    const int16_t x = game.state.SheepX[1];
    const QPoint sheep(1 + x + 20, 1 + game.state.SheepY[1] + 20);
    QTest::mousePress(window.pmain(), Qt::LeftButton, {}, sheep);
    EXPECT_EQ(game.state.Wool, 0);
    EXPECT_EQ(game.state.Sheared[1], 0);
    EXPECT_TRUE(window.timer(2)->isActive());
    EXPECT_EQ(window.timer(2)->interval() <= 5, true) << "the round's own beat goes on";
}

TEST_F(WindowExtrasTest, leavingTheWindowPausesARollButOnlyOnTheChangeFromActive) {
    showActive();
    leaveTitle();
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(game.pause().paused());
    EXPECT_FALSE(window.timer(1)->isActive());
    // Back in the window, the game waits for the player.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(game.pause().paused());
    QTest::keyClick(&window, Qt::Key_P);
    EXPECT_FALSE(game.pause().paused());
    // Minimised, too.
    window.showMinimized();
    QTRY_VERIFY(game.pause().paused());
    window.showNormal();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_P);
    // With the setting off, leaving changes nothing.
    game.setPauseWhenInactive(false);
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(game.pause().paused());
    EXPECT_TRUE(window.timer(1)->isActive());
}

TEST_F(WindowExtrasTest, aWindowThatWasNeverActivePlaysAsDesigned) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::mouseClick(window.pgamen(), Qt::LeftButton);
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    QTest::qWait(100);
    EXPECT_FALSE(game.pause().paused());
    EXPECT_GT(game.state.SheepCount, 0);
}

TEST_F(WindowExtrasTest, mMutesWithAMarkOnTheBannerBesideItsText) {
    showActive();
    leaveTitle();
    const QImage before = shot();
    QTest::keyClick(&window, Qt::Key_M);
    EXPECT_TRUE(game.levels().muted());
    EXPECT_EQ(sound.calls.last(), QStringLiteral("volumes:0:0"));
    EXPECT_TRUE(window.pzeb()->accessibleDescription().contains(QStringLiteral("音を消しています")));
    const QImage muted = shot();
    // The banner's picture starts at (218, 120); the mark stands at 36 to 47
    // across, clear of the walking sheep (10 to 29) and of the text.
    int changed = 0, changedElsewhere = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool differs = before.pixel(218 + x, 120 + y) != muted.pixel(218 + x, 120 + y);
            if (x >= 10 && x < 30 && y >= 10 && y < 30) continue;  // the walking sheep
            if (x >= 36 && x < 48 && y >= 14 && y < 26) changed += differs;
            else changedElsewhere += differs;
        }
    EXPECT_GT(changed, 30);
    EXPECT_EQ(changedElsewhere, 0);
    QTest::keyClick(&window, Qt::Key_M);
    EXPECT_FALSE(game.levels().muted());
    EXPECT_EQ(sound.calls.last(), QStringLiteral("volumes:128:128"));
    EXPECT_TRUE(window.pzeb()->accessibleDescription().contains(QStringLiteral("音が出ます")));
}

TEST_F(WindowExtrasTest, theContextMenuOpensAnywhereButOnTheFieldWhichShearsWithTheRightButton) {
    showActive();
    leaveTitle();
    const auto rightClick = [&](QWidget* widget, QPoint at) {
        QTest::mousePress(widget, Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
        QTest::mouseRelease(widget, Qt::RightButton, {}, at);
    };
    rightClick(window.label(2), QPoint(5, 5));
    QMenu* menu = window.contextMenu();
    ASSERT_TRUE(menu->isVisible());
    QStringList items;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) items << a->text() + u'|' + a->shortcut().toString();
    EXPECT_EQ(items, (QStringList{"一時停止|P", "音を消す|M", "音楽を止める|", "設定...|", "ベストゲーム|Ctrl+H", "拡大|Ctrl++",
                                  "縮小|Ctrl+-", "標準の大きさ|Ctrl+0", "全画面|F11", "遊び方|F1", "終了|Ctrl+Q"}));
    EXPECT_FALSE(window.pauseAction()->isEnabled()) << "nothing runs to pause";
    menu->hide();
    // On the banner the right button opens the menu and plays no music.
    rightClick(window.pzeb(), QPoint(100, 20));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(sound.calls.isEmpty());
    menu->hide();
    // On the field it shears, and opens nothing.
    game.state.FlockSize = 1;
    game.state.SheepX[1] = 100;
    game.state.SheepY[1] = 50;
    rightClick(window.pmain(), QPoint(1 + 120, 1 + 70));
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(game.state.Sheared[1], 1);
    // The Menu key (which the platform turns into a context menu event for
    // the focus widget) and Shift+F10 open it too.
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, focus->rect().center(), focus->mapToGlobal(focus->rect().center()));
    QApplication::sendEvent(focus, &key);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    QTest::keyClick(&window, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_TRUE(window.pzeb()->toolTip().contains(QStringLiteral("右クリック")));
}

TEST_F(WindowExtrasTest, theRulesOpenOnF1AndFromTheMenu) {
    showActive();
    QTest::keyClick(&window, Qt::Key_F1);
    ASSERT_TRUE(window.helpDialog());
    EXPECT_TRUE(window.helpDialog()->isVisible());
    const QString text = window.helpDialog()->text()->toPlainText();
    for (const char* needed : {"777de止め", "100 〜 109", "10 回で一ゲーム", "Ctrl+H", "Shift+F10", "設定..."})
        EXPECT_TRUE(text.contains(QString::fromUtf8(needed))) << needed;
    window.helpDialog()->close();
    window.helpAction()->trigger();
    EXPECT_TRUE(window.helpDialog()->isVisible());
}

// A game among the ten best asks for a name (the account's at first), then
// shows the table with the new game marked; Ctrl+H shows it again.
TEST_F(WindowExtrasTest, aBestGameAsksForANameAndTheTableMarksIt) {
    showActive();
    leaveTitle();
    window.timer(2)->setInterval(1);
    game.state.ShearRound = 9;
    game.state.Wool = 812;
    QTest::mouseClick(window.command(3), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(window.nameDialog() && window.nameDialog()->isVisible(), 5000);
    PlayerNameDialog* ask = window.nameDialog();
    EXPECT_EQ(ask->nameEdit()->text(), QStringLiteral("Mary Shepherd"));
    EXPECT_EQ(window.label(4)->text(), QStringLiteral("最高：812g"));
    ask->nameEdit()->setText(QStringLiteral("   "));
    EXPECT_FALSE(ask->enterButton()->isEnabled());
    ask->nameEdit()->setText(QStringLiteral("メリー\\🐑"));
    QTest::mouseClick(ask->enterButton(), Qt::LeftButton);
    QTRY_VERIFY(window.bestGamesDialog() && window.bestGamesDialog()->isVisible());
    QTableWidget* table = window.bestGamesDialog()->table();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(window.bestGamesDialog()->markedRow(), 0);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("★1"));
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("812g"));
    EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("メリー\\🐑"));
    EXPECT_TRUE(table->item(0, 0)->font().bold());
    QList<scores::BestGame> saved;
    ASSERT_TRUE(scores::readTable(dir.filePath(QStringLiteral("hituji_best.txt")), saved).ok);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved[0].name, QStringLiteral("メリー\\🐑"));
    window.bestGamesDialog()->close();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(window.bestGamesDialog()->isVisible());
    EXPECT_EQ(window.settings().playerName, QStringLiteral("メリー\\🐑")) << "offered next time";
    EXPECT_TRUE(errors.isEmpty());
}

// The name dialog closed without a name, by its own close, by Escape or by
// the window's close: the game is kept under what was typed, else the name
// offered, else "名無し"; only "記録しない" drops it.
TEST_F(WindowExtrasTest, aNameDialogClosedWithoutANameKeepsTheGameUnderTheOfferedNameElseNanashi) {
    enum class Close { Dialog, Escape, Window, Decline };
    const struct {
        QString account;
        QString typed;
        Close close;
        QString kept;  // empty: no game kept
    } rows[] = {
        {QStringLiteral("Mary Shepherd"), QString(), Close::Dialog, QStringLiteral("Mary Shepherd")},
        {QStringLiteral("Mary Shepherd"), QStringLiteral("  "), Close::Escape, QStringLiteral("Mary Shepherd")},
        {QStringLiteral("Mary Shepherd"), QString(), Close::Window, QStringLiteral("Mary Shepherd")},
        {QString(), QString(), Close::Dialog, QStringLiteral("名無し")},
        {QString(), QStringLiteral("\t"), Close::Escape, QStringLiteral("名無し")},
        {QString(), QString(), Close::Window, QStringLiteral("名無し")},
        {QString(), QStringLiteral("メリー"), Close::Dialog, QStringLiteral("メリー")},
        {QStringLiteral("Mary Shepherd"), QString(), Close::Decline, QString()},
    };
    for (const auto& row : rows) {
        const std::string where = row.account.toStdString() + " / " + row.typed.toStdString() + " / " +
                                  std::to_string(int(row.close));
        QTemporaryDir folder;
        HitujiGame fresh(random, sound, folder.path() + u'/');
        Hituji other(fresh);
        other.setAccountName(row.account);
        ASSERT_TRUE(other.Form_Load());
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
        QTest::keyClick(other.pgamen(), Qt::Key_Return);
        other.timer(2)->setInterval(1);
        fresh.state.ShearRound = 9;
        fresh.state.Wool = 700;
        QTest::mouseClick(other.command(3), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(other.nameDialog() && other.nameDialog()->isVisible(), 5000);
        PlayerNameDialog* ask = other.nameDialog();
        EXPECT_EQ(ask->nameEdit()->text(), row.account) << where;
        ask->nameEdit()->setText(row.typed);
        switch (row.close) {
        case Close::Dialog: ask->close(); break;
        case Close::Escape: QTest::keyClick(ask, Qt::Key_Escape); break;
        case Close::Window: other.close(); break;
        case Close::Decline:
            for (QPushButton* b : ask->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("記録しない")) QTest::mouseClick(b, Qt::LeftButton);
            break;
        }
        if (row.close != Close::Window) QTRY_VERIFY_WITH_TIMEOUT(!other.nameDialog(), 5000);
        other.close();
        QList<scores::BestGame> saved;
        ASSERT_TRUE(scores::readTable(folder.filePath(QStringLiteral("hituji_best.txt")), saved).ok) << where;
        if (row.kept.isEmpty()) {
            EXPECT_TRUE(saved.isEmpty()) << where;
            continue;
        }
        ASSERT_EQ(saved.size(), 1) << where;
        EXPECT_EQ(saved[0].grams, 700) << where;
        EXPECT_EQ(saved[0].name, row.kept) << where;
    }
}

TEST_F(WindowExtrasTest, aBrokenBestGamesFileNeverBreaksTheWindow) {
    QFile f(dir.filePath(QStringLiteral("hituji_best.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray junk;
    for (int i = 0; i < 10000; ++i) junk += "\xff\x00junk\t" + QByteArray::number(i) + "\n";
    junk += "300\t2026-12-08T10:00:00\t" + QByteArray(10000, 'x') + "\n";
    junk += "250\t2026-12-08T10:00:00\tok\n";
    f.write(junk);
    f.close();
    HitujiGame fresh(random, sound, dir.path() + u'/');
    Hituji other(fresh);
    ASSERT_TRUE(other.Form_Load());
    other.show();
    other.showBestGames();
    ASSERT_EQ(other.bestGamesDialog()->table()->rowCount(), 1);
    EXPECT_EQ(other.bestGamesDialog()->table()->item(0, 2)->text(), QStringLiteral("ok"));
}

// The settings dialog: each change reaches the sound and is kept; a new
// window with the same settings starts with them.
TEST_F(WindowExtrasTest, settingsTakeEffectAtOnceAndAreKeptForTheNextStart) {
    const QString path = dir.filePath(QStringLiteral("config/woolmere/fleeceslot.conf"));
    common::SettingsStore store(path);
    window.useSettings(&store);
    EXPECT_TRUE(sound.calls.isEmpty()) << "no settings file: the game starts as designed";
    showActive();
    leaveTitle();
    window.settingsAction()->trigger();
    SettingsDialog* dialog = window.settingsDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_EQ(dialog->effectsSlider()->value(), 100);
    EXPECT_TRUE(dialog->pauseBox()->isChecked());
    dialog->effectsSlider()->setValue(50);
    EXPECT_EQ(sound.calls.last(), QStringLiteral("volumes:64:128"));
    dialog->musicSlider()->setValue(25);
    EXPECT_EQ(sound.calls.last(), QStringLiteral("volumes:64:32"));
    dialog->muteBox()->setChecked(true);
    EXPECT_EQ(sound.calls.last(), QStringLiteral("volumes:0:0"));
    EXPECT_TRUE(window.muteAction()->isChecked());
    dialog->pauseBox()->setChecked(false);
    EXPECT_FALSE(game.pause().whenInactive());
    QTest::mouseClick(window.pzeb(), Qt::LeftButton);
    QTest::mouseClick(dialog->stopMusicButton(), Qt::LeftButton);
    EXPECT_EQ(sound.calls.last(), QStringLiteral("midi:"));
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(path));

    RecordingSound nextSound;
    HitujiGame next(random, nextSound, dir.path() + u'/');
    Hituji nextWindow(next);
    common::SettingsStore again(path);
    nextWindow.useSettings(&again);
    EXPECT_TRUE(next.levels().muted());
    EXPECT_EQ(next.levels().effectsPercent(), 50);
    EXPECT_EQ(next.levels().musicPercent(), 25);
    EXPECT_FALSE(next.pause().whenInactive());
    EXPECT_EQ(nextWindow.zoom()->zoom(), 2);
    EXPECT_EQ(nextSound.calls.last(), QStringLiteral("volumes:0:0"));
}

// A name in the table is one line of text whatever it holds: random names
// of letters, line breaks, tabs, control characters and surrogates, whole
// pairs and lone halves, checked one UTF-16 unit at a time.
TEST(BestGamesDialogNames, everyNameShowsAsOneLineWithEachCharacterInPlace) {
    const char16_t pool[] = {u'a', u'羊', u'\n', u'\r', u'\t', 0x01, 0x1F, 0x7F, 0x80, 0xD83D, 0xDC11, 0xFFFD};
    std::mt19937 engine(12);
    for (int trial = 0; trial < 20000; ++trial) {
        QString name;
        const int length = std::uniform_int_distribution<int>(0, 8)(engine);
        for (int i = 0; i < length; ++i) name += QChar(pool[engine() % std::size(pool)]);
        QString expected;
        for (qsizetype i = 0; i < name.size(); ++i) {
            const char16_t c = name[i].unicode();
            const bool pair = QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate();
            if (pair) {
                expected += name.mid(i++, 2);
            } else if (c == u'\n' || c == u'\r' || c == u'\t') {
                expected += u' ';
            } else if (c < 0x20 || c == 0x7F || QChar::isSurrogate(c)) {
                expected += QChar(QChar::ReplacementCharacter);
            } else {
                expected += QChar(c);
            }
        }
        ASSERT_EQ(BestGamesDialog::shownName(name), expected) << "trial " << trial;
    }
}

// Names made of markup show as typed in the table and its tooltips.
TEST(BestGamesDialogNames, markupInANameShowsAsTyped) {
    const QStringList names{"<b>羊</b>", "<script>x</script>", "&amp;", "a<br>b"};
    QList<scores::BestGame> table;
    for (int i = 0; i < names.size(); ++i)
        table << scores::BestGame{900 - i, QDateTime(QDate(2026, 12, 8), QTime(12, i)), names[i]};
    BestGamesDialog dialog;
    dialog.showTable(table, table.first());
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(dialog.table()->item(i, 2)->text(), names[i]);
        EXPECT_GE(common::testing::expectShownAsTyped(&dialog, names[i]), 1) << "the name's tooltip";
    }
}

// "音楽を止める" is offered by the settings in exactly the states in which
// the menu offers it, whichever of the two stops the tune and whenever the
// dialog is opened; where it is grey a click sends nothing.
TEST_F(WindowExtrasTest, theSettingsOfferToStopTheMusicExactlyWhenTheMenuDoes) {
    showActive();
    leaveTitle();
    const auto banner = [&] { QTest::mouseClick(window.pzeb(), Qt::LeftButton); };
    const auto fromDialog = [&] { QTest::mouseClick(window.settingsDialog()->stopMusicButton(), Qt::LeftButton); };
    const auto fromMenu = [&] { window.stopMusicAction()->trigger(); };
    const auto reopen = [&] {
        window.settingsDialog()->close();
        window.settingsAction()->trigger();
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        bool offered;
        const char* lastCall;
    };
    const Step steps[] = {
        {"before any tune", [] {}, false, nullptr},
        {"a grey button clicked", fromDialog, false, nullptr},
        {"the banner starts the tune", banner, true, "midi:"},
        {"the dialog opened again", reopen, true, nullptr},
        {"stopped from the dialog", fromDialog, false, "midi:"},
        {"the banner again", banner, true, "midi:"},
        {"stopped from the menu", fromMenu, false, "midi:"},
        {"the dialog opened again", reopen, false, nullptr},
        {"the banner once more", banner, true, "midi:"},
    };
    window.settingsAction()->trigger();
    ASSERT_TRUE(window.settingsDialog());
    for (const Step& step : steps) {
        const qsizetype calls = sound.calls.size();
        step.act();
        EXPECT_EQ(window.stopMusicAction()->isEnabled(), step.offered) << step.what;
        EXPECT_EQ(window.settingsDialog()->stopMusicButton()->isEnabled(), step.offered) << step.what;
        EXPECT_EQ(game.canStopMusic(), step.offered) << step.what;
        if (step.lastCall) {
            ASSERT_GT(sound.calls.size(), calls) << step.what;
            EXPECT_TRUE(sound.calls.last().startsWith(QLatin1String(step.lastCall))) << step.what;
        } else {
            EXPECT_EQ(sound.calls.size(), calls) << step.what << ": nothing sent";
        }
    }
}

TEST_F(WindowExtrasTest, aBrokenSettingsFileMeansTheDesignAndNoMessage) {
    const QString path = dir.filePath(QStringLiteral("fleeceslot.conf"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const char junk[] = "\x00\xff\xfe binary [[[ junk";
    f.write(junk, sizeof junk - 1);
    f.close();
    common::SettingsStore store(path);
    window.useSettings(&store);
    EXPECT_EQ(window.settings(), GameSettings{});
    EXPECT_TRUE(sound.calls.isEmpty());
    EXPECT_EQ(window.zoom()->zoom(), 1);
    EXPECT_TRUE(errors.isEmpty());
}

// On a screen of 1600 x 900 the game stops at 3x (4x is 1,696 pixels wide),
// and a remembered 4x starts at 3x.
TEST_F(WindowExtrasTest, theZoomStopsAtWhatFitsA1600By900Screen) {
    QScreen* small = smallScreen();
    ASSERT_TRUE(small);
    if (small->devicePixelRatio() != 1) GTEST_SKIP();
    window.move(small->availableGeometry().topLeft() + QPoint(400, 300));
    showActive();
    for (int i = 0; i < 4; ++i) QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(window.zoom()->zoom(), 3);
    EXPECT_EQ(window.size(), QSize(424, 164) * 3);
    EXPECT_TRUE(small->availableGeometry().contains(window.frameGeometry()));
    EXPECT_FALSE(window.zoom()->zoomInAction()->isEnabled());

    const QString path = dir.filePath(QStringLiteral("zoom.conf"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[window]\nzoom=4\n");
    }
    HitujiGame next(random, sound, dir.path() + u'/');
    Hituji nextWindow(next);
    nextWindow.move(small->availableGeometry().topLeft());
    common::SettingsStore store(path);
    nextWindow.useSettings(&store);
    EXPECT_EQ(nextWindow.zoom()->zoom(), 3);
    EXPECT_EQ(nextWindow.settings().zoom, 4) << "remembered for a larger screen";
}

}  // namespace
