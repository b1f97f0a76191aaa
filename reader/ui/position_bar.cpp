#include "reader/ui/position_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace velreader {
namespace {

const QColor Groove(255, 240, 240);        // the blank page's colour
const QColor Frame(255, 156, 0);           // the page frame's orange
const QColor Filled(136, 0, 0);            // the page's text colour
const QColor AutoFilled(0, 128, 0);        // auto-play: green
const QColor Mark(0, 0, 255);              // a found passage: blue

}  // namespace

PositionBar::PositionBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    setPosition(0, 0, false);
}

void PositionBar::setPosition(int step, int total, bool autoPlaying) {
    if (step == m_step && total == m_total && autoPlaying == m_autoPlaying && !accessibleName().isEmpty()) return;
    m_step = step;
    m_total = total;
    m_autoPlaying = autoPlaying;
    const QString text = QStringLiteral("%1 / %2 行").arg(step).arg(total);
    setToolTip(autoPlaying ? text + QStringLiteral("（自動再生中）") : text);
    setAccessibleName(autoPlaying ? text + QStringLiteral("（自動再生中）") : text);
    update();
}

void PositionBar::setMark(int step) {
    if (step == m_mark) return;
    m_mark = step;
    update();
}

void PositionBar::setZoom(int zoom) {
    m_zoom = zoom;
    update();
}

void PositionBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF whole(rect());
    painter.fillRect(whole, Frame);
    // A one-design-pixel frame, the groove inside, the filled part from the left.
    const qreal z = m_zoom;
    const QRectF groove = whole.adjusted(z, z, -z, -z);
    painter.fillRect(groove, Groove);
    if (m_total > 0 && m_step > 0) {
        const qreal width = std::round(groove.width() * std::min(m_step, m_total) / m_total);
        painter.fillRect(QRectF(groove.topLeft(), QSizeF(width, groove.height())), m_autoPlaying ? AutoFilled : Filled);
    }
    if (m_total > 0 && m_mark >= 0) {
        // Two design pixels wide, ending at the step's place in the groove.
        const qreal x = groove.left() + std::round(groove.width() * std::min(m_mark, m_total) / m_total);
        painter.fillRect(QRectF(std::max(groove.left(), x - 2 * z), groove.top(), 2 * z, groove.height()), Mark);
    }
}

void PositionBar::seek(qreal x) {
    if (m_total <= 0) return;
    const qreal inner = std::max<qreal>(1, width() - 2 * m_zoom);
    const qreal share = std::clamp((x - m_zoom) / inner, 0.0, 1.0);
    emit stepWanted(int(std::lround(share * m_total)));
}

void PositionBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) seek(event->position().x());
}

void PositionBar::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) seek(event->position().x());
}

}  // namespace velreader
