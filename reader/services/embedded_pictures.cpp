// The pictures of a web page: found as a play step finds them, embedded once
// each in the format browsers show.
#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QSet>

#include "reader/services/web_book.h"
#include "reader/drawing/page.h"
#include "reader/services/pictures.h"
#include "reader/rules/play_rule.h"

namespace velreader::web {
namespace {

// What browsers show of these formats is what the reader shows: a still
// picture, drawn as its pixels are.
QByteArray mimeTypeOf(const QByteArray& format) {
    if (format == "png") return "image/png";
    if (format == "jpeg" || format == "jpg") return "image/jpeg";
    if (format == "gif") return "image/gif";
    if (format == "bmp") return "image/bmp";
    if (format == "webp") return "image/webp";
    return {};
}

EmbeddedPicture embed(const QByteArray& bytes, const QImage& decoded) {
    EmbeddedPicture picture;
    picture.alpha = decoded.hasAlphaChannel();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    picture.pixelated = size.isValid() && size.width() <= PageSurface::Width && size.height() <= PageSurface::Height;
    picture.mimeType = mimeTypeOf(reader.format());
    // The reader shows the first picture of an animation and nothing more.
    const bool still = reader.imageCount() <= 1;
    if (!picture.mimeType.isEmpty() && still) {
        picture.bytes = bytes;
        return picture;
    }
    picture.mimeType = "image/png";
    picture.converted = true;
    buffer.seek(0);
    const QImage first = decodePicture(&buffer);
    picture.bytes = pngBytes(first.isNull() ? decoded : first);
    return picture;
}

// The file a picture name means: in the first folder that has it.
QString pathOf(const QStringList& folders, const QString& name) {
    for (const QString& folder : folders)
        if (QFileInfo::exists(folder + name)) return folder + name;
    return {};
}

// The slots whose designations apply to some line of the book, as a play
// step applies them: only their pictures can ever show.
WordMatcher::Slots occurring(const WebBook& book, const std::atomic<bool>* cancel) {
    std::array<QString, WordSlots> words;
    std::array<QString, WordSlots> entries;
    WordMatcher::Slots wanted = 0;
    for (const WebDesignation& d : book.designations) {
        if (d.slot < 0 || d.slot >= WordSlots || d.word.isEmpty() || d.pictureName.isEmpty()) continue;
        words[d.slot] = d.word;
        entries[d.slot] = d.entry;
        wanted |= WordMatcher::Slots(1) << d.slot;
    }
    const PlayRule rule(words, entries);
    WordMatcher::Slots found = 0;
    for (const QString& line : book.lines) {
        found |= rule.applying(line);
        if ((found & wanted) == wanted || (cancel && *cancel)) break;
    }
    return found;
}

}  // namespace

WebPictures collectPictures(const WebBook& book, const std::atomic<bool>* cancel) {
    PictureStore store(book.pictureFolders);
    WebPictures out;
    QSet<QString> looked;
    QHash<QByteArray, int> byContent;
    const WordMatcher::Slots shown = occurring(book, cancel);
    for (const WebDesignation& d : book.designations) {
        if (cancel && *cancel) break;
        // A designation whose word is empty or occurs in no line never
        // applies, so its picture never shows and is left out.
        if (d.word.isEmpty() || d.pictureName.isEmpty() || looked.contains(d.pictureName)) continue;
        if (d.slot < 0 || d.slot >= WordSlots || !((shown >> d.slot) & 1)) continue;
        looked.insert(d.pictureName);
        // Found exactly when a play step would find and show it.
        const QImage decoded = store.load(d.pictureName, QSize(PageSurface::Width, PageSurface::Height));
        const QString path = decoded.isNull() ? QString() : pathOf(book.pictureFolders, d.pictureName);
        const common::ReadResult file =
            path.isEmpty() ? common::ReadResult{} : common::readFile(path, PictureStore::MaxFileSize);
        if (path.isEmpty() || !file.ok()) {
            out.missing << d.pictureName;
            continue;
        }
        EmbeddedPicture picture = embed(file.bytes, decoded);
        const QByteArray key = QCryptographicHash::hash(picture.bytes, QCryptographicHash::Sha256);
        int index = byContent.value(key, -1);
        if (index < 0) {
            index = int(out.pictures.size());
            byContent.insert(key, index);
            out.pictures.append(std::move(picture));
        }
        out.names.append({d.pictureName, index});
    }
    return out;
}

}  // namespace velreader::web
