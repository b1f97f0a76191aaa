#pragma once

#include <atomic>

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include "common/fileio.h"

namespace velreader {

class PageSurface;
struct ReaderState;

namespace web {

// One designation slot that holds something, with what a play step makes of
// its entry: the colour its colour word names (invalid when none) and the
// name of its picture (empty when the entry names none).
struct WebDesignation {
    int slot = 0;
    QString word;
    QString entry;
    QColor colour;
    QString pictureName;
};

// Where the page prints, in page units: the page font's line height and
// ascent, and the title's ascent and place over the page.
struct PageMetrics {
    int lineHeight = 0;
    int ascent = 0;
    int titleAscent = 0;
    int titleLeft = 0;
    int titleTop = 0;
    int titleRight = 0;  // where a long title is cut
};

// Everything a web page of the book needs, copied from the reader on its own
// thread; the export can then run anywhere while the reader goes on.
struct WebBook {
    QString title;                     // DisplayLines(0)
    int lineCount = 0;                 // LineCount
    QStringList lines;                 // DisplayLines 0 to LineCount (fewer if the text is shorter)
    QList<WebDesignation> designations;  // slots 0 to 50 that hold a word or an entry, in slot order
    QStringList pictureFolders;        // searched in order, as playback does
    QImage blankPage;                  // `Pura`
    QColor defaultColour;
    PageMetrics metrics;
};

// Takes what the page needs from the reader's state, its page (for the
// fonts' measures), its blank page and its picture folders; changes nothing
// in them. Cheap: the lines are shared, not copied.
WebBook makeWebBook(const ReaderState& state, const PageSurface& page, const QImage& blankPage,
                    const QStringList& pictureFolders);

// A picture as the page holds it: the file's own bytes when browsers show
// the format as the reader does, else the reader's decoded picture as PNG.
struct EmbeddedPicture {
    QByteArray bytes;
    QByteArray mimeType;
    bool converted = false;  // bytes are a PNG made from the file
    bool alpha = false;      // the reader's decoded picture has an alpha channel
    bool pixelated = false;  // no larger than the page: shown in blocks of whole pixels, as the reader does
};

// The pictures the designations name, each file embedded once.
struct WebPictures {
    QList<EmbeddedPicture> pictures;
    QList<std::pair<QString, int>> names;  // picture name -> index in `pictures`, in the order first named
    QStringList missing;                   // named but not found or not readable, in the order first named
};

// Looks up every picture a designation with a word names, exactly as a play
// step would (the same folders, names and formats); `cancel` may stop it.
WebPictures collectPictures(const WebBook& book, const std::atomic<bool>* cancel = nullptr);

// What an export did.
struct WebExportResult {
    QString path;
    common::FileError error;   // the write's error
    qint64 size = 0;           // bytes written
    QStringList pictures;      // names of the embedded pictures, in the order first named
    QStringList missing;       // names not found
    bool cancelled = false;
    bool ok() const { return !cancelled && error.ok(); }
};

// Writes the book as one web page to `path`, replacing a file that is there
// only once the new one is whole. Safe to run on any thread.
WebExportResult exportWebBook(const WebBook& book, const QString& path, const std::atomic<bool>* cancel = nullptr);

// The message the input box shows after an export: "書き出し完了。", the file
// name, its size and the pictures, or why nothing was written.
QString exportReport(const WebExportResult& result);

// `path` with ".html" added when its file name has no extension.
QString withHtmlSuffix(const QString& path);

}  // namespace web
}  // namespace velreader
