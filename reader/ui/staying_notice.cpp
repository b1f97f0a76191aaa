#include "reader/ui/staying_notice.h"

#include <QApplication>
#include <QEvent>

namespace velreader {

StayingNotice::StayingNotice(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setMargin(4);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    // The colours of a tooltip, which it replaces.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(QStringLiteral("お知らせ"));
    hide();
    m_minimum.setSingleShot(true);
    connect(&m_minimum, &QTimer::timeout, this, &StayingNotice::hideWhenDone);
    qApp->installEventFilter(this);
}

StayingNotice::~StayingNotice() { qApp->removeEventFilter(this); }

void StayingNotice::showAbove(const QString& text, const QRect& anchor, int width) {
    setText(text);
    setFixedWidth(width);
    setFixedHeight(heightForWidth(width));
    const int above = anchor.top() - height() - 2;
    move(anchor.left(), above >= 0 ? above : anchor.bottom() + 2);
    raise();
    show();
    m_inputSeen = false;
    m_minimum.start(m_minimumMs);
}

bool StayingNotice::eventFilter(QObject* watched, QEvent* event) {
    if (isVisible() && watched->isWidgetType() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)) {
        m_inputSeen = true;
        hideWhenDone();
    }
    return QLabel::eventFilter(watched, event);
}

void StayingNotice::hideWhenDone() {
    if (m_inputSeen && !m_minimum.isActive()) hide();
}

}  // namespace velreader
