#pragma once

#include <QString>
#include <QStringView>

namespace velreader {

// What one annotation "［＃body］" of the library's notation means to the
// reader.
struct Annotation {
    enum class Kind {
        Unknown,          // not understood: stays as written
        Plain,            // understood, changes nothing (headings, emphasis, notes, page breaks...)
        Indent,           // "N字下げ": this line
        BlockIndent,      // "ここからN字下げ" (", 折り返してM字下げ"): the lines until its end
        BlockIndentEnd,   // "ここで字下げ終わり"
        RightAlign,       // "地付き", "地からN字上げ": the rest of this line
        BlockRightAlign,  // "ここから地付き", "ここから地からN字上げ"
        BlockRightAlignEnd,
    };
    Kind kind = Kind::Unknown;
    int first = 0;  // indentation of a paragraph's first line, or the raise
    int rest = 0;   // indentation of its following lines
};

Annotation classifyAnnotation(QStringView body);

// A rare character "※［＃body］": made from its JIS X 0213 plane-row-cell
// ("第3水準1-85-54", "1-2-22", "第4水準2-1-1") or its "U+XXXX"; `text` is
// empty when neither gives a character.
struct RareCharacter {
    QString text;
    QString description;  // the description without its quotes 「」
};

RareCharacter rareCharacter(QStringView body);

}  // namespace velreader
