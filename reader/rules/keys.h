#pragma once

#include <QList>
#include <QString>

namespace velreader {

// One line of the key list in the guide: the keys, and what they do.
struct KeyHelp {
    QString keys;    // "Ctrl+S"
    QString action;  // "セーブ"
};

// Every key of the reader window, in the order the guide lists them. The
// one place that lists them: a new key gets a line here.
const QList<KeyHelp>& readerKeys();

}  // namespace velreader
