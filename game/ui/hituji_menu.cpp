// The game window's comforts around the play field: the context menu with its
// keys, pause and mute shown on the field and the banner, the settings, the
// best games and the rules.
#include "common/settings.h"
#include "common/ui/window_zoom.h"
#include "game/ui/best_games_dialog.h"
#include "game/ui/help_dialog.h"
#include "game/ui/hituji_window.h"
#include "game/ui/settings_dialog.h"

#include "game/services/player_name.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QMenu>
#include <QMessageBox>
#include <QToolTip>
#include <QShortcut>

namespace {

// The mute mark on the banner: a loudspeaker, crossed out. Our own pixel
// art, one character a pixel: K black, R red, . clear.
const char* const kMuteMark[] = {
    "....K......R",
    "...KK.....RR",
    "..KKK....RR.",
    "KKKKK...RR..",
    "KKKKK..RR...",
    "KKKKK.RR....",
    "KKKKKRR.....",
    "KKKKRR......",
    "..KRR.......",
    "..RRK.......",
    ".RR.K.......",
    "RR..........",
};
// Left of the banner's text, right of the walking sheep (10 to 30).
constexpr QPoint kMuteMarkAt(36, 14);

QImage muteMark() {
    const int size = int(std::size(kMuteMark));
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const char c = kMuteMark[y][x];
            image.setPixel(x, y, c == 'K' ? qRgb(0, 0, 0) : c == 'R' ? qRgb(0xD0, 0, 0) : qRgba(0, 0, 0, 0));
        }
    return image;
}

}  // namespace

void Hituji::buildMenu() {
    const auto action = [this](const QString& text, QKeySequence key, auto slot) {
        auto* a = new QAction(text, this);
        if (!key.isEmpty()) a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    m_pauseAction = action(QStringLiteral("一時停止"), QKeySequence(Qt::Key_P),
                           [this] { handle([this] { m_game.Pause_Click(); }); });
    m_pauseAction->setCheckable(true);
    m_muteAction = action(QStringLiteral("音を消す"), QKeySequence(Qt::Key_M), [this] {
        handle([this] { m_game.Mute_Click(); });
        changeSettings([this](GameSettings& s) { s.muted = m_game.levels().muted(); });
    });
    m_muteAction->setCheckable(true);
    m_stopMusicAction = action(QStringLiteral("音楽を止める"), {}, [this] { handle([this] { m_game.StopMusic_Click(); }); });
    m_settingsAction = action(QStringLiteral("設定..."), {}, &Hituji::showSettings);
    m_bestGamesAction = action(QStringLiteral("ベストゲーム"), QKeySequence(Qt::CTRL | Qt::Key_H), &Hituji::showBestGames);
    m_helpAction = action(QStringLiteral("遊び方"), QKeySequence(Qt::Key_F1), &Hituji::showHelp);
    // Closing from the keyboard, exactly as the close box does.
    m_quitAction = action(QStringLiteral("終了"), QKeySequence(Qt::CTRL | Qt::Key_Q), &QWidget::close);
    m_zoom->fullScreenAction()->setText(QStringLiteral("全画面"));

    m_menu = new QMenu(this);
    m_layout.setFont(m_menu, QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    m_menu->addAction(m_pauseAction);
    m_menu->addAction(m_muteAction);
    m_menu->addAction(m_stopMusicAction);
    m_menu->addAction(m_settingsAction);
    m_menu->addSeparator();
    m_menu->addAction(m_bestGamesAction);
    m_menu->addSeparator();
    m_menu->addAction(m_zoom->zoomInAction());
    m_menu->addAction(m_zoom->zoomOutAction());
    m_menu->addAction(m_zoom->resetAction());
    m_menu->addAction(m_zoom->fullScreenAction());
    m_menu->addSeparator();
    m_menu->addAction(m_helpAction);
    m_menu->addAction(m_quitAction);

    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window() != this) focus = this;
        openContextMenu(focus->mapToGlobal(focus->rect().center()));
    });
    // The zoom the player chooses is kept; the one full screen shows is not.
    connect(m_zoom, &common::WindowZoom::zoomChanged, this, [this] {
        if (!m_zoom->fullScreen()) changeSettings([this](GameSettings& s) { s.zoom = m_zoom->windowZoom(); });
    });
}

