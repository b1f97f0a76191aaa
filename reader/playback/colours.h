#pragma once

#include <optional>

#include <QColor>
#include <QStringView>

namespace velreader {

// The text colour a colour word names ("白", "黒", "赤", ... "オ"); nothing
// for any other text. The whole text must match.
std::optional<QColor> textColourFor(QStringView colourWord);

}  // namespace velreader
