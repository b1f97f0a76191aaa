#include "common/cp932.h"

#include <cerrno>
#include <iconv.h>

#include <QHash>
#include <QList>
#include <utility>

namespace cp932 {
namespace {

// One iconv descriptor per direction and thread, opened on first use; iconv
// keeps a shift state, so every conversion starts with a reset.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in` into `out`. Returns the input offset of the first
    // byte that could not be converted, or -1 when everything converted.
    qsizetype run(QByteArrayView in, QByteArray& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 2 + 16);
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = static_cast<size_t>(in.size());
        char* outPtr = out.data();
        size_t outLeft = static_cast<size_t>(out.size());
        while (inLeft > 0) {
            size_t r = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            if (r != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) {
                qsizetype used = outPtr - out.data();
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = static_cast<size_t>(out.size() - used);
                continue;
            }
            // EILSEQ: invalid or unconvertible; EINVAL: incomplete at the end.
            out.truncate(outPtr - out.data());
            return inPtr - in.data();
        }
        out.truncate(outPtr - out.data());
        return -1;
    }

private:
    iconv_t m_cd;
};

Converter& encoder() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

Converter& decoder() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

}  // namespace

QString codePointName(char32_t c) {
    return QStringLiteral("U+%1").arg(QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, u'0'));
}

QString EncodeResult::errorText() const {
    if (ok) return {};
    return QStringLiteral("character %1 (%2) at position %3 cannot be stored in code page 932")
        .arg(codePointName(character), QString::fromUcs4(&character, 1))
        .arg(position);
}

QString DecodeResult::errorText() const {
    if (ok) return {};
    return QStringLiteral("bytes at offset %1 are not valid code page 932 text").arg(offset);
}

namespace {

// The characters whose bytes read back as another one, with that one.
constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
    {u'\u301C', u'\uFF5E'},  // WAVE DASH -> FULLWIDTH TILDE
    {u'\u2212', u'\uFF0D'},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    {u'\u2014', u'\u2015'},  // EM DASH -> HORIZONTAL BAR
    {u'\u2016', u'\u2225'},  // DOUBLE VERTICAL LINE -> PARALLEL TO
    {u'\u00A2', u'\uFFE0'},  // CENT SIGN -> FULLWIDTH CENT SIGN
    {u'\u00A3', u'\uFFE1'},  // POUND SIGN -> FULLWIDTH POUND SIGN
    {u'\u00AC', u'\uFFE2'},  // NOT SIGN -> FULLWIDTH NOT SIGN
    {u'\u00A5', u'\uFFE5'},  // YEN SIGN -> FULLWIDTH YEN SIGN
    {u'\u203E', u'\uFFE3'},  // OVERLINE -> FULLWIDTH MACRON
};

// True when the code point `c` encodes and decodes back to itself.
bool roundTrips(char32_t c) {
    if (c >= 0xD800 && c <= 0xDFFF) return false;  // a lone surrogate has no bytes
    const QString one = QString::fromUcs4(&c, 1);
    QByteArray bytes, back;
    if (encoder().run(one.toUtf8(), bytes) >= 0) return false;
    if (decoder().run(bytes, back) >= 0) return false;
    return QString::fromUtf8(back) == one;
}

// Every distinct code point of `text` that does not round-trip, in order.
QList<Unencodable> findUnencodable(QStringView text) {
    QList<Unencodable> found;
    QHash<char32_t, bool> known;
    for (qsizetype i = 0; i < text.size();) {
        char32_t c = text[i].unicode();
        qsizetype width = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            width = 2;
        }
        // ASCII control and printable characters all round-trip.
        if (c >= 0x80) {
            auto it = known.find(c);
            if (it == known.end()) it = known.insert(c, roundTrips(c));
            if (!*it) {
                found.append({c, i});
                *it = true;  // listed once, at its first place
            }
        }
        i += width;
    }
    return found;
}

}  // namespace

char16_t lookAlike(char16_t c) {
    for (const auto& [from, to] : kLookAlikes)
        if (from == c) return to;
    return 0;
}

bool replaceLookAlikes(QString& text, QList<Replacement>& counts) {
    if (counts.isEmpty()) {
        for (const auto& [from, to] : kLookAlikes) counts.append({from, to, 0});
    }
    bool replaced = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Read without detaching: a text that needs no replacement stays
        // shared with its caller's copy, and only a replacement copies it.
        const char16_t c = text.at(i).unicode();
        if (c < 0xA2) continue;
        for (Replacement& r : counts) {
            if (r.from != c) continue;
            text[i] = QChar(r.to);
            ++r.count;
            replaced = true;
            break;
        }
    }
    return replaced;
}

EncodeResult encode(QStringView text) {
    EncodeResult result;
    Converter& conv = encoder();
    if (!conv.valid() || !decoder().valid()) {
        result.ok = false;
        result.position = 0;
        result.character = text.isEmpty() ? 0 : text.toUcs4().value(0);
        return result;
    }
    // The whole text at once, then read back: when both agree, every
    // character came back as itself.
    bool whole = true;
    for (qsizetype i = 0; i < text.size() && whole; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        whole = !c.isSurrogate();
    }
    if (whole && conv.run(text.toUtf8(), result.bytes) < 0) {
        QByteArray back;
        if (decoder().run(result.bytes, back) < 0 && QStringView(QString::fromUtf8(back)) == text) return result;
    }
    result.ok = false;
    result.bytes.clear();
    result.unencodable = findUnencodable(text);
    if (result.unencodable.isEmpty()) {
        // Each character alone comes back, the whole text does not: cannot
        // happen with this code page, but is no reason to write it.
        result.unencodable.append({text.isEmpty() ? 0 : text.toUcs4().value(0), 0});
    }
    result.position = result.unencodable.first().position;
    result.character = result.unencodable.first().character;
    return result;
}

DecodeResult decode(QByteArrayView bytes) {
    DecodeResult result;
    Converter& conv = decoder();
    QByteArray utf8;
    if (!conv.valid()) {
        result.ok = false;
        result.offset = 0;
        return result;
    }
    qsizetype bad = conv.run(bytes, utf8);
    if (bad >= 0) {
        result.ok = false;
        result.offset = bad;
        return result;
    }
    result.text = QString::fromUtf8(utf8);
    return result;
}

}  // namespace cp932
