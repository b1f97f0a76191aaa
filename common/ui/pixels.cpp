#include "common/ui/pixels.h"

#include <QPainter>
#include <cmath>

namespace common {

void drawPicture(QPainter& painter, const QRectF& target, const QImage& picture) {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawImage(target, picture, QRectF(picture.rect()));
    painter.restore();
}

void fillRing(QPainter& painter, const QRectF& outer, const QRectF& inner, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Four bands meeting the inner area edge to edge: at any scale a pixel
    // belongs either to the ring or to what it frames.
    painter.fillRect(QRectF(outer.left(), outer.top(), outer.width(), inner.top() - outer.top()), colour);
    painter.fillRect(QRectF(outer.left(), inner.bottom(), outer.width(), outer.bottom() - inner.bottom()), colour);
    painter.fillRect(QRectF(outer.left(), inner.top(), inner.left() - outer.left(), inner.height()), colour);
    painter.fillRect(QRectF(inner.right(), inner.top(), outer.right() - inner.right(), inner.height()), colour);
    painter.restore();
}

QPoint picturePixelAt(QPointF at, const QRectF& target, QSize pictureSize, qreal devicePixelRatio,
                      QPointF windowOffset) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    // The device pixel under the pointer, and its centre in logical units.
    const QPointF inWindow = at + windowOffset;
    const QPointF device(std::floor(inWindow.x() * ratio + 1e-6), std::floor(inWindow.y() * ratio + 1e-6));
    const QPointF centre((device.x() + 0.5) / ratio - windowOffset.x(), (device.y() + 0.5) / ratio - windowOffset.y());
    const qreal x = (centre.x() - target.left()) * pictureSize.width() / target.width();
    const qreal y = (centre.y() - target.top()) * pictureSize.height() / target.height();
    // A centre exactly on the line between two pixels shows the one before
    // it, as Qt's nearest-neighbour drawing does.
    constexpr qreal tolerance = 1e-7;
    return {int(std::ceil(x - tolerance)) - 1, int(std::ceil(y - tolerance)) - 1};
}

}  // namespace common
