// The small widgets the reader window is made of.
#include <QMouseEvent>
#include <QPainter>

#include "reader/ui/vreader3.h"

namespace velreader {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // Like a button: the click counts when the mouse is released over the label.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

PictureView::PictureView(int border, QWidget* parent) : QWidget(parent), m_border(border) {}

void PictureView::setImage(const QImage& image) {
    m_image = image;
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_border > 0) {
        // A sunken two-pixel border like a picture box's.
        const QRect outer = rect();
        painter.fillRect(outer, QColor(255, 255, 255));
        painter.fillRect(outer.adjusted(0, 0, -1, -1), QColor(160, 160, 160));
        painter.fillRect(outer.adjusted(1, 1, -1, -1), QColor(227, 227, 227));
        painter.fillRect(outer.adjusted(1, 1, -2, -2), QColor(105, 105, 105));
    }
    painter.setClipRect(rect().adjusted(m_border, m_border, -m_border, -m_border));
    painter.drawImage(QPoint(m_border, m_border), m_image);
}

FormSurface::FormSurface(QWidget* parent) : QWidget(parent) {}

void FormSurface::setLinesVisible(bool visible) {
    if (visible == m_linesVisible) return;
    m_linesVisible = visible;
    update();
}

void FormSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(255, 220, 224));
    if (!m_linesVisible) return;
    painter.setPen(QColor(255, 156, 0));
    painter.drawLine(6, 27, 408, 27);
    painter.drawLine(6, 229, 408, 229);
    painter.drawLine(6, 27, 6, 229);
    painter.drawLine(407, 27, 407, 229);
}

}  // namespace velreader
