#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "reader/rules/line_breaking.h"

namespace velreader {

// How ruby is shown: "base（reading）", or the base alone.
enum class RubyStyle { Parentheses, Omit };

// One paragraph of an interpreted text, before it is cut into display lines.
struct AozoraParagraph {
    QString text;
    QList<Unbreakable> groups;  // the ruby groups "base（reading）"
    LineLayout layout;
    bool operator==(const AozoraParagraph&) const = default;
};

// What an interpretation did.
struct AozoraCounts {
    int ruby = 0;         // ruby given to a base
    int annotations = 0;  // "［＃...］" understood and removed
    int characters = 0;   // rare characters made from their codes
    // Notation that could not be interpreted and stays as written (a "《"
    // without "》", an unknown annotation, a legend without its end...),
    // together with the rare characters that could not be made.
    int kept = 0;
    int firstKeptLine = -1;  // the source line of the first, from 1
    QString firstKept;       // its notation as written (at most 20 characters)
    bool operator==(const AozoraCounts&) const = default;
};

struct AozoraText {
    QList<AozoraParagraph> paragraphs;
    AozoraCounts counts;
};

// Interprets a text in the notation of the Aozora Bunko library (lines
// separated by CR LF, LF or CR):
//   - the legend block, from the dashed line before "【テキスト中に現れる記号
//     について】" to the dashed line after it, goes;
//   - ruby "｜base《reading》" and "base《reading》" (the base then being the
//     run of kanji, hiragana, katakana or Latin letters before "《") become
//     a group "base（reading）", or the base alone;
//   - annotations "［＃...］" go; indentation, right alignment and their
//     blocks set the layout of the lines; "※［＃description、...1-85-54］" and
//     "※［＃description、U+XXXX］" become the character, or "※（description）";
//   - "〔...〕" around Latin text becomes the text with accented letters;
//   - "／＼" and "／″＼" become "〳〵" and "〴〵".
// What is not understood stays as written and is counted. Work is linear in
// the length of the text; `between`, when given, is called every few
// hundred thousand characters so that a caller can keep a window alive.
AozoraText interpretAozora(QStringView text, RubyStyle ruby, const std::function<void()>& between = {});

// The display lines of an interpreted text: each non-empty paragraph cut by
// breakLines() into lines of at most `width` units.
QStringList aozoraDisplayLines(const AozoraText& text, int width, const std::function<void()>& between = {});

}  // namespace velreader
