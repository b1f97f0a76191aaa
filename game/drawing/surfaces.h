#pragma once

#include <QImage>
#include <QString>
#include <array>

// Every picture surface of the game window, all QImage::Format_RGB32. The
// surfaces that are drawn on (Pmain, PZeb, Pura, Pkiso, Pminhai) own their
// pixels; the pictures that are only read share the program's constant art.
struct GameSurfaces {
    // Visible surfaces.
    QImage Pmain;   // 200 x 150 play field
    QImage PZeb;    // 200 x 40 banner
    QImage Pgamen;  // 425 x 170 title picture

    // Work surfaces of the play field.
    QImage Pura;   // back buffer: every frame is composed here
    QImage Pkiso;  // the current background

    // Backgrounds.
    QImage Pic1, Pic2, Pic3, Pic4;

    // Sheep: Ph[0..4] are Ph1..Ph5 facing left (mask Phb1), PhRight[0..4]
    // are Ph11..Ph55 facing right (mask Phb2); Phh is a shorn sheep.
    std::array<QImage, 5> Ph;
    std::array<QImage, 5> PhRight;
    QImage Phb1, Phb2, Phh, Phhb;

    // The small walking sheep of the banner and its patches.
    QImage Pminh1, Pminh2, Pminh1b, Pminh2b, Pminkiso, Pminhai;

    // The background choice 1..4.
    const QImage& background(int choice) const;
};

// Takes the game's own art (compiled into the program) and builds the work
// surfaces: Pkiso, Pura and Pmain start as the meadow, the banner patches
// plain pink. Returns false and names the picture in `error` when a picture
// is missing or has the wrong size.
bool loadGameSurfaces(GameSurfaces& surfaces, QString* error = nullptr);
