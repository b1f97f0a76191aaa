#include "reader/drawing/preview.h"

#include "reader/drawing/page.h"
#include "reader/rules/lines.h"
#include "reader/drawing/fonts.h"

namespace velreader {

QStringList previewRows(const QString& word) {
    const QString shown = word.isEmpty() ? QStringLiteral("単語") : word;
    QStringList rows = pageRows(QStringLiteral("「%1」の出てくる行から、").arg(shown));
    rows << QStringLiteral("ページはこう見えます。");
    return rows;
}

QImage renderPreview(const QImage& picture, const std::optional<QColor>& colour, const QStringList& rows) {
    return previewPage(picture, colour.value_or(DefaultTextColour), rows).image();
}

PageSurface previewPage(const QImage& picture, const QColor& colour, const QStringList& rows) {
    PageSurface page;
    page.paintPicture(picture.isNull() ? blankPicture(DesignPictureColour) : picture);
    page.setForeColor(colour);
    // The places of the play step: x 10, each row 2 units below the last.
    page.setY(15);
    for (const QString& row : rows) {
        page.setX(10);
        page.setY(page.y() + 2);
        page.print(row);
    }
    return page;
}

}  // namespace velreader
