#include "common/cp932.h"

#include <cerrno>
#include <iconv.h>

#include <QList>

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

QString EncodeResult::errorText() const {
    if (ok) return {};
    const QString hex = QString::number(static_cast<uint>(character), 16).toUpper().rightJustified(4, u'0');
    return QStringLiteral("character U+%1 (%2) at position %3 cannot be stored in code page 932")
        .arg(hex, QString::fromUcs4(&character, 1))
        .arg(position);
}

QString DecodeResult::errorText() const {
    if (ok) return {};
    return QStringLiteral("bytes at offset %1 are not valid code page 932 text").arg(offset);
}

EncodeResult encode(QStringView text) {
    EncodeResult result;
    // A lone surrogate has no code point at all: report it before iconv sees
    // the replacement character that toUtf8() would put in its place.
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) {
            result.ok = false;
            result.position = i;
            result.character = c.unicode();
            return result;
        }
    }
    const QByteArray utf8 = text.toUtf8();
    Converter& conv = encoder();
    if (!conv.valid()) {
        result.ok = false;
        result.position = 0;
        result.character = text.isEmpty() ? 0 : text.toUcs4().value(0);
        return result;
    }
    qsizetype bad = conv.run(utf8, result.bytes);
    if (bad < 0) return result;
    result.ok = false;
    result.bytes.clear();
    result.position = QString::fromUtf8(utf8.constData(), bad).size();
    const QList<uint> rest = QString::fromUtf8(utf8.constData() + bad, utf8.size() - bad).left(2).toUcs4();
    result.character = rest.isEmpty() ? 0 : rest.first();
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
