#include "common/ui/window_zoom.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QProxyStyle>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace common {
namespace {

// The application's style with its sizes times the zoom: the marks of the
// option buttons, scroll bars, frames and margins grow with the window, as
// if the screen's scale had changed.
class ZoomStyle : public QProxyStyle {
public:
    explicit ZoomStyle(int zoom) : QProxyStyle(QApplication::style()->name()), m_zoom(zoom) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ScrollBarExtent:
        case PM_ScrollBarSliderMin:
        case PM_DefaultFrameWidth:
        case PM_ButtonMargin:
        case PM_ButtonDefaultIndicator:
        case PM_MenuBarItemSpacing:
        case PM_MenuBarPanelWidth:
        case PM_MenuBarHMargin:
        case PM_MenuBarVMargin:
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuPanelWidth:
        case PM_SmallIconSize:
        case PM_RadioButtonLabelSpacing:
        case PM_CheckBoxLabelSpacing:
        case PM_FocusFrameHMargin:
        case PM_FocusFrameVMargin: return base * m_zoom;
        default: return base;
        }
    }

private:
    int m_zoom;
};

}  // namespace

WindowZoom::WindowZoom(QWidget* window, QWidget* holder, QWidget* content, QSize designSize,
                       std::function<void(int)> apply)
    : QObject(window), m_window(window), m_holder(holder), m_content(content), m_design(designSize),
      m_apply(std::move(apply)) {
    const auto action = [this](const QString& text, QList<QKeySequence> keys, auto slot) {
        auto* a = new QAction(text, m_window);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        m_window->addAction(a);
        return a;
    };
    // Ctrl+Plus typed with Shift matches "Ctrl++" as well: a Shift variant
    // of its own would make the shortcut ambiguous, and then nothing happens.
    m_zoomIn = action(QStringLiteral("拡大"),
                      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
                       QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus)},
                      &WindowZoom::zoomIn);
    m_zoomOut = action(QStringLiteral("縮小"),
                       {QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Minus)},
                       &WindowZoom::zoomOut);
    m_reset = action(QStringLiteral("標準の大きさ"),
                     {QKeySequence(Qt::CTRL | Qt::Key_0), QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_0)},
                     &WindowZoom::resetZoom);
    m_full = action(QStringLiteral("全画面表示"), {QKeySequence(Qt::Key_F11)}, &WindowZoom::toggleFullScreen);
    m_full->setCheckable(true);
    m_leave = action(QStringLiteral("全画面表示をやめる"), {QKeySequence(Qt::Key_Escape)}, &WindowZoom::leaveFullScreen);
    m_leave->setEnabled(false);
    m_holder->installEventFilter(this);
    if (m_window != m_holder) m_window->installEventFilter(this);
    show(1);
    fitWindow();
    updateActions();
}

int WindowZoom::largestFittingZoom() const {
    // QWidget::screen() is the screen the window is on, or, before it is
    // shown, the one it will open on.
    const QScreen* screen = m_window->screen();
    if (!screen) return MaxZoom;
    const QSize room = screen->availableGeometry().size();
    // The frame the window manager draws keeps its size at every zoom; it
    // is known once the window is shown (nothing before).
    const QSize frame = m_fullScreen ? QSize(0, 0) : m_window->frameGeometry().size() - m_window->size();
    const QSizeF extra = extraPerZoom();
    for (int zoom = MaxZoom; zoom > 1; --zoom) {
        const QSizeF window = QSizeF(m_design * zoom) + extra * zoom + QSizeF(frame);
        if (std::ceil(window.width()) <= room.width() && std::ceil(window.height()) <= room.height()) return zoom;
    }
    return 1;
}

void WindowZoom::setZoom(int zoom) {
    zoom = std::clamp(zoom, 1, largestFittingZoom());
    m_windowZoom = zoom;
    updateActions();
    if (m_fullScreen) return;  // takes effect when full screen ends
    const QRect before = m_window->frameGeometry();
    const QSize margins = before.size() - m_window->size();
    show(zoom);
    fitWindow();
    keepOnScreen(before, margins);
}

void WindowZoom::updateActions() {
    m_zoomIn->setEnabled(m_windowZoom < largestFittingZoom());
    m_zoomOut->setEnabled(m_windowZoom > 1);
}

