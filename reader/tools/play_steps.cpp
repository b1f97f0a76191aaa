// Plays a book (or a text) with the reader's own handlers and prints, as one
// JSON document, the page after every step from a rewind to the end: what
// was drawn (pictures by name, rows with their place and colour), the text
// colour, the page picture, the line just played and whether "再生" is still
// enabled. With --export the book's web page is written first, from the same
// state, so that a browser can be held against the reader step by step.
//
//   velreader_play_steps --app FOLDER [--type TEXT.txt] [--designate TEXT]... [--export OUT.html] [FILE]
//
// FOLDER is the reader's application folder (its pictures are in FOLDER/E).
// FILE is opened as a dropped file is (a book, or a text); --type puts the
// UTF-8 text of a file into Text1 as if typed and reads it in ("読み込み"),
// so that it may hold what no text file may (a NUL). Each --designate is
// typed into Text1 and added with "単語指定".
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "reader/core/web_book_of.h"
#include "reader/services/web_book.h"
#include "reader/rules/lines.h"
#include "reader/rules/play_rule.h"
#include "reader/core/reader_core.h"

namespace {

using velreader::ReaderCore;

// The pictures the reader can show, by name, to tell which one a drawing is.
struct KnownPictures {
    QImage blank;
    QList<std::pair<QString, QImage>> named;

    QJsonValue nameOf(const QImage& image) const {
        if (image.cacheKey() == blank.cacheKey() || image == blank) return QJsonValue::Null;
        for (const auto& [name, picture] : named)
            if (image.cacheKey() == picture.cacheKey()) return name;
        for (const auto& [name, picture] : named)
            if (image == picture) return name;
        return QStringLiteral("?unknown");
    }
};

KnownPictures knownPictures(ReaderCore& reader) {
    KnownPictures known{reader.blankPage(), {}};
    const velreader::ReaderState& s = reader.state();
    for (int k = 0; k < velreader::WordSlots; ++k) {
        const QString name = velreader::entryEffect(s.PictureTable[k]).picture;
        if (name.isEmpty()) continue;
        const QImage image = reader.pictures().load(name, QSize(velreader::PageSurface::Width, velreader::PageSurface::Height));
        if (!image.isNull()) known.named.append({name, image});
    }
    return known;
}

QJsonObject pageAfterStep(const ReaderCore& reader, const KnownPictures& known, int steps) {
    QJsonArray drawings;
    for (const velreader::PageDrawing& d : reader.page().drawings()) {
        if (d.kind == velreader::PageDrawing::Kind::Picture) {
            drawings.append(QJsonObject{{"picture", known.nameOf(d.picture)}});
        } else {
            drawings.append(QJsonObject{{"text", d.text},
                                        {"x", d.baseline.x()},
                                        {"y", d.baseline.y()},
                                        {"colour", d.colour.name(QColor::HexRgb)}});
        }
    }
    const velreader::ReaderState& s = reader.state();
    return QJsonObject{
        {"steps", steps},
        {"line", reader.printedLine()},
        {"play", reader.controls().Command2.enabled},
        {"title", reader.controls().LTitle.visible},
        {"colour", reader.page().foreColor().name(QColor::HexRgb)},
        {"picture", known.nameOf(reader.pagePicture())},
        {"currentLine", s.CurrentLine},
        {"pageRowIndex", s.PageRowIndex},
        {"pageLineCount", s.PageLineCount},
        {"drawings", drawings},
    };
}

int usage() {
    std::fprintf(stderr, "usage: velreader_play_steps --app FOLDER [--type TEXT.txt] [--designate TEXT]... "
                         "[--export OUT.html] [FILE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString folder;
    QString exportPath;
    QStringList designations;
    QString file;
    QString typed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == u"--app" && hasValue) folder = args[++i];
        else if (args[i] == u"--designate" && hasValue) designations << args[++i];
        else if (args[i] == u"--export" && hasValue) exportPath = args[++i];
        else if (args[i] == u"--type" && hasValue) typed = args[++i];
        else if (file.isEmpty() && !args[i].startsWith(u"--")) file = args[i];
        else return usage();
    }
    if (folder.isEmpty() || file.isEmpty() == typed.isEmpty()) return usage();
    if (!folder.endsWith(u'/')) folder += u'/';

    ReaderCore reader(folder);
    reader.Form_Load();
    if (!file.isEmpty()) {
        reader.openFile(file);
    } else {
        QFile text(typed);
        if (!text.open(QIODevice::ReadOnly)) return usage();
        reader.controls().Text1.text = velreader::toCrLf(QString::fromUtf8(text.readAll()));
        reader.Command1_Click();
    }
    for (const QString& designation : designations) {
        reader.controls().Text1.text = designation;
        reader.Command3_Click();
    }
    reader.Command4_Click();

    if (!exportPath.isEmpty()) {
        const velreader::web::WebExportResult result =
            velreader::web::exportWebBook(velreader::web::webBookOf(reader), exportPath);
        std::fprintf(stderr, "%s\n", qPrintable(velreader::toLf(velreader::web::exportReport(result))));
        if (!result.ok()) return 1;
    }

    const KnownPictures known = knownPictures(reader);
    QJsonArray pages;
    pages.append(pageAfterStep(reader, known, 0));
    // A text plays LineCount + 1 steps; with no text there is nothing to play.
    for (int n = 1; reader.state().LineCount > 0 && reader.controls().Command2.enabled; ++n) {
        reader.Command2_Click();
        pages.append(pageAfterStep(reader, known, n));
    }
    const QJsonObject out{{"lineCount", reader.state().LineCount}, {"title", reader.state().DisplayLines.value(0)},
                          {"pages", pages}};
    const QByteArray json = QJsonDocument(out).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}
