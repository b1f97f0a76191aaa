#include "reader/services/designation_checks.h"

#include "reader/drawing/page.h"
#include "reader/rules/colours.h"
#include "reader/rules/designation_text.h"
#include "reader/services/pictures.h"

namespace velreader {
namespace {

const QChar ColourMarker(u'＞');

}  // namespace

PictureState pictureState(const QString& pictureName, PictureStore& pictures) {
    if (pictureName.isEmpty()) return PictureState::None;
    if (pictures.locate(pictureName).isEmpty()) return PictureState::Missing;
    // Decoded at the page's size, the size playback asks for, so the work is
    // not lost: the store keeps the picture.
    if (pictures.load(pictureName, QSize(PageSurface::Width, PageSurface::Height)).isNull())
        return PictureState::Unreadable;
    return PictureState::Found;
}

QStringList entryWarnings(const QString& entry, PictureStore& pictures) {
    if (entry.isEmpty()) return {QStringLiteral("「：」の後に絵も色もないので、この単語は何もしません。")};
    QStringList warnings;
    const DesignationParts parts = splitDesignation(QString(), entry);
    const QString folder = pictures.folders().value(0);
    switch (pictureState(parts.picture, pictures)) {
    case PictureState::Missing: {
        QString line = QStringLiteral("絵「%1」が絵のフォルダ（%2）に見つかりません。指定は登録しました。").arg(parts.picture, folder);
        if (parts.picture.contains(u'>')) line += QStringLiteral("色の言葉の前の「>」は全角の「＞」にします。");
        warnings << line;
        break;
    }
    case PictureState::Unreadable:
        warnings << QStringLiteral("「%1」は絵として読めません（PNG、JPEG、BMP、GIF の絵が使えます）。").arg(parts.picture);
        break;
    case PictureState::None:
    case PictureState::Found: break;
    }
    if (entry.contains(ColourMarker)) {
        if (parts.colour.isEmpty())
            warnings << QStringLiteral("「＞」の後に色の言葉がありません。");
        else if (!textColourFor(parts.colour))
            warnings << QStringLiteral("色の言葉「%1」は使えません（%2）。").arg(parts.colour, colourWords().join(u' '));
    }
    return warnings;
}

}  // namespace velreader
