// Fuzzes the interpreter of the Aozora Bunko notation and the cut into
// display lines: every line is non-empty, fits 30 units and never parts a
// surrogate pair; the same text gives the same lines; a text without any of
// the notation's characters comes out as written, without its breaks.
#include "reader/rules/aozora_notation.h"

#include <QString>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // UTF-8, as the notation's characters are easiest for the fuzzer to
    // reach that way; broken bytes become U+FFFD.
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool omit = size > 0 && (data[0] & 1);
    const velreader::RubyStyle style = omit ? velreader::RubyStyle::Omit : velreader::RubyStyle::Parentheses;
    const velreader::AozoraText interpreted = velreader::interpretAozora(text, style);
    const QStringList lines = velreader::aozoraDisplayLines(interpreted, 30);
    for (const QString& line : lines) {
        if (line.isEmpty() || line.size() > 30) std::abort();
        if (line.back().isHighSurrogate() || line.front().isLowSurrogate()) std::abort();
    }
    const velreader::AozoraCounts& c = interpreted.counts;
    if (c.ruby < 0 || c.annotations < 0 || c.characters < 0 || c.kept < 0) std::abort();
    if ((c.kept > 0) != (c.firstKeptLine > 0)) std::abort();
    if (velreader::aozoraDisplayLines(velreader::interpretAozora(text, style), 30) != lines) std::abort();

    bool plain = true;
    for (const QChar ch : text) plain = plain && !QStringView(u"《》｜［］※〔〕／【").contains(ch);
    if (plain) {
        QString unbroken = text;
        unbroken.remove(u'\r').remove(u'\n');
        if (lines.join(QString()) != unbroken) std::abort();
    }
    return 0;
}
