#pragma once

#include "common/ui/zoom_layout.h"
#include "game/services/game_settings.h"
#include "game/ui/surface_view.h"
#include "game/core/hituji_game.h"

#include <QRect>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class BestGamesDialog;
class HelpDialog;
class PlayerNameDialog;
class SettingsDialog;

namespace common {
class SettingsStore;
class WindowZoom;
}

// The game window "Woolmere": lays out the controls, forwards every event to
// the handler of the same name in HitujiGame, then shows the control values
// and the surfaces the handler left.
//
// Beyond the mouse: the title takes Enter and Space like a click, and until
// it is gone nothing behind it can act; the buttons work from the keyboard,
// the focus moving on when a handler disables the button that has it;
// Ctrl+Q closes the window as its close box does; the window zooms by whole
// factors and goes full screen (F11). Shearing stays a mouse game.
//
// Besides its buttons and the field, without changing the window: P pauses a
// roll or a round (also by itself when the window is left), M mutes,
// Ctrl+H shows the best games, F1 the rules; a right click anywhere but the
// field, the Menu key and Shift+F10 open a context menu with all of these,
// the settings and the zoom. A game among the player's ten best asks for a
// name when it ends.
class Hituji : public QWidget {
    Q_OBJECT
public:
    // The window shows `game`, which must outlive it. File errors are shown
    // in a message box unless setErrorReporter() replaces it.
    explicit Hituji(HitujiGame& game, QWidget* parent = nullptr);

    // Runs start-up. Returns false when the game cannot start; the reason has
    // been reported.
    bool Form_Load();

    void setErrorReporter(std::function<void(const QString&)> reporter) { m_reportError = std::move(reporter); }

    // Reads the settings from `store` (which must outlive the window) and
    // applies them: pausing when the window is left, mute, the volumes and
    // the zoom (capped to the screen the window opens on); later changes are
    // kept there. Without a store everything starts as designed and nothing
    // is kept.
    void useSettings(common::SettingsStore* store);
    const GameSettings& settings() const { return m_settings; }
    // The name offered the first time a game enters the best games (the
    // system account's).
    void setAccountName(const QString& name) { m_accountName = name; }

    // The context menu, opened at `globalPos` (it does not wait for a choice).
    void openContextMenu(QPoint globalPos);
    void showSettings();
    void showBestGames();
    void showHelp();

    HitujiGame& game() { return m_game; }
    QPushButton* command(int n) const { return m_commands.at(n - 1); }
    QRadioButton* option(int n) const { return m_options.at(n - 1); }
    QLabel* label(int n) const { return m_labels.at(n - 1); }
    SurfaceView* pmain() const { return m_pmain; }
    SurfaceView* pzeb() const { return m_pzeb; }
    SurfaceView* pgamen() const { return m_pgamen; }
    QWidget* pChange() const { return m_pChange; }
    QWidget* content() const { return m_content; }
    QTimer* timer(int n) const { return m_timers.at(n - 1); }
    common::WindowZoom* zoom() const { return m_zoom; }
    QMenu* contextMenu() const { return m_menu; }
    QAction* pauseAction() const { return m_pauseAction; }
    QAction* muteAction() const { return m_muteAction; }
    QAction* stopMusicAction() const { return m_stopMusicAction; }
    QAction* settingsAction() const { return m_settingsAction; }
    QAction* bestGamesAction() const { return m_bestGamesAction; }
    QAction* helpAction() const { return m_helpAction; }
    QAction* quitAction() const { return m_quitAction; }
    // The dialogs, once opened (null before).
    SettingsDialog* settingsDialog() const { return m_settingsDialog; }
    BestGamesDialog* bestGamesDialog() const { return m_bestGamesDialog; }
    HelpDialog* helpDialog() const { return m_helpDialog; }
    PlayerNameDialog* nameDialog() const { return m_nameDialog; }

signals:
    // After each roll tick, for tools that measure the roll's cadence.
    void timer1Ticked();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void build();
    void buildTimers();
    void buildMenu();
    void applyZoom(int zoom);
    void syncPlayTimer(int index, bool on);
    void syncExtras();
    void askForName();
    void enterBestGame(const QString& name);
    void changeSettings(const std::function<void(GameSettings&)>& change);
    // Says a problem that does not stop the game: in the banner's tooltip,
    // and at once over the banner.
    void showProblem(const QString& line);
    // Runs a handler and then shows what it changed.
    void handle(const std::function<void()>& handler);
    void sync();
    void syncTitle();


    HitujiGame& m_game;
    std::function<void(const QString&)> m_reportError;
    bool m_closed = false;
    QString m_bannerTip;     // the banner's own tooltip
    QStringList m_problems;  // said by showProblem()

    QWidget* m_content = nullptr;
    std::array<QPushButton*, 4> m_commands{};
    std::array<QRadioButton*, 4> m_options{};
    std::array<bool, 4> m_optionPressed{};  // a press on the button is under way
    std::array<QLabel*, 5> m_labels{};
    SurfaceView* m_pmain = nullptr;
    SurfaceView* m_pzeb = nullptr;
    SurfaceView* m_pgamen = nullptr;
    QWidget* m_pChange = nullptr;
    std::array<QTimer*, 4> m_timers{};
    QTimer* m_bgmCheck = nullptr;
    common::WindowZoom* m_zoom = nullptr;
    common::ZoomLayout m_layout;
    int m_zoomFactor = 1;
    bool m_titleShown = true;

    // A pause holds the play timers (Timer1, Timer2) with what was left of
    // their interval, so that going on keeps their beat.
    std::array<int, 2> m_heldRemaining{-1, -1};
    std::array<int, 2> m_normalInterval{0, 0};  // to restore after the first tick
    bool m_wasActive = false;

    QMenu* m_menu = nullptr;
    QAction* m_pauseAction = nullptr;
    QAction* m_muteAction = nullptr;
    QAction* m_stopMusicAction = nullptr;
    QAction* m_settingsAction = nullptr;
    QAction* m_bestGamesAction = nullptr;
    QAction* m_helpAction = nullptr;
    QAction* m_quitAction = nullptr;
    SettingsDialog* m_settingsDialog = nullptr;
    BestGamesDialog* m_bestGamesDialog = nullptr;
    HelpDialog* m_helpDialog = nullptr;
    PlayerNameDialog* m_nameDialog = nullptr;

    common::SettingsStore* m_store = nullptr;
    GameSettings m_settings;
    bool m_applyingSettings = false;
    QString m_accountName;
};

// Font substitutions for the named Japanese fonts; call once before any
// window is built.
void installGameFonts();
