#include "reader/rules/page_text.h"

namespace velreader::web {
namespace {

constexpr char Hex[] = "0123456789abcdef";

void appendUnicodeEscape(QByteArray& out, char16_t unit) {
    const char escape[] = {'\\', 'u', Hex[(unit >> 12) & 15], Hex[(unit >> 8) & 15], Hex[(unit >> 4) & 15],
                           Hex[unit & 15]};
    out.append(escape, sizeof escape);
}

void appendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | (c >> 6)));
        out.append(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(char(0xE0 | (c >> 12)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xF0 | (c >> 18)));
        out.append(char(0x80 | ((c >> 12) & 0x3F)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    }
}

// The code point at `i` and the number of units it takes; 0 for a lone
// surrogate.
char32_t codePointAt(QStringView text, qsizetype i, int& units) {
    const char16_t unit = text[i].unicode();
    units = 1;
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
        units = 2;
        return QChar::surrogateToUcs4(unit, text[i + 1].unicode());
    }
    return QChar::isSurrogate(unit) ? 0 : unit;
}

}  // namespace

void appendJsonString(QByteArray& out, QStringView text) {
    out.reserve(out.size() + text.size() * 3 + 2);
    out.append('"');
    for (qsizetype i = 0; i < text.size();) {
        int units = 1;
        const char32_t c = codePointAt(text, i, units);
        const char16_t unit = text[i].unicode();
        if (c == 0 && unit != 0) {
            appendUnicodeEscape(out, unit);  // a lone surrogate stays what it was
        } else if (c == u'"' || c == u'\\') {
            out.append('\\');
            out.append(char(c));
        } else if (c < 0x20 || c == u'<' || c == u'>' || c == u'&' || c == 0x2028 || c == 0x2029) {
            appendUnicodeEscape(out, char16_t(c));
        } else {
            appendUtf8(out, c);
        }
        i += units;
    }
    out.append('"');
}

QByteArray htmlText(QStringView text) {
    QByteArray out;
    out.reserve(text.size() * 3);
    for (qsizetype i = 0; i < text.size();) {
        int units = 1;
        char32_t c = codePointAt(text, i, units);
        i += units;
        switch (c) {
        case u'&': out.append("&amp;"); continue;
        case u'<': out.append("&lt;"); continue;
        case u'>': out.append("&gt;"); continue;
        case u'"': out.append("&quot;"); continue;
        case u'\'': out.append("&#39;"); continue;
        default: break;
        }
        const bool control = (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0x7F && c < 0xA0);
        if (c == 0 || control) c = 0xFFFD;
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace velreader::web
