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

QFont pageFont() {
    installFontSubstitutions();
    QFont font(Gothic, 9);
    // Plain pixels like the bitmap glyphs of the Windows font at this size,
    // which also keeps the rows crisp over pictures.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QFont listingFont() {
    installFontSubstitutions();
    return QFont(PGothic, 9);
}

QFont titleFont() {
    installFontSubstitutions();
    return QFont(Gothic, 12, QFont::Bold);
}

}  // namespace velreader
