// Fuzzes the reading of a text into display lines: every line fits a row of
// 30 units, none holds the separator, no surrogate pair is cut apart, and the
// last entry is the empty one playback ends on.
#include "fuzz_text.h"
#include "reader/rules/lines.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = utf16FromBytes(data, size);
    const velreader::Reading reading = velreader::readText(velreader::toCrLf(text));
    const QStringList& lines = reading.displayLines;
    if (lines.size() < 2 || !lines.last().isEmpty()) std::abort();
    // In well-formed text every surrogate belongs to a pair, so a line that
    // ends in a high or starts with a low surrogate has cut a pair apart.
    bool wellFormed = true;
    for (qsizetype i = 0; i < text.size() && wellFormed; ++i) {
        if (text[i].isHighSurrogate()) {
            wellFormed = i + 1 < text.size() && text[i + 1].isLowSurrogate();
            ++i;
        } else if (text[i].isLowSurrogate()) {
            wellFormed = false;
        }
    }
    for (const QString& line : lines) {
        if (line.size() > velreader::ChunkWidth || line.contains(QChar(velreader::Separator))) std::abort();
        if (wellFormed && !line.isEmpty() && (line.back().isHighSurrogate() || line.front().isLowSurrogate())) {
            std::abort();
        }
    }
    for (const QString& chunk : reading.chunks) {
        if (chunk.isEmpty() || chunk.size() > velreader::ChunkWidth) std::abort();
    }
    return 0;
}
