#include "reader/drawing/fonts.h"

namespace velreader {
namespace {
const QString Gothic = QStringLiteral("ＭＳ ゴシック");
const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");
}  // namespace

void installFontSubstitutions() {
    if (QFont::substitutes(Gothic).isEmpty()) QFont::insertSubstitution(Gothic, QStringLiteral("IPAGothic"));
    if (QFont::substitutes(PGothic).isEmpty()) QFont::insertSubstitution(PGothic, QStringLiteral("IPAPGothic"));
}

// Each font is made on first use and kept for the life of the process (never
// destroyed: a font must not outlive the application's font cache).
const QFont& pageFont() {
    static const QFont* const font = [] {
        installFontSubstitutions();
        auto* font = new QFont(Gothic, 9);
        // Plain pixels like the bitmap glyphs of the Windows font at this
        // size, which also keeps the rows crisp over pictures.
        font->setStyleStrategy(QFont::NoAntialias);
        return font;
    }();
    return *font;
}

const QFont& listingFont() {
    static const QFont* const font = [] {
        installFontSubstitutions();
        return new QFont(PGothic, 9);
    }();
    return *font;
}

const QFont& titleFont() {
    static const QFont* const font = [] {
        installFontSubstitutions();
        return new QFont(Gothic, 12, QFont::Bold);
    }();
    return *font;
}

}  // namespace velreader
