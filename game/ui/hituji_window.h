#pragma once

#include "common/ui/zoom_layout.h"
#include "game/ui/surface_view.h"
#include "game/window/hituji_game.h"

#include <QRect>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace common {
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

signals:
    // After each roll tick, for tools that measure the roll's cadence.
    void timer1Ticked();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void buildTimers();
    void applyZoom(int zoom);
    // Runs a handler and then shows what it changed.
    void handle(const std::function<void()>& handler);
    void sync();
    void syncTitle();


    HitujiGame& m_game;
    std::function<void(const QString&)> m_reportError;
    bool m_closed = false;

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
};

// Font substitutions for the named Japanese fonts; call once before any
// window is built.
void installGameFonts();
