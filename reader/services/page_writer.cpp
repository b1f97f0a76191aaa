#include "reader/services/page_writer.h"

#include <QCryptographicHash>
#include <QFile>

#include "reader/rules/page_text.h"
#include "reader/rules/lines.h"
#include "reader/services/pictures.h"

namespace velreader::web {
namespace {

QByteArray resource(const char* name) {
    QFile file(QStringLiteral(":/velreader/web/") + QLatin1String(name));
    // Built into the program: it is always there.
    if (!file.open(QIODevice::ReadOnly)) qFatal("the web page template %s is missing", name);
    return file.readAll();
}

QByteArray hashSource(const QByteArray& bytes) {
    return "'sha256-" + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toBase64() + "'";
}

QByteArray colourText(const QColor& colour) { return '"' + colour.name(QColor::HexRgb).toLatin1() + '"'; }

void appendKey(QByteArray& out, const char* key) {
    out.append('"');
    out.append(key);
    out.append("\":");
}

void appendDataUri(QByteArray& out, const QByteArray& mimeType, const QByteArray& bytes) {
    out.append("\"data:");
    out.append(mimeType);
    out.append(";base64,");
    out.append(bytes.toBase64());
    out.append('"');
}

// Where each line of more than one row is cut, as the reader cuts it (never
// inside a character cluster): [index, first row's length, second's].
void appendRowCuts(QByteArray& out, const QStringList& lines) {
    out.append('[');
    bool first = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].size() <= ChunkWidth) continue;
        const QStringList rows = pageRows(lines[i]);
        if (!first) out.append(',');
        first = false;
        out.append('[' + QByteArray::number(i) + ',' + QByteArray::number(rows[0].size()));
        if (rows.size() == 3) out.append(',' + QByteArray::number(rows[1].size()));
        out.append(']');
    }
    out.append(']');
}

void appendDesignations(QByteArray& out, const WebBook& book, const WebPictures& pictures) {
    out.append('[');
    for (qsizetype i = 0; i < book.designations.size(); ++i) {
        const WebDesignation& d = book.designations[i];
        if (i > 0) out.append(',');
        out.append("{\"slot\":" + QByteArray::number(d.slot) + ',');
        appendKey(out, "word");
        appendJsonString(out, d.word);
        out.append(',');
        appendKey(out, "entry");
        appendJsonString(out, d.entry);
        out.append(',');
        appendKey(out, "colour");
        out.append(d.colour.isValid() ? colourText(d.colour) : QByteArray("null"));
        out.append(',');
        // The picture's index, -1 for a picture named but not found, null
        // for an entry that names none.
        appendKey(out, "picture");
        if (d.pictureName.isEmpty()) {
            out.append("null");
        } else {
            int index = -1;
            for (const auto& [name, at] : pictures.names)
                if (name == d.pictureName) index = at;
            out.append(QByteArray::number(index));
        }
        out.append('}');
    }
    out.append(']');
}

void appendPictures(QByteArray& out, const WebPictures& pictures) {
    out.append('[');
    for (qsizetype i = 0; i < pictures.pictures.size(); ++i) {
        const EmbeddedPicture& p = pictures.pictures[i];
        if (i > 0) out.append(',');
        out.append('{');
        appendKey(out, "src");
        appendDataUri(out, p.mimeType, p.bytes);
        out.append(p.alpha ? ",\"alpha\":true" : ",\"alpha\":false");
        out.append(p.pixelated ? ",\"pixelated\":true}" : ",\"pixelated\":false}");
    }
    out.append("],");
    appendKey(out, "names");
    out.append('[');
    for (qsizetype i = 0; i < pictures.names.size(); ++i) {
        if (i > 0) out.append(',');
        out.append('[');
        appendJsonString(out, pictures.names[i].first);
        out.append(',' + QByteArray::number(pictures.names[i].second) + ']');
    }
    out.append("],");
    appendKey(out, "missing");
    out.append('[');
    for (qsizetype i = 0; i < pictures.missing.size(); ++i) {
        if (i > 0) out.append(',');
        appendJsonString(out, pictures.missing[i]);
    }
    out.append(']');
}

