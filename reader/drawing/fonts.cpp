#include "reader/drawing/fonts.h"

#include <QFontDatabase>

namespace velreader {
namespace {
const QString Gothic = QStringLiteral("ＭＳ ゴシック");
const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString IpaGothic = QStringLiteral("IPAGothic");
const QString IpaPGothic = QStringLiteral("IPAPGothic");

// The family a font of the window's name is made with: the Windows font where
// it is installed, else the IPA font that stands in for it. Naming the family
// that is really there spares Qt a search: a family it does not have sends it
// through fontconfig's list of fallbacks (milliseconds of the start-up, once
// for each family) before it tries the substitute, which it then takes.
QString installedFamily(const QString& windowsName, const QString& ipaName) {
    // Listed once for the three fonts: each listing goes through every
    // installed family.
    static const QStringList families = QFontDatabase::families();
    if (families.contains(windowsName)) return windowsName;
    if (families.contains(ipaName)) return ipaName;
    return windowsName;  // neither is here: Qt's own matching picks one
}
}  // namespace

void installFontSubstitutions() {
    if (QFont::substitutes(Gothic).isEmpty()) QFont::insertSubstitution(Gothic, IpaGothic);
    if (QFont::substitutes(PGothic).isEmpty()) QFont::insertSubstitution(PGothic, IpaPGothic);
}

// Each font is made on first use and kept for the life of the process (never
// destroyed: a font must not outlive the application's font cache).
const QFont& pageFont() {
    static const QFont* const font = [] {
        installFontSubstitutions();
        auto* font = new QFont(installedFamily(Gothic, IpaGothic), 9);
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
        return new QFont(installedFamily(PGothic, IpaPGothic), 9);
    }();
    return *font;
}

const QFont& titleFont() {
    static const QFont* const font = [] {
        installFontSubstitutions();
        return new QFont(installedFamily(Gothic, IpaGothic), 12, QFont::Bold);
    }();
    return *font;
}

}  // namespace velreader
