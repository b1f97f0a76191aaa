#include "reader/window/fonts.h"

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
    return QFont(Gothic, 9);
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
