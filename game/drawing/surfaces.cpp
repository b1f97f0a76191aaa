#include "game/drawing/surfaces.h"

#include <QColor>
#include <QSize>

// The art is compiled into this static library; its resources must be
// registered by hand, since nothing else refers to them.
static void registerGameArt() { Q_INIT_RESOURCE(art); }

namespace {

constexpr QRgb kBannerPink = 0xFFFFD5D5;

// Loads one picture of the game's art as an unshared RGB32 image of the
// expected size.
bool loadPicture(QImage& out, const char* name, QSize size, QString* error) {
    const QString path = QStringLiteral(":/game/%1.xpm").arg(QLatin1String(name));
    QImage image(path);
    if (image.isNull() || image.size() != size) {
        if (error) *error = QStringLiteral("picture %1 is missing or not %2 x %3")
                                .arg(QLatin1String(name)).arg(size.width()).arg(size.height());
        return false;
    }
    out = image.convertToFormat(QImage::Format_RGB32);
    out.detach();
    return true;
}

QImage plain(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

}  // namespace

const QImage& GameSurfaces::background(int choice) const {
    switch (choice) {
    case 2: return Pic2;
    case 3: return Pic3;
    case 4: return Pic4;
    default: return Pic1;
    }
}

bool loadGameSurfaces(GameSurfaces& s, QString* error) {
    registerGameArt();
    const QSize field(200, 150), sheep(40, 40), small(20, 20);
    bool ok = loadPicture(s.Pic1, "Pic1", field, error) && loadPicture(s.Pic2, "Pic2", field, error) &&
              loadPicture(s.Pic3, "Pic3", field, error) && loadPicture(s.Pic4, "Pic4", field, error) &&
              loadPicture(s.Phb1, "Phb1", sheep, error) && loadPicture(s.Phb2, "Phb2", sheep, error) &&
              loadPicture(s.Phh, "Phh", sheep, error) && loadPicture(s.Phhb, "Phhb", sheep, error) &&
              loadPicture(s.Pminh1, "Pminh1", small, error) && loadPicture(s.Pminh2, "Pminh2", small, error) &&
              loadPicture(s.Pminh1b, "Pminh1b", small, error) &&
              loadPicture(s.Pminh2b, "Pminh2b", small, error) &&
              loadPicture(s.PZeb, "PZeb", QSize(200, 40), error) &&
              loadPicture(s.Pgamen, "Pgamen", QSize(425, 170), error);
    static const char* const left[] = {"Ph1", "Ph2", "Ph3", "Ph4", "Ph5"};
    static const char* const right[] = {"Ph11", "Ph22", "Ph33", "Ph44", "Ph55"};
    for (int i = 0; ok && i < 5; ++i) {
        ok = loadPicture(s.Ph[i], left[i], sheep, error) && loadPicture(s.PhRight[i], right[i], sheep, error);
    }
    if (!ok) return false;
    // The field starts with the meadow in the background, the back buffer
    // and on screen; copy() gives each its own pixels.
    s.Pkiso = s.Pic1.copy();
    s.Pura = s.Pic1.copy();
    s.Pmain = s.Pic1.copy();
    s.Pminkiso = plain(small, kBannerPink);
    s.Pminhai = plain(small, kBannerPink);
    return true;
}
