#include "reader/services/textfile.h"

#include <QStringDecoder>
#include <algorithm>

#include "common/cp932.h"

namespace velreader {
namespace {

bool hasLoneSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (text[i].isSurrogate()) return true;
    }
    return false;
}

// A decoder that refuses instead of substituting. Qt's UTF-16 decoder lets
// a lone surrogate through, so the result is checked for one as well.
std::optional<QString> strictly(QStringDecoder::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || hasLoneSurrogate(text)) return std::nullopt;
    return text;
}

QString withCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (c == u'\n') {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

// Decodes UTF-8 (or code page 932) a slice at a time, each slice ending
// just after a line feed (a byte that is never part of a longer character
// in either), so that a long text lets the window breathe between slices.
// CR LF pairs stay in one slice. Empty on failure, with `error` saying why
// for code page 932.
std::optional<QString> decodeInSlices(QByteArrayView bytes, bool cp932, const std::function<void()>& between,
                                      QString& error) {
    constexpr qsizetype Slice = 256 * 1024;
    QString out;
    out.reserve(bytes.size() / (cp932 ? 2 : 3) + 16);
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = start + Slice >= bytes.size() ? bytes.size() : bytes.indexOf('\n', start + Slice);
        end = end < 0 ? bytes.size() : std::min(end + 1, bytes.size());
        const QByteArrayView slice = bytes.sliced(start, end - start);
        std::optional<QString> text;
        if (cp932) {
            cp932::DecodeResult sjis = cp932::decode(slice);
            if (!sjis.ok) {
                error = QStringLiteral("UTF-8 でも Shift-JIS でも読めません（Shift-JIS としては %1 バイト目で読めなくなります）。")
                            .arg(start + sjis.offset + 1);
                return std::nullopt;
            }
            text = std::move(sjis.text);
        } else {
            text = strictly(QStringDecoder::Utf8, slice);
            if (!text) return std::nullopt;
        }
        if (text->contains(QChar(0))) {
            error = QStringLiteral("NUL 文字があります。テキストファイルではありません。");
            return std::nullopt;
        }
        out += withCrLf(*text);
        start = end;
        if (between && start < bytes.size()) between();
    }
    return out;
}

DecodedText refused(QString why) {
    DecodedText result;
    result.error = std::move(why);
    return result;
}

// How many lines at each end of a text hold the library's marks.
constexpr int MarkLines = 60;

}  // namespace

bool isAozoraText(QStringView text) {
    const QStringView legend(u"【テキスト中に現れる記号について】");
    qsizetype start = 0;
    for (int n = 0; n < MarkLines && start <= text.size(); ++n) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        if (text.sliced(start, end - start).trimmed() == legend) return true;
        start = end + 1;
    }
    // The last lines, read from the end (a final line break ends the last).
    qsizetype end = text.size();
    if (text.endsWith(u"\r\n")) end -= 2;
    for (int n = 0; n < MarkLines && end >= 0; ++n) {
        const qsizetype lineStart = end == 0 ? 0 : text.lastIndexOf(u'\n', end - 1) + 1;
        if (text.sliced(lineStart, end - lineStart).startsWith(u"底本：")) return true;
        end = lineStart - 2;  // before the CR LF
        if (lineStart == 0) break;
    }
    return false;
}

QString encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8: return QStringLiteral("UTF-8");
    case TextEncoding::Utf8WithBom: return QStringLiteral("UTF-8（BOM 付き）");
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: return QStringLiteral("UTF-16");
    case TextEncoding::Cp932: return QStringLiteral("Shift-JIS");
    }
    return {};
}

DecodedText decodeTextFile(QByteArrayView bytes, const std::function<void()>& between) {
    DecodedText result;
    std::optional<QString> text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        result.encoding = TextEncoding::Utf8WithBom;
        QString error;
        text = decodeInSlices(bytes.sliced(3), false, between, error);
        if (!text && !error.isEmpty()) return refused(error);
        if (!text) return refused(QStringLiteral("UTF-8 の印が付いていますが、UTF-8 として読めないバイトがあります。"));
        result.text = std::move(*text);
        return result;
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        result.encoding = little ? TextEncoding::Utf16LE : TextEncoding::Utf16BE;
        if (bytes.size() % 2 != 0)
            return refused(QStringLiteral("UTF-16 の印が付いていますが、バイト数が奇数です。"));
        text = strictly(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, bytes.sliced(2));
        if (!text) return refused(QStringLiteral("UTF-16 の印が付いていますが、UTF-16 として読めない並びがあります。"));
        if (text->contains(QChar(0))) return refused(QStringLiteral("NUL 文字があります。テキストファイルではありません。"));
        result.text = withCrLf(*text);
        return result;
    }
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        return refused(QStringLiteral("%1 バイト目に NUL があります。テキストファイルではありません。").arg(nul + 1));
    result.encoding = TextEncoding::Utf8;
    QString error;
    text = decodeInSlices(bytes, false, between, error);
    if (!text) {
        text = decodeInSlices(bytes, true, between, error);
        if (!text) return refused(error);
        result.encoding = TextEncoding::Cp932;
    }
    result.text = std::move(*text);
    return result;
}
}  // namespace velreader
