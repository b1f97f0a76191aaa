#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// The fuzzer's bytes as UTF-16 code units, lone surrogates and all: the
// reader's text boxes can hold any of them.
inline QString utf16FromBytes(const uint8_t* data, size_t size) {
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (size_t i = 0; i + 1 < size; i += 2) {
        text[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    return text;
}