void WindowZoom::keepOnScreen(const QRect& frameBefore, const QSize& frameMargins) {
    // A window not yet shown is placed by the window manager.
    if (!m_window->isVisible() || m_window->isFullScreen() || m_window->isMaximized()) return;
    const QScreen* screen = m_window->screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const QSize size = m_window->size() + frameMargins;
    // The same centre, then only as far back as the screen's edges need.
    QPoint topLeft = frameBefore.center() - QPoint((size.width() - 1) / 2, (size.height() - 1) / 2);
    topLeft.setX(std::max(room.left(), std::min(topLeft.x(), room.right() + 1 - size.width())));
    topLeft.setY(std::max(room.top(), std::min(topLeft.y(), room.bottom() + 1 - size.height())));
    if (topLeft != m_window->frameGeometry().topLeft()) m_window->move(topLeft);
}

QSizeF WindowZoom::extraPerZoom() const {
    if (m_fullScreen || m_window == m_holder) return m_extraPerZoom;
    // Measured now: a menu bar added since the last zoom counts too.
    QSize window = m_window->sizeHint();
    if (!window.isValid()) window = m_window->size();
    return QSizeF(window - m_holder->size()) / m_zoom;
}

void WindowZoom::restyle(int zoom) {
    if (zoom == 1 && !m_style) return;
    QStyle* previous = m_style;
    m_style = zoom == 1 ? nullptr : new ZoomStyle(zoom);
    // Owned by the application, so that it outlives every widget using it,
    // also while the window is being destroyed.
    if (m_style) m_style->setParent(QCoreApplication::instance());
    QList<QWidget*> widgets = m_window->findChildren<QWidget*>();
    widgets.prepend(m_window);
    for (QWidget* w : widgets) w->setStyle(m_style ? m_style : QApplication::style());
    delete previous;
}

void WindowZoom::show(int zoom) {
    const bool changed = zoom != m_zoom;
    m_zoom = zoom;
    if (changed) restyle(zoom);
    m_apply(zoom);
    centre();
    if (changed) emit zoomChanged(zoom);
}

void WindowZoom::fitWindow() {
    // The window is exactly as large as its zoomed content.
    m_holder->setFixedSize(m_content->size());
    if (m_window != m_holder) {
        if (QLayout* layout = m_window->layout()) layout->setSizeConstraint(QLayout::SetFixedSize);
        m_window->adjustSize();
    }
    m_extraPerZoom = QSizeF(m_window->size() - m_holder->size()) / m_zoom;
}

void WindowZoom::centre() {
    m_content->move((m_holder->width() - m_content->width()) / 2, (m_holder->height() - m_content->height()) / 2);
}

void WindowZoom::toggleFullScreen() {
    if (m_fullScreen) {
        leaveFullScreen();
        return;
    }
    m_fullScreen = true;
    m_full->setChecked(true);
    m_leave->setEnabled(true);
    // Free the sizes, so the window may take the whole screen.
    if (m_window != m_holder) {
        if (QLayout* layout = m_window->layout()) layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    }
    m_holder->setMinimumSize(0, 0);
    m_holder->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_window->setMinimumSize(0, 0);
    m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_window->showFullScreen();
}

void WindowZoom::leaveFullScreen() {
    if (!m_fullScreen) return;
    m_fullScreen = false;
    m_full->setChecked(false);
    m_leave->setEnabled(false);
    m_window->showNormal();
    // The window may have moved to a smaller screen meanwhile.
    m_windowZoom = std::clamp(m_windowZoom, 1, largestFittingZoom());
    updateActions();
    show(m_windowZoom);
    fitWindow();
}

bool WindowZoom::eventFilter(QObject* watched, QEvent* event) {
    // Shown or moved, the window may stand on another screen: the largest
    // zoom that fits may have changed.
    if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::Move)) updateActions();
    if (watched == m_holder && event->type() == QEvent::Resize) {
        if (m_fullScreen) {
            // The largest whole zoom whose content fits the screen.
            const int fit = std::max(1, std::min(m_holder->width() / m_design.width(), m_holder->height() / m_design.height()));
            if (fit != m_zoom) show(fit);
        }
        centre();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace common
