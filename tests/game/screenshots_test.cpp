// Pictures of the game's pause, menu, settings and best games for the
// documentation: with FLEECESLOT_SCREENSHOTS=folder they are saved there
// (run once per QT_SCALE_FACTOR: names get "@2x" at 2); skipped otherwise.
#include "game/services/best_games.h"
#include "game/ui/best_games_dialog.h"
#include "game/ui/hituji_window.h"
#include "game/ui/settings_dialog.h"
#include "fakes.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

void screenshot(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("FLEECESLOT_SCREENSHOTS");
    if (folder.isEmpty()) return;
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1");
    image.save(folder + u'/' + name + (scale == u"1" ? QString() : u'@' + scale + u'x') + QStringLiteral(".png"));
}

TEST(Screenshots, ofThePausedFieldTheMenuTheSettingsAndTheBestGames) {
    if (qEnvironmentVariableIsEmpty("FLEECESLOT_SCREENSHOTS")) GTEST_SKIP() << "FLEECESLOT_SCREENSHOTS not set";
    installGameFonts();
    QTemporaryDir dir;
    ClockSeededRandom random{20261208};
    RecordingSound sound;
    HitujiGame game{random, sound, dir.path() + u'/'};
    Hituji window{game};
    ASSERT_TRUE(window.Form_Load());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.pgamen(), Qt::Key_Return);
    window.timer(2)->setInterval(5);
    QTest::mouseClick(window.command(3), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(game.state.SheepX[1] < 110, 5000);
    QTest::keyClick(&window, Qt::Key_P);
    QTest::keyClick(&window, Qt::Key_M);
    QTest::qWait(250);  // the banner's sheep walks on during the pause
    screenshot(window.grab().toImage(), QStringLiteral("fleeceslot-paused"));

    // The menu, opened beside the field, drawn over the window where it stands.
    const QPoint at = window.label(4)->mapToGlobal(QPoint(10, 6));
    window.openContextMenu(at);
    QMenu* menu = window.contextMenu();
    QTRY_VERIFY(menu->isVisible());
    const QImage base = window.grab().toImage();
    const qreal ratio = base.devicePixelRatio();
    const QPoint offset = menu->geometry().topLeft() - window.mapToGlobal(QPoint(0, 0));
    const QPoint corner = offset + QPoint(menu->width(), menu->height());
    QImage withMenu(base.size().expandedTo(QSize(qCeil(corner.x() * ratio), qCeil(corner.y() * ratio))),
                    QImage::Format_RGB32);
    withMenu.fill(QColor(0xE8, 0xE8, 0xE8));
    withMenu.setDevicePixelRatio(ratio);
    {
        QPainter painter(&withMenu);
        painter.drawImage(QPoint(0, 0), base);
        painter.drawImage(offset, menu->grab().toImage());
    }
    screenshot(withMenu, QStringLiteral("fleeceslot-menu"));
    menu->hide();

    window.showSettings();
    window.settingsDialog()->effectsSlider()->setValue(70);
    screenshot(window.settingsDialog()->grab().toImage(), QStringLiteral("fleeceslot-settings"));
    window.settingsDialog()->close();

    QList<scores::BestGame> table;
    const char16_t* names[] = {u"メリー", u"Mary Shepherd", u"ひつじ飼い", u"羊毛王", u"Dolly", u"もこもこ"};
    int grams = 1062;
    for (const char16_t* name : names) {
        table.append({grams, QDateTime(QDate(2026, 12, 1 + (grams % 7)), QTime(10 + grams % 9, grams % 60)),
                      QString::fromUtf16(name)});
        grams -= 37;
    }
    window.showBestGames();
    window.bestGamesDialog()->showTable(table, table[2]);
    screenshot(window.bestGamesDialog()->grab().toImage(), QStringLiteral("fleeceslot-best-games"));
}

}  // namespace
