#pragma once

#include <QColor>
#include <QImage>
#include <QStringList>

namespace velreader {

// The guide's pictures, drawn here. Each is drawn at `scale` device pixels
// per pixel and carries that device pixel ratio, so it stays sharp on a
// high-density screen.

// The reader window in the player view (showing `page`, a 400 x 200 page
// picture, with the sample rows) or in the reading view, as it looks.
QImage drawWindowPicture(bool playerView, const QImage& pagePicture, qreal scale);
// The eleven colour words, each printed in its colour on the blank page
// colour above a swatch.
QImage drawColourChart(qreal scale);
// A 400 x 200 page with `picture` (blank when null) and `rows` printed in
// `colour`, as playback shows it.
QImage drawPage(const QImage& picture, const QColor& colour, const QStringList& rows, qreal scale);

}  // namespace velreader
