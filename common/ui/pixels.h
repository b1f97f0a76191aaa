#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRectF>

class QPainter;

// Pictures made of whole pixels on screens of any scale. Both programs show
// small pixel pictures that must stay sharp: each picture pixel becomes a
// block of device pixels (uneven at a fractional scale, never smoothed and
// never lost), frames are filled areas beside the picture, never lines that
// could fall onto it, and a press is mapped back to the picture pixel that
// is drawn under the pointer.
namespace common {

// Draws `picture` filling `target` (in the painter's logical coordinates),
// nearest neighbour.
void drawPicture(QPainter& painter, const QRectF& target, const QImage& picture);

// Fills the ring between `outer` and `inner` (inner lies inside outer).
void fillRing(QPainter& painter, const QRectF& outer, const QRectF& inner, const QColor& colour);

// The pixel of a `pictureSize` picture drawn at `target` that lies under a
// press at `at`: the pixel whose block holds the centre of the device pixel
// pressed (a centre on the line between two blocks belongs to the first,
// as in Qt's drawing). `at` and `target` are in the logical coordinates of a widget whose
// top left corner is at `windowOffset` in its window, on a device of
// `devicePixelRatio` (device pixels are counted from the window's corner).
// May lie outside the picture when the press is outside `target`.
QPoint picturePixelAt(QPointF at, const QRectF& target, QSize pictureSize, qreal devicePixelRatio,
                      QPointF windowOffset = {});

}  // namespace common
