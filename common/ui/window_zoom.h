#pragma once

#include <QObject>
#include <QSize>
#include <functional>

class QAction;
class QStyle;
class QWidget;

namespace common {

// Whole-number zoom and full screen for a window of fixed design size. The
// window's `content` (a widget of the design size times the zoom) sits in
// `holder` (the window itself, or its central widget): in a window the
// holder is exactly the content's size; full screen, the content takes the
// largest whole zoom that fits and stands centred on the holder's plain
// background.
//
// Keys: Ctrl+Plus (and Ctrl+=) and Ctrl+Minus step the zoom from 1 to 4,
// Ctrl+0 returns to 1, F11 toggles full screen, Escape leaves it. The zoom
// is not stored here: a window that remembers it passes it to setZoom().
//
// A zoom never makes the window larger than the available area of its
// screen (the screen it is on, or before it is shown the screen it will
// open on): zoom steps and setZoom() stop at the largest whole zoom that
// fits, and a zoom keeps the window's centre where it was, moved only as
// far as needed to keep the window on the screen.
class WindowZoom : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxZoom = 4;

    // `apply` lays the content out at a zoom (geometry, fonts and pictures
    // times the zoom) and gives it that size.
    WindowZoom(QWidget* window, QWidget* holder, QWidget* content, QSize designSize,
               std::function<void(int zoom)> apply);

    int zoom() const { return m_zoom; }
    // The zoom chosen for the window, kept while full screen shows another.
    int windowZoom() const { return m_windowZoom; }
    bool fullScreen() const { return m_fullScreen; }
    // The largest whole zoom (1 to MaxZoom) at which the window, its frame
    // included, fits the available area of its screen; 1 when none does.
    int largestFittingZoom() const;
    // Shows the window at `zoom`, capped to 1 to largestFittingZoom().
    void setZoom(int zoom);
    void zoomIn() { setZoom(m_windowZoom + 1); }
    void zoomOut() { setZoom(m_windowZoom - 1); }
    void resetZoom() { setZoom(1); }
    void toggleFullScreen();
    void leaveFullScreen();

    // The actions, with their keys, for a menu (they act anywhere in the
    // window, in a menu or not).
    QAction* zoomInAction() const { return m_zoomIn; }
    QAction* zoomOutAction() const { return m_zoomOut; }
    QAction* resetAction() const { return m_reset; }
    QAction* fullScreenAction() const { return m_full; }

signals:
    void zoomChanged(int zoom);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(int zoom);
    void restyle(int zoom);
    void fitWindow();
    void centre();
    void keepOnScreen(const QRect& frameBefore, const QSize& frameMargins);
    QSizeF extraPerZoom() const;
    void updateActions();

    QWidget* m_window;
    QWidget* m_holder;
    QWidget* m_content;
    QSize m_design;
    std::function<void(int)> m_apply;
    int m_zoom = 1;        // shown now
    int m_windowZoom = 1;  // chosen for the window (kept through full screen)
    bool m_fullScreen = false;
    // What the window adds to its content per step of zoom (a menu bar that
    // grows with the zoom), measured whenever the window fits its content.
    QSizeF m_extraPerZoom;
    QAction* m_zoomIn = nullptr;
    QAction* m_zoomOut = nullptr;
    QAction* m_reset = nullptr;
    QAction* m_full = nullptr;
    QAction* m_leave = nullptr;
    QStyle* m_style = nullptr;  // the window's style at the zoom shown
};

}  // namespace common
