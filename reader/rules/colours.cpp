#include "reader/rules/colours.h"

namespace velreader {

const std::array<ColourWord, 11>& textColourTable() {
    static const std::array<ColourWord, 11> TextColourTable{{
        {u'白', QColor(255, 255, 255)},
        {u'黒', QColor(0, 0, 0)},
        {u'赤', QColor(255, 0, 0)},
        {u'青', QColor(0, 0, 255)},
        {u'黄', QColor(255, 255, 0)},
        {u'緑', QColor(0, 128, 0)},
        {u'紫', QColor(192, 0, 192)},
        {u'茶', QColor(136, 0, 0)},
        {u'水', QColor(0, 255, 255)},
        {u'灰', QColor(192, 192, 192)},
        {u'オ', QColor(255, 192, 128)},
    }};
    return TextColourTable;
}

std::optional<QColor> textColourFor(QStringView colourWord) {
    if (colourWord.size() != 1) return std::nullopt;
    for (const auto& [word, colour] : textColourTable())
        if (colourWord.front() == QChar(word)) return colour;
    return std::nullopt;
}

}  // namespace velreader
