#pragma once

#include <array>
#include <optional>

#include <QColor>
#include <QStringView>

namespace velreader {

// One colour word after "＞" and the text colour it names.
struct ColourWord {
    char16_t word;
    QColor colour;
};

// The eleven colour words in their fixed order, "白" to "オ".
const std::array<ColourWord, 11>& textColourTable();

// The text colour a colour word names ("白", "黒", "赤", ... "オ"); nothing
// for any other text. The whole text must match.
std::optional<QColor> textColourFor(QStringView colourWord);

}  // namespace velreader
