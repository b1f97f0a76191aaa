#pragma once

#include <optional>

#include <QString>

namespace velreader {

// A designation typed as word, "：", picture entry; the entry is a picture
// file name, a file name followed by "＞" and a colour word, or "＞" and a
// colour word alone.
struct Designation {
    QString word;   // everything before the first "："; may be empty
    QString entry;  // everything after it; may be empty
};

// Splits `text` at its first "：". Nothing when there is no "：", or when the
// text is "：＞" or ends in "＞" (a colour marker without a colour word).
std::optional<Designation> parseDesignation(const QString& text);

}  // namespace velreader
