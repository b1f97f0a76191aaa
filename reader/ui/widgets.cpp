// The small widgets the reader window is made of.
#include "reader/ui/widgets.h"

#include <QPainter>
#include <QWheelEvent>

#include "common/ui/pixels.h"
#include "reader/drawing/page.h"

namespace velreader {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // Like a button: the click counts when the mouse is released over the label.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::setImage(const QImage& image) {
    if (image.constBits() == m_image.constBits() && image.size() == m_image.size()) return;
    m_image = image;
    update();
}

void PictureView::setZoom(int zoom) {
    m_zoom = zoom;
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A sunken two-pixel border like a picture box's, laid on in bands of
    // whole design pixels; the picture then fills the inside exactly.
    const qreal z = m_zoom;
    const QRectF outer(rect());
    painter.fillRect(outer, QColor(255, 255, 255));
    painter.fillRect(outer.adjusted(0, 0, -z, -z), QColor(160, 160, 160));
    painter.fillRect(outer.adjusted(z, z, -z, -z), QColor(227, 227, 227));
    painter.fillRect(outer.adjusted(z, z, -2 * z, -2 * z), QColor(105, 105, 105));
    const QRectF inner = outer.adjusted(2 * z, 2 * z, -2 * z, -2 * z);
    painter.setClipRect(inner);
    common::drawPicture(painter, QRectF(inner.topLeft(), QSizeF(m_image.size()) * z), m_image);
}

PageView::PageView(const PageSurface& page, QWidget* parent) : QWidget(parent), m_page(page) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void PageView::setZoom(int zoom) {
    m_zoom = zoom;
    update();
}

void PageView::setReveal(int lineStart, int shown) {
    if (lineStart == m_revealStart && shown == m_revealShown) return;
    m_revealStart = lineStart;
    m_revealShown = shown;
    update();
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal scale = m_zoom * devicePixelRatioF();
    if (scale == 1.0 && m_revealShown < 0) {
        // One page unit to one screen pixel: the page itself.
        painter.drawImage(0, 0, m_page.image());
        return;
    }
    // Larger, or with a line still appearing, the page is drawn again:
    // pictures in blocks of whole pixels, text in the page font made
    // larger, so that it stays sharp; of the appearing line's rows only the
    // characters shown so far.
    QFont font = m_page.font();
    font.setPointSizeF(font.pointSizeF() * m_zoom);
    painter.setFont(font);
    const QRectF whole(0, 0, PageSurface::Width * m_zoom, PageSurface::Height * m_zoom);
    qsizetype left = m_revealShown;
    const QList<PageDrawing>& drawings = m_page.drawings();
    for (qsizetype i = 0; i < drawings.size(); ++i) {
        const PageDrawing& d = drawings[i];
        if (d.kind == PageDrawing::Kind::Picture) {
            common::drawPicture(painter, whole, d.picture);
            continue;
        }
        QString text = d.text;
        if (m_revealShown >= 0 && i >= m_revealStart) {
            if (left <= 0) continue;
            if (left < text.size()) text.truncate(left);
            left -= d.text.size();
        }
        painter.setPen(d.colour);
        painter.drawText(QPointF(d.baseline) * m_zoom, text);
    }
}

void PageView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit nextLineWanted();
    QWidget::mouseReleaseEvent(event);
}

void PageView::wheelEvent(QWheelEvent* event) {
    // One line on for each notch turned towards the user, one line back for
    // each notch turned away; a turn the other way starts a new notch.
    const int delta = event->angleDelta().y();
    if ((delta < 0) != (m_wheel < 0)) m_wheel = 0;
    m_wheel += delta;
    while (m_wheel <= -120) {
        m_wheel += 120;
        emit nextLineWanted();
    }
    while (m_wheel >= 120) {
        m_wheel -= 120;
        emit previousLineWanted();
    }
    event->accept();
}

FrameLines::FrameLines(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void FrameLines::setZoom(int zoom) {
    m_zoom = zoom;
    update();
}

void FrameLines::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The top edge from (6, 27) to (408, 27), the bottom edge at y 229, the
    // left edge at x 6 and the right edge at x 407, each one design pixel
    // wide and ending before its end point.
    const qreal z = m_zoom;
    const QColor orange(255, 156, 0);
    painter.fillRect(QRectF(6 * z, 27 * z, 402 * z, z), orange);
    painter.fillRect(QRectF(6 * z, 229 * z, 402 * z, z), orange);
    painter.fillRect(QRectF(6 * z, 27 * z, z, 203 * z), orange);
    painter.fillRect(QRectF(407 * z, 27 * z, z, 203 * z), orange);
}

FormSurface::FormSurface(QWidget* parent) : QWidget(parent) {}

void FormSurface::addLines() {
    m_lines = new FrameLines(this);
    m_lines->setGeometry(rect());
}

void FormSurface::setLinesVisible(bool visible) {
    if (m_lines) m_lines->setVisible(visible);
}

void FormSurface::setZoom(int zoom) {
    if (m_lines) {
        m_lines->setGeometry(0, 0, width(), height());
        m_lines->setZoom(zoom);
    }
    update();
}

void FormSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(255, 220, 224));
}

}  // namespace velreader
