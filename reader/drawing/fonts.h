#pragma once

#include <QColor>
#include <QFont>

namespace velreader {

// Maps the window's Windows font names onto the IPA fonts, which have the
// same 2:1 metrics of full-width and half-width characters. Safe to call
// more than once.
void installFontSubstitutions();

// The reader's fonts are made once and shared: every copy shares the font
// matching done for the first, which Qt otherwise repeats for each new font.
//
// "ＭＳ ゴシック" 9 point: the window font, which the page prints in.
const QFont& pageFont();
// "ＭＳ Ｐゴシック" 9 point: the listing box.
const QFont& listingFont();
// "ＭＳ ゴシック" 12 point bold: the title floating over the page.
const QFont& titleFont();

// The single colour of the page's design pictures.
inline const QColor DesignPictureColour{255, 240, 240};
// The default text colour of the page and the title.
inline const QColor DefaultTextColour{136, 0, 0};

}  // namespace velreader
