#include "game/drawing/surfaces.h"

#include "game/drawing/game_art.h"

#include <QColor>
#include <QSize>
#include <cstring>

namespace {

constexpr QRgb kBannerPink = 0xFFFFD5D5;

const ArtPicture* findPicture(const char* name) {
    for (int i = 0; i < kGameArtCount; ++i) {
        if (std::strcmp(kGameArt[i].name, name) == 0) return &kGameArt[i];
    }
    return nullptr;
}

// One picture of the game's art. Pictures that are only ever read wrap the
// program's constant pixels without a copy; `writable` gives the surface
// pixels of its own to draw on.
bool loadPicture(QImage& out, const char* name, QSize size, bool writable, QString* error) {
    const ArtPicture* picture = findPicture(name);
    if (!picture || QSize(picture->width, picture->height) != size) {
        if (error) *error = QStringLiteral("picture %1 is missing or not %2 x %3")
                                .arg(QLatin1String(name)).arg(size.width()).arg(size.height());
        return false;
    }
    const QImage wrapped(reinterpret_cast<const uchar*>(picture->pixels), picture->width, picture->height,
                         picture->width * 4, QImage::Format_RGB32);
    out = writable ? wrapped.copy() : wrapped;
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
    const QSize field(200, 150), sheep(40, 40), small(20, 20);
    bool ok = loadPicture(s.Pic1, "Pic1", field, false, error) && loadPicture(s.Pic2, "Pic2", field, false, error) &&
              loadPicture(s.Pic3, "Pic3", field, false, error) && loadPicture(s.Pic4, "Pic4", field, false, error) &&
              loadPicture(s.Phb1, "Phb1", sheep, false, error) && loadPicture(s.Phb2, "Phb2", sheep, false, error) &&
              loadPicture(s.Phh, "Phh", sheep, false, error) && loadPicture(s.Phhb, "Phhb", sheep, false, error) &&
              loadPicture(s.Pminh1, "Pminh1", small, false, error) &&
              loadPicture(s.Pminh2, "Pminh2", small, false, error) &&
              loadPicture(s.Pminh1b, "Pminh1b", small, false, error) &&
              loadPicture(s.Pminh2b, "Pminh2b", small, false, error) &&
              loadPicture(s.PZeb, "PZeb", QSize(200, 40), true, error) &&
              loadPicture(s.Pgamen, "Pgamen", QSize(425, 170), false, error);
    static const char* const left[] = {"Ph1", "Ph2", "Ph3", "Ph4", "Ph5"};
    static const char* const right[] = {"Ph11", "Ph22", "Ph33", "Ph44", "Ph55"};
    for (int i = 0; ok && i < 5; ++i) {
        ok = loadPicture(s.Ph[i], left[i], sheep, false, error) &&
             loadPicture(s.PhRight[i], right[i], sheep, false, error);
    }
    if (!ok) return false;
    // The field starts with the meadow in the background, the back buffer
    // and on screen, each with pixels of its own.
    s.Pkiso = s.Pic1.copy();
    s.Pura = s.Pic1.copy();
    s.Pmain = s.Pic1.copy();
    s.Pminkiso = plain(small, kBannerPink);
    s.Pminhai = plain(small, kBannerPink);
    return true;
}
