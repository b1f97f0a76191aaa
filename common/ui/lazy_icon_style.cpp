#include "common/ui/lazy_icon_style.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace common {
namespace {

// Stands for a standard icon of a style and asks the style for it at the
// first use that needs its pictures; everything else it answers as the icon
// would.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
        : m_style(style), m_which(which), m_widget(const_cast<QWidget*>(widget)) {}

    // Painted as a picture icon paints itself: its pixmap for the rectangle
    // in the device's pixels, drawn into the rectangle.
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const QPaintDevice* device = painter->device();
        const qreal ratio = device ? device->devicePixelRatioF() : qApp->devicePixelRatio();
        painter->drawPixmap(rect, icon().pixmap(rect.size() * ratio, 1.0, mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override {
        auto* copy = new DeferredIconEngine(m_style, m_which, m_widget);
        copy->m_icon = m_icon;
        copy->m_loaded = m_loaded;
        return copy;
    }
    // Not null until asked: a standard icon is there.
    bool isNull() override { return m_loaded && m_icon.isNull(); }

private:
    const QIcon& icon() {
        if (!m_loaded) {
            m_loaded = true;
            if (m_style) m_icon = m_style->standardIcon(m_which, nullptr, m_widget);
        }
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QPointer<QWidget> m_widget;  // only passed back to the style
    QIcon m_icon;
    bool m_loaded = false;
};

}  // namespace

LazyIconStyle::LazyIconStyle() = default;

QIcon LazyIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const {
    switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
    case SP_ToolBarVerticalExtensionButton:
        if (!option) return QIcon(new DeferredIconEngine(baseStyle(), icon, widget));
        break;
    default:
        break;
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}

}  // namespace common