void Hituji::openContextMenu(QPoint globalPos) {
    if (m_closed) return;
    syncExtras();
    m_menu->popup(globalPos);
}

void Hituji::contextMenuEvent(QContextMenuEvent* event) {
    // The field takes the mouse's right button for shearing (it stops the
    // event); anywhere else, and from the keyboard, the menu opens.
    openContextMenu(event->globalPos());
    event->accept();
}

void Hituji::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        // Only the change from active to inactive pauses: a window that was
        // never active (no window manager) plays as designed.
        const bool active = isActiveWindow();
        if (m_wasActive && !active) handle([this] { m_game.Form_Deactivate(); });
        m_wasActive = active;
    } else if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        handle([this] { m_game.Form_Deactivate(); });
    }
}

void Hituji::syncExtras() {
    const bool paused = m_game.pause().paused();
    m_pmain->setVeil(paused ? QStringLiteral("一時停止") : QString());
    m_pmain->setAccessibleDescription(paused ? QStringLiteral("一時停止中。P キーかクリックで続きます") : QString());
    const bool muted = m_game.levels().muted();
    m_pzeb->setBadge(muted ? muteMark() : QImage(), kMuteMarkAt);
    m_pzeb->setAccessibleDescription(muted ? QStringLiteral("音を消しています（M で戻ります）")
                                           : QStringLiteral("音が出ます（M で消せます）"));
    if (m_pauseAction) {
        m_pauseAction->setEnabled(m_game.canPause());
        m_pauseAction->setChecked(paused);
        m_muteAction->setChecked(muted);
        m_stopMusicAction->setEnabled(m_game.canStopMusic());
    }
    if (m_settingsDialog) m_settingsDialog->setStopMusicEnabled(m_game.canStopMusic());
    // A game that entered the best games asks for its name once the
    // handler that ended it has returned.
    if (m_game.bestGames().pending() && !m_nameDialog && !m_closed) {
        QMetaObject::invokeMethod(this, &Hituji::askForName, Qt::QueuedConnection);
    }
}

void Hituji::askForName() {
    if (!m_game.bestGames().pending() || m_nameDialog || m_closed) return;
    const QString offered = m_settings.playerName.isEmpty() ? m_accountName : m_settings.playerName;
    m_nameDialog = new PlayerNameDialog(*m_game.bestGames().pending(), offered, this);
    m_nameDialog->setWindowModality(Qt::WindowModal);
    m_nameDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_nameDialog, &QDialog::finished, this, [this](int result) {
        const QString name = m_nameDialog->name();
        const QString offered = m_nameDialog->offeredName();
        const bool declined = m_nameDialog->declined();
        m_nameDialog = nullptr;
        if (m_closed) return;
        if (result == QDialog::Accepted) {
            enterBestGame(name);
        } else if (declined) {
            m_game.BestGame_Skip();
        } else {
            // Closed without "記録しない": the game is kept all the same.
            enterBestGame(scores::nameToKeep(name, offered));
        }
    });
    m_nameDialog->open();
}

void Hituji::enterBestGame(const QString& name) {
    const savefiles::FileResult entered = m_game.BestGame_Enter(name, QDateTime::currentDateTime());
    changeSettings([&name](GameSettings& s) { s.playerName = name; });
    if (!entered.ok) m_reportError(entered.error);
    showBestGames();
}

