#include "reader/services/web_book.h"

#include <QFileInfo>
#include <QFontMetrics>

#include "reader/services/page_writer.h"
#include "reader/rules/play_rule.h"
#include "reader/drawing/fonts.h"
#include "reader/drawing/page.h"
#include "reader/state/reader_state.h"

namespace velreader::web {
namespace {

// The title's place in the window, and the page's: the title floats over the
// page and is cut at the page frame's right edge.
constexpr QPoint PageInWindow(7, 28);
constexpr QPoint TitleInWindow(151, 84);
constexpr int FrameRightInWindow = 407;

WebDesignation designationOf(int slot, const QString& word, const QString& entry) {
    // The same reading of the entry as a play step's.
    const EntryEffect effect = entryEffect(entry);
    WebDesignation d{slot, word, entry, {}, effect.picture};
    if (effect.colour) d.colour = QColor::fromRgb(*effect.colour);
    return d;
}

}  // namespace

WebBook makeWebBook(const ReaderState& state, const PageSurface& page, const QImage& blankPage,
                    const QStringList& pictureFolders) {
    WebBook book;
    book.title = state.DisplayLines.value(0);
    book.lineCount = state.LineCount;
    const qsizetype shown = std::min<qsizetype>(state.LineCount + 1, state.DisplayLines.size());
    book.lines = shown == state.DisplayLines.size() ? state.DisplayLines : state.DisplayLines.mid(0, shown);
    for (int k = 0; k < WordSlots; ++k) {
        if (state.WordTable[k].isEmpty() && state.PictureTable[k].isEmpty()) continue;
        book.designations.append(designationOf(k, state.WordTable[k], state.PictureTable[k]));
    }
    book.pictureFolders = pictureFolders;
    book.blankPage = blankPage;
    book.defaultColour = DefaultTextColour;

    const QFontMetrics pageMetrics(page.font(), &page.image());
    const QFontMetrics titleMetrics(titleFont(), &page.image());
    book.metrics = {page.lineHeight(),
                    pageMetrics.ascent(),
                    titleMetrics.ascent(),
                    TitleInWindow.x() - PageInWindow.x(),
                    TitleInWindow.y() - PageInWindow.y(),
                    FrameRightInWindow - PageInWindow.x()};
    return book;
}


QString withHtmlSuffix(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QStringLiteral(".html");
}

WebExportResult exportWebBook(const WebBook& book, const QString& path, const std::atomic<bool>* cancel) {
    WebExportResult result;
    result.path = path;
    const WebPictures pictures = collectPictures(book, cancel);
    for (const auto& named : pictures.names) result.pictures << named.first;
    result.missing = pictures.missing;
    if (cancel && *cancel) {
        result.cancelled = true;
        return result;
    }
    const QByteArray page = webPage(book, pictures);
    if (cancel && *cancel) {
        result.cancelled = true;
        return result;
    }
    result.error = common::replaceFile(path, page);
    if (result.error.ok()) result.size = page.size();
    return result;
}

QString exportReport(const WebExportResult& result) {
    const QString name = QFileInfo(result.path).fileName();
    if (result.cancelled) return QStringLiteral("書き出しを中止しました。");
    if (!result.error.ok())
        return QStringLiteral("書き出せませんでした：%1：%2").arg(result.path, result.error.japaneseReason());
    QString report = QStringLiteral("書き出し完了。\r\n%1（%2 バイト）\r\n").arg(name).arg(result.size);
    report += result.pictures.isEmpty() ? QStringLiteral("絵：なし")
                                        : QStringLiteral("絵：") + result.pictures.join(QStringLiteral("、"));
    if (!result.missing.isEmpty())
        report += QStringLiteral("\r\n見つからない絵：") + result.missing.join(QStringLiteral("、"));
    return report;
}

}  // namespace velreader::web
