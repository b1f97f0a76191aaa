#pragma once

#include <cstdint>

// The game's own pictures as ready pixels, made at build time from the XPM
// files in assets/game: rows top to bottom, each pixel 0xffRRGGBB, the
// layout of QImage::Format_RGB32.
struct ArtPicture {
    const char* name;  // the picture's name, "Pic1", "Phb1", ...
    int width;
    int height;
    const uint32_t* pixels;
};

extern const ArtPicture kGameArt[];
extern const int kGameArtCount;
