#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace velreader {

// Auto-play's clock. While it runs, every line fully shown on the page is
// followed, after autoPlayWaitMs(line, speed), by a request for the next
// line. It never plays itself: the window plays the line and tells it.
class AutoPlay : public QObject {
    Q_OBJECT
public:
    explicit AutoPlay(QObject* parent = nullptr);

    bool running() const { return m_running; }
    // Starts: the next line is asked for after the wait of `shownLine`,
    // unless the line is still appearing (then after lineShown()).
    void start(const QString& shownLine, bool lineComplete);
    void stop();
    void setSpeed(double speed) { m_speed = speed; }
    double speed() const { return m_speed; }

    // The line on the page is now whole: the wait for the next one begins.
    void lineShown(const QString& line);
    // A line was played and is still appearing: no request until lineShown().
    void lineAppearing();

    // The wait armed now in milliseconds, or -1 when none is.
    int pendingWaitMs() const { return m_timer.isActive() ? m_timer.interval() : -1; }

signals:
    void nextLineWanted();
    void runningChanged(bool running);

private:
    QTimer m_timer;
    bool m_running = false;
    double m_speed = 1.0;
};

// Lets the characters of a line appear one after another at a number of
// characters a second, computed from the time since it began so that a late
// timer never slows the text down. A pair of surrogates appears at once.
class TextReveal : public QObject {
    Q_OBJECT
public:
    explicit TextReveal(QObject* parent = nullptr);

    // Begins showing `line` from no character; a rate of 0 shows it whole.
    void start(const QString& line, int charactersPerSecond);
    // Shows the whole line now.
    void finish();
    // Stops without a finished() signal (the page changed under it).
    void cancel();
    bool active() const { return m_timer.isActive(); }
    // UTF-16 units of the line to show now: the whole line when not active.
    int shown() const { return m_active ? m_shown : -1; }

signals:
    void changed();
    void finished();

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    QString m_line;
    int m_rate = 0;
    int m_shown = 0;
    bool m_active = false;
};

}  // namespace velreader
