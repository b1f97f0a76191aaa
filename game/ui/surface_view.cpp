#include "game/ui/surface_view.h"

#include <QMouseEvent>
#include <QPainter>

SurfaceView::SurfaceView(const QImage* surface, Border border, QWidget* parent)
    : QWidget(parent), m_surface(surface), m_border(border) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int b = borderWidth();
    painter.fillRect(rect(), Qt::white);
    // Nearest-neighbour: on a high-DPI screen each pixel becomes a block.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QPoint(b, b), *m_surface);
    if (m_border == Border::Flat) {
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    } else {
        // A sunken 3-D frame: dark on the top and left, light on the bottom and right.
        const QRect r = rect().adjusted(0, 0, -1, -1);
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(QColor(64, 64, 64));
        painter.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
        painter.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
        painter.setPen(QColor(255, 255, 255));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.setPen(QColor(212, 208, 200));
        painter.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
        painter.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
    }
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
    const int b = borderWidth();
    const QPointF p = event->position();
    emit pressed(event->button(), event->modifiers(), static_cast<float>(p.x() - b), static_cast<float>(p.y() - b));
}
