#include "reader/services/autoplay.h"

#include "reader/services/preferences.h"

namespace velreader {

AutoPlay::AutoPlay(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_running) emit nextLineWanted();
    });
}

void AutoPlay::start(const QString& shownLine, bool lineComplete) {
    if (!m_running) {
        m_running = true;
        emit runningChanged(true);
    }
    if (lineComplete)
        lineShown(shownLine);
    else
        lineAppearing();
}

void AutoPlay::stop() {
    m_timer.stop();
    if (!m_running) return;
    m_running = false;
    emit runningChanged(false);
}

void AutoPlay::lineShown(const QString& line) {
    if (!m_running) return;
    m_timer.start(autoPlayWaitMs(line, m_speed));
}

void AutoPlay::lineAppearing() { m_timer.stop(); }

TextReveal::TextReveal(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TextReveal::tick);
}

void TextReveal::start(const QString& line, int charactersPerSecond) {
    m_timer.stop();
    m_line = line;
    m_rate = charactersPerSecond;
    m_shown = 0;
    m_active = false;
    if (m_rate <= 0 || line.isEmpty()) {
        emit changed();
        emit finished();
        return;
    }
    m_active = true;
    m_clock.start();
    m_timer.start(std::max(1, 1000 / m_rate));
    emit changed();
}

void TextReveal::tick() {
    qsizetype shown = std::min<qint64>(m_line.size(), m_clock.elapsed() * m_rate / 1000);
    if (shown > 0 && shown < m_line.size() && m_line[shown].isLowSurrogate()) ++shown;
    if (shown >= m_line.size()) {
        finish();
        return;
    }
    if (shown != m_shown) {
        m_shown = int(shown);
        emit changed();
    }
}

void TextReveal::finish() {
    if (!m_active) return;
    m_timer.stop();
    m_active = false;
    emit changed();
    emit finished();
}

void TextReveal::cancel() {
    if (!m_active) return;
    m_timer.stop();
    m_active = false;
    emit changed();
}

}  // namespace velreader
