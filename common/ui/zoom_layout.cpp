#include "common/ui/zoom_layout.h"

#include <QWidget>

namespace common {

void ZoomLayout::setPlace(QWidget* widget, const QRect& design) {
    widget->setGeometry(design);
    m_placed.append({widget, design});
}

void ZoomLayout::setFont(QWidget* widget, const QFont& font) {
    widget->setFont(font);
    m_fonts.append({widget, font});
}

void ZoomLayout::apply(int zoom) const {
    for (const Placed& p : m_placed) {
        const QRect& d = p.design;
        p.widget->setGeometry(d.x() * zoom, d.y() * zoom, d.width() * zoom, d.height() * zoom);
    }
    for (const Fonted& f : m_fonts) {
        QFont font = f.font;
        font.setPointSizeF(f.font.pointSizeF() * zoom);
        f.widget->setFont(font);
    }
}

}  // namespace common
