#include "common/ui/zoom_layout.h"

#include <QWidget>

namespace common {

namespace {

QRect zoomed(const QRect& design, int zoom) {
    return {design.x() * zoom, design.y() * zoom, design.width() * zoom, design.height() * zoom};
}

QFont zoomed(const QFont& design, int zoom) {
    QFont font = design;
    if (zoom != 1) font.setPointSizeF(design.pointSizeF() * zoom);
    return font;
}

}  // namespace

void ZoomLayout::setPlace(QWidget* widget, const QRect& design) {
    widget->setGeometry(zoomed(design, m_zoom));
    m_placed.append({widget, design});
}

void ZoomLayout::setFont(QWidget* widget, const QFont& font) {
    widget->setFont(zoomed(font, m_zoom));
    m_fonts.append({widget, font});
}

void ZoomLayout::apply(int zoom) {
    m_zoom = zoom;
    for (const Placed& p : m_placed) p.widget->setGeometry(zoomed(p.design, zoom));
    for (const Fonted& f : m_fonts) f.widget->setFont(zoomed(f.font, zoom));
}

}  // namespace common
