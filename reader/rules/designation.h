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

// What "単語指定" shows in `Text2` for a designation stored in `slot`:
// "指定語＞" word CR LF "絵ファイルの名前＞" entry "(" slot ")".
QString designationEcho(const Designation& designation, int slot);

}  // namespace velreader
