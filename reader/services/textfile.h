#pragma once

#include <functional>

#include <QByteArrayView>
#include <QString>

namespace velreader {

// The encodings a text file is recognised in.
enum class TextEncoding { Utf8, Utf8WithBom, Utf16LE, Utf16BE, Cp932 };

// "UTF-8", "UTF-8（BOM 付き）", "UTF-16", "Shift-JIS"
QString encodingName(TextEncoding encoding);

struct DecodedText {
    QString text;  // CR LF line breaks, without the byte-order mark
    TextEncoding encoding = TextEncoding::Utf8;
    QString error;  // why the bytes are no text, in Japanese; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Decodes the bytes of a text file, strictly: UTF-8 with or without a
// byte-order mark, UTF-16 with a byte-order mark, else code page 932. Bytes
// that are none of these, or that hold NUL characters, are refused.
// Every line break (CR LF, LF or a lone CR) becomes CR LF, the form the
// reader's text box hands to "読み込み". UTF-8 and code page 932 are decoded
// a few hundred kilobytes at a time, with `between` called in between.
DecodedText decodeTextFile(QByteArrayView bytes, const std::function<void()>& between = {});

// True when `text` (CR LF lines) carries the marks of a text of the Aozora
// Bunko library: the line "【テキスト中に現れる記号について】" among its first
// 60 lines, or a line starting "底本：" among its last 60.
bool isAozoraText(QStringView text);

}  // namespace velreader
