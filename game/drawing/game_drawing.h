#pragma once

#include <QImage>

// The module `Game` of the game: the two procedures that draw every picture
// of the play field, the banner and the title. Surfaces are QImages in
// QImage::Format_RGB32; both procedures work on their pixels directly and
// stop the program when handed a surface of any other format.
namespace Game {

// Copies the width x height block at (sx, sy) of `source` onto `dest` with
// its top left corner at (dx, dy), replacing the destination's pixels.
// Fractional arguments are rounded to the nearest integer (a tie goes to the
// even neighbour); whatever falls outside either surface is not drawn. A
// block copied within one surface arrives as it was before the copy, also
// where source and destination overlap.
void CopyBlock(const QImage& source, double sx, double sy, double width, double height,
               QImage& dest, double dx, double dy);

// Draws the width x height block at (sx, sy) of `sprite` onto `dest` at
// (dx, dy) through `mask`: first every destination pixel becomes
// (destination OR mask), then (destination AND sprite), bitwise per channel.
// Where the mask is black the destination stays as it was; where it is white
// the sprite's pixel replaces it, white included. The same block is read
// from the sprite and the mask; the draw is clipped like CopyBlock.
void DrawMasked(const QImage& sprite, const QImage& mask, double sx, double sy, double width,
                double height, QImage& dest, double dx, double dy);

// Rounds a drawing argument the way both procedures do: to the nearest
// integer, ties to even.
int roundArgument(double value);

}  // namespace Game
