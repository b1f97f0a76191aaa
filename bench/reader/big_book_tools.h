#pragma once
// What the tools that put big books through the reader window share: the
// prose they are made of, the process's memory, and a watch on the event
// loop's stalls.
#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

namespace bigbooks {

// The characters the prose is made of: kana, kanji and punctuation.
inline const QString& prosePool() {
    static const QString pool = QStringLiteral(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
        "羊毛丘森海夜朝空星月旅風雲雨雪花草木山川道家町村人子母父友声音光影色、。「」！？");
    return pool;
}

// `count` display lines of random Japanese prose, 5 to 24 characters each,
// always the same for the same count, followed by the empty last line.
inline QStringList proseLines(int count) {
    const QString& pool = prosePool();
    QRandomGenerator random(2026);
    QStringList lines;
    lines.reserve(count + 1);
    for (int i = 0; i < count; ++i) {
        const int length = random.bounded(5, 25);
        QString line;
        for (int k = 0; k < length; ++k) line += pool[random.bounded(int(pool.size()))];
        lines << line;
    }
    lines << QString();
    return lines;
}

// The same lines as proseLines(count), joined by `separator` straight into
// one text, without a list of lines (which costs some 100 bytes a line).
inline QString proseText(int count, QStringView separator) {
    const QString& pool = prosePool();
    QRandomGenerator random(2026);
    QString text;
    text.reserve(qsizetype(count) * (15 + separator.size()));
    for (int i = 0; i < count; ++i) {
        const int length = random.bounded(5, 25);
        for (int k = 0; k < length; ++k) text += pool[random.bounded(int(pool.size()))];
        text += separator;
    }
    return text;
}

// A figure of /proc/self/status in kB ("VmHWM:" is the peak), or -1.
inline long memoryKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::strlen(key)));
    return -1;
}

// Watches the event loop: the longest time between two of its turns,
// seen by a 1 ms timer.
class StallWatch : public QObject {
public:
    StallWatch() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] { m_longest = std::max(m_longest, m_clock.restart()); });
    }
    void start() {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    qint64 stop() {
        m_timer.stop();
        return std::max(m_longest, m_clock.elapsed());
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

}  // namespace bigbooks
