#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

namespace velreader {

class PageSurface;

// The sample rows the designation dialog's preview prints for `word`: a
// line holding the word, as playback would show it, cut to the page's row
// width.
QStringList previewRows(const QString& word);

// A 400 x 200 page as playback shows it once a designation applies: the
// picture stretched over the page (the blank page when `picture` is null)
// and `rows` printed from the first row's place in `colour` (the default
// text colour when there is none).
QImage renderPreview(const QImage& picture, const std::optional<QColor>& colour, const QStringList& rows);
// The same page as a page surface, to be drawn at any scale.
PageSurface previewPage(const QImage& picture, const QColor& colour, const QStringList& rows);

}  // namespace velreader
