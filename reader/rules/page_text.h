#pragma once

#include <QByteArray>
#include <QStringView>

// Text from a book put into a web page as data, never as markup or script.
namespace velreader::web {

// Appends `text` as a JSON string (with its quotes) in UTF-8 that is also
// safe inside an HTML <script> element: "<", ">" and "&" are written as
// \u escapes, so no "</script" or "<!--" can appear; control characters, NUL,
// U+2028, U+2029 and lone surrogates are escaped too, so that the parsed
// string is exactly `text`.
void appendJsonString(QByteArray& out, QStringView text);

// `text` as the content of an HTML element such as <title>: "&", "<", ">",
// '"' and "'" as character references; control characters other than tab,
// line feed and carriage return, and lone surrogates, which HTML cannot hold
// as text, become U+FFFD.
QByteArray htmlText(QStringView text);

}  // namespace velreader::web