void appendBook(QByteArray& out, const WebBook& book, const WebPictures& pictures) {
    const PageMetrics& m = book.metrics;
    out.append('{');
    appendKey(out, "title");
    appendJsonString(out, book.title);
    out.append(",\"lineCount\":" + QByteArray::number(book.lineCount) + ',');
    appendKey(out, "page");
    out.append("{\"lineHeight\":" + QByteArray::number(m.lineHeight) + ",\"ascent\":" + QByteArray::number(m.ascent) +
               ",\"titleAscent\":" + QByteArray::number(m.titleAscent) + ",\"titleLeft\":" +
               QByteArray::number(m.titleLeft) + ",\"titleTop\":" + QByteArray::number(m.titleTop) +
               ",\"titleRight\":" + QByteArray::number(m.titleRight) + ",\"colour\":" +
               colourText(book.defaultColour) + ",\"blank\":");
    appendDataUri(out, "image/png", pngBytes(book.blankPage));
    out.append("},");
    appendKey(out, "words");
    appendDesignations(out, book, pictures);
    out.append(',');
    appendKey(out, "pictures");
    appendPictures(out, pictures);
    out.append(',');
    appendKey(out, "rows");
    appendRowCuts(out, book.lines);
    out.append(',');
    appendKey(out, "lines");
    out.append('[');
    for (qsizetype i = 0; i < book.lines.size(); ++i) {
        if (i > 0) out.append(',');
        appendJsonString(out, book.lines[i]);
    }
    out.append(']');
}

}  // namespace

const PageTemplate& pageTemplate() {
    static const PageTemplate page{resource("page.html"), resource("player.js"), resource("page.css")};
    return page;
}

QByteArray contentSecurityPolicy(const QByteArray& script, const QByteArray& style) {
    return "default-src 'none'; script-src " + hashSource(script) + "; style-src " + hashSource(style) +
           "; img-src data:; base-uri 'none'; form-action 'none'";
}

QByteArray webPage(const WebBook& book, const WebPictures& pictures) {
    const PageTemplate& page = pageTemplate();
    qsizetype estimate = page.html.size() + page.script.size() + page.style.size() + 4096;
    for (const QString& line : book.lines) estimate += line.size() * 3 + 3;
    for (const EmbeddedPicture& picture : pictures.pictures) estimate += picture.bytes.size() * 4 / 3 + 64;
    QByteArray out;
    out.reserve(estimate);

    // One pass over the template: what is put in is never looked at again,
    // so nothing in a book can be taken for a place to fill.
    const QByteArray& html = page.html;
    qsizetype at = 0;
    while (true) {
        const qsizetype open = html.indexOf("{{", at);
        const qsizetype close = open < 0 ? -1 : html.indexOf("}}", open + 2);
        if (close < 0) {
            out.append(html.constData() + at, html.size() - at);
            break;
        }
        out.append(html.constData() + at, open - at);
        const QByteArrayView name(html.constData() + open + 2, close - open - 2);
        if (name == "CSP") out.append(contentSecurityPolicy(page.script, page.style));
        else if (name == "TITLE") out.append(htmlText(book.title));
        else if (name == "STYLE") out.append(page.style);
        else if (name == "SCRIPT") out.append(page.script);
        else if (name == "BOOK") {
            // The book's key: a hash of all it holds, under which a browser
            // keeps the place reached, so that another book or a changed
            // export starts at its beginning.
            const qsizetype from = out.size();
            appendBook(out, book, pictures);
            const QByteArray key =
                QCryptographicHash::hash(QByteArrayView(out).sliced(from), QCryptographicHash::Sha256).toHex().left(32);
            out.append(",\"key\":\"" + key + "\"}");
        }
        else out.append(html.constData() + open, close + 2 - open);
        at = close + 2;
    }
    return out;
}

}  // namespace velreader::web