void Hituji::showBestGames() {
    if (!m_bestGamesDialog) m_bestGamesDialog = new BestGamesDialog(this);
    m_bestGamesDialog->showTable(m_game.bestGames().table(), m_game.bestGames().newest());
    m_bestGamesDialog->show();
    m_bestGamesDialog->raise();
    m_bestGamesDialog->activateWindow();
}

void Hituji::showHelp() {
    if (!m_helpDialog) m_helpDialog = new HelpDialog(this);
    m_helpDialog->show();
    m_helpDialog->raise();
    m_helpDialog->activateWindow();
}

void Hituji::showSettings() {
    if (!m_settingsDialog) {
        m_settingsDialog = new SettingsDialog(this);
        SettingsDialog* d = m_settingsDialog;
        connect(d, &SettingsDialog::mutedChanged, this, [this](bool muted) {
            handle([this, muted] { m_game.levels().setMuted(muted); });
            changeSettings([muted](GameSettings& s) { s.muted = muted; });
        });
        connect(d, &SettingsDialog::effectsVolumeChanged, this, [this](int percent) {
            m_game.levels().setEffectsPercent(percent);
            changeSettings([percent](GameSettings& s) { s.effectsVolume = percent; });
        });
        connect(d, &SettingsDialog::musicVolumeChanged, this, [this](int percent) {
            m_game.levels().setMusicPercent(percent);
            changeSettings([percent](GameSettings& s) { s.musicVolume = percent; });
        });
        connect(d, &SettingsDialog::stopMusicClicked, this, [this] { handle([this] { m_game.StopMusic_Click(); }); });
        connect(d, &SettingsDialog::pauseWhenInactiveChanged, this, [this](bool on) {
            m_game.setPauseWhenInactive(on);
            changeSettings([on](GameSettings& s) { s.pauseWhenInactive = on; });
        });
    }
    const SoundLevels& levels = m_game.levels();
    m_settingsDialog->showValues(levels.muted(), levels.effectsPercent(), levels.musicPercent(), m_game.pause().whenInactive());
    m_settingsDialog->setStopMusicEnabled(m_game.canStopMusic());
    m_settingsDialog->show();
    m_settingsDialog->raise();
    m_settingsDialog->activateWindow();
}

void Hituji::useSettings(common::SettingsStore* store) {
    m_store = store;
    m_settings = store ? GameSettings::load(*store) : GameSettings{};
    m_applyingSettings = true;
    m_game.setPauseWhenInactive(m_settings.pauseWhenInactive);
    SoundLevels& levels = m_game.levels();
    levels.setEffectsPercent(m_settings.effectsVolume);
    levels.setMusicPercent(m_settings.musicVolume);
    levels.setMuted(m_settings.muted);
    // Capped to the screen the window opens on; the remembered zoom stays
    // as it was for a larger screen another time.
    m_zoom->setZoom(m_settings.zoom);
    m_applyingSettings = false;
    sync();
}

void Hituji::changeSettings(const std::function<void(GameSettings&)>& change) {
    if (m_applyingSettings) return;
    change(m_settings);
    if (!m_store) return;
    m_store->allowReplacing();
    m_settings.storeIn(*m_store);
    const common::SettingsStore::SaveResult saved = m_store->save();
    if (saved.ok()) return;
    // A file that cannot be written is said once (its reason is on stderr
    // too); the game goes on with the settings it holds.
    if (saved.status == common::SettingsStore::SaveResult::Status::Failed)
        showProblem(QStringLiteral("設定を保存できませんでした：%1：%2").arg(m_store->path(), saved.error.japaneseReason()));
    m_store = nullptr;
}

void Hituji::showProblem(const QString& line) {
    m_problems << line;
    // The banner's tooltip keeps every problem of this run; the line shows
    // at once over the banner as well.
    m_pzeb->setToolTip(m_bannerTip + QStringLiteral("\n\n") + m_problems.join(u'\n'));
    if (isVisible()) QToolTip::showText(m_pzeb->mapToGlobal(QPoint(0, 0)), line, m_pzeb, QRect(), 10000);
}
