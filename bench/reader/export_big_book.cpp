// A big book exported as a web page through the real reader window, off
// screen: how long 記録 > "Webページとして書き出す..." takes until the input
// box says it is done, the longest the event loop stood still meanwhile, and
// the file's size against its bound (1.25 x the UTF-8 size of the text, plus
// the pictures in base64, plus 50 KB).
//
//   export_big_book LINES [OUT.html]   (330000 gives a book of about 9 MB)
//
// With OUT.html the page is kept there, for bench/reader/web_page_timing.py.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "bench/reader/big_book_tools.h"
#include "reader/rules/bookformat.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader/ui/web_export.h"

using bigbooks::proseLines;
using bigbooks::StallWatch;

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its reading places and recent books in a settings
    // folder of the run's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 330000;
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QDir(folder).mkpath(QStringLiteral("Book"));
    QDir(folder).mkpath(QStringLiteral("E"));
    const QStringList pictures = {"umi.png", "mori.png", "yoru.png", "asa.png"};
    qint64 pictureBase64 = 0;
    for (const QString& name : pictures) {
        QFile::copy(QStringLiteral(VELREADER_ASSETS "/E/") + name, folder + "E/" + name);
        QFile file(folder + "E/" + name);
        file.open(QIODevice::ReadOnly);
        pictureBase64 += file.readAll().toBase64().size();
    }
    const QString bookPath = folder + QStringLiteral("Book/big.vln");
    const QString pagePath = argc > 2 ? QString::fromLocal8Bit(argv[2]) : folder + QStringLiteral("Book/big.html");

    const QStringList lines = proseLines(count);
    {
        velreader::Book book;
        book.lineCount = count;
        book.lines = lines;
        const char* designations[][2] = {{"海", "umi.png＞青"}, {"森", "mori.png＞緑"}, {"夜", "yoru.png＞白"},
                                         {"朝", "asa.png＞茶"}, {"星", "＞黄"}, {"羊", "hitsuji.png"}};
        for (const auto& [word, entry] : designations) {
            book.words[book.wordCount] = QString::fromUtf8(word);
            book.entries[book.wordCount++] = QString::fromUtf8(entry);
        }
        const velreader::BookBytes bytes = velreader::serialiseBook(book);
        QFile file(bookPath);
        if (!bytes.ok() || !file.open(QIODevice::WriteOnly) || file.write(bytes.bytes) != bytes.bytes.size()) return 1;
    }
    qint64 textBytes = 0;
    for (const QString& line : lines) textBytes += line.toUtf8().size();
    std::printf("book: %d display lines, %.2f MB of text in UTF-8, pictures %.1f KB in base64\n", count,
                textBytes / 1048576.0, pictureBase64 / 1024.0);

    velreader::VReader3 window(folder);
    window.core().setFileDialog([&](const velreader::FileDialogRequest&) { return bookPath; });
    window.show();
    window.loadAction()->trigger();
    // The load's listing has reached the box before the export starts.
    while (window.text2()->filling() || window.text1()->filling()) QApplication::processEvents();
    QApplication::processEvents();
    if (window.core().controls().Text1.text != QStringLiteral("ロード完了。")) {
        std::printf("load failed: %s\n", qPrintable(window.core().controls().Text1.text));
        return 1;
    }

    auto* exporter = window.findChild<velreader::WebExport*>();
    exporter->setPathChooser([&](const QString&) { return pagePath; });
    QSignalSpy finished(exporter, &velreader::WebExport::finished);
    StallWatch watch;
    QApplication::processEvents();
    watch.start();
    QElapsedTimer clock;
    clock.start();
    exporter->action()->trigger();
    while (finished.isEmpty()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::processEvents();
    const double ms = clock.nsecsElapsed() / 1e6;
    const qint64 stall = watch.stop();
    const QString report = window.core().controls().Text1.text;
    if (!report.startsWith(QStringLiteral("書き出し完了。"))) {
        std::printf("export failed: %s\n", qPrintable(report));
        return 1;
    }
    const qint64 size = QFileInfo(pagePath).size();
    const qint64 bound = textBytes * 5 / 4 + pictureBase64 + 50 * 1024;
    std::printf("export through the window          %8.1f ms, longest stall %4lld ms (goal: under 2 s, 100 ms)\n", ms,
                stall);
    std::printf("page: %.2f MB; bound %.2f MB; %.3f x the text + pictures (%s)\n", size / 1048576.0,
                bound / 1048576.0, double(size) / double(textBytes + pictureBase64), size <= bound ? "met" : "NOT MET");
    std::printf("the input box says: %s\n", qPrintable(report.split(QStringLiteral("\r\n")).join(u' ')));
    return 0;
}
