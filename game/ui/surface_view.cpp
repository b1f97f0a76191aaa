#include "game/ui/surface_view.h"

#include "common/ui/pixels.h"

#include <QContextMenuEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

SurfaceView::SurfaceView(const QImage* surface, Border border, QWidget* parent)
    : QWidget(parent), m_surface(surface), m_border(border) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceView::setZoom(int zoom) {
    m_zoom = zoom;
    update();
}

QRectF SurfaceView::pictureRect() const {
    const qreal b = borderWidth() * m_zoom;
    return {b, b, qreal(m_surface->width() * m_zoom), qreal(m_surface->height() * m_zoom)};
}

void SurfaceView::setVeil(const QString& text) {
    if (text == m_veil) return;
    m_veil = text;
    update();
}

void SurfaceView::setBadge(const QImage& badge, QPoint at) {
    m_badge = badge;
    m_badgeAt = at;
    update();
}

void SurfaceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF outer(rect());
    const QRectF picture = pictureRect();
    const qreal z = m_zoom;
    // What the picture does not cover (a picture larger than the view is cut).
    painter.fillRect(outer, Qt::white);
    painter.save();
    painter.setClipRect(outer.adjusted(borderWidth() * z, borderWidth() * z, -borderWidth() * z, -borderWidth() * z));
    common::drawPicture(painter, picture, *m_surface);
    if (!m_badge.isNull()) {
        const QRectF place(picture.topLeft() + QPointF(m_badgeAt) * z, QSizeF(m_badge.size()) * z);
        common::drawPicture(painter, place, m_badge);
    }
    if (!m_veil.isEmpty()) {
        painter.fillRect(picture, QColor(0, 0, 0, 128));
        QFont font = painter.font();
        font.setPixelSize(int(16 * z));
        font.setBold(true);
        painter.setFont(font);
        // A dark shadow keeps the white text readable on the brightest field.
        painter.setPen(QColor(0, 0, 0));
        painter.drawText(picture.translated(z, z), Qt::AlignCenter, m_veil);
        painter.setPen(Qt::white);
        painter.drawText(picture, Qt::AlignCenter, m_veil);
    }
    painter.restore();
    if (m_border == Border::Flat) {
        common::fillRing(painter, outer, outer.adjusted(z, z, -z, -z), QColor(0, 0, 0));
        return;
    }
    // A sunken 3-D frame: dark on the top and left, light on the bottom and
    // right, in bands of whole design pixels.
    const auto band = [&](const QRectF& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.fillRect(QRectF(r.left(), r.top(), r.width(), z), topLeft);
        painter.fillRect(QRectF(r.left(), r.top(), z, r.height()), topLeft);
        painter.fillRect(QRectF(r.left() + z, r.bottom() - z, r.width() - z, z), bottomRight);
        painter.fillRect(QRectF(r.right() - z, r.top() + z, z, r.height() - z), bottomRight);
    };
    band(outer, QColor(128, 128, 128), QColor(255, 255, 255));
    band(outer.adjusted(z, z, -z, -z), QColor(64, 64, 64), QColor(212, 208, 200));
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
    const QPoint pixel = common::picturePixelAt(event->position(), pictureRect(), m_surface->size(),
                                                devicePixelRatioF(), mapTo(window(), QPointF(0, 0)));
    // The border is no part of the picture: presses on it are not the picture's.
    if (!QRect(QPoint(0, 0), m_surface->size()).contains(pixel)) return;
    emit pressed(event->button(), event->modifiers(), float(pixel.x()), float(pixel.y()));
}

void SurfaceView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && !m_mouseContextMenu) {
        event->accept();  // taken here: the window's menu does not open
        return;
    }
    event->ignore();
}

void SurfaceView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && !event->isAutoRepeat()) {
        emit activated();
        return;
    }
    QWidget::keyPressEvent(event);
}
