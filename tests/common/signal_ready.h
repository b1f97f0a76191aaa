#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// True once the process `pid` handles `signal` itself (its handler is
// installed): a program started by a test is ready to be stopped then.
inline bool catchesSignal(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}
