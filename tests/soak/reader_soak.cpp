// Soak of the reader through its handlers, off screen: read a text, designate
// words, play it to the end, save it as a book and load it again, many times
// over, with the memory after the first hundred cycles compared with the
// memory at the end.
//
//   reader_soak [cycles]      (default 1000)
#include "reader/core/reader_core.h"
#include "soak_memory.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QDir(folder).mkpath(QStringLiteral("E"));
    QDir(folder).mkpath(QStringLiteral("Book"));
    QImage picture(320, 160, QImage::Format_RGB32);
    picture.fill(QColor(200, 230, 255));
    picture.save(folder + QStringLiteral("E/umi.png"));
    picture.fill(QColor(210, 240, 200));
    picture.save(folder + QStringLiteral("E/mori.png"));

    const QString book = folder + QStringLiteral("Book/soak.vln");
    velreader::ReaderCore reader(folder);
    reader.setFileDialog([&](const velreader::FileDialogRequest&) { return book; });
    reader.Form_Load();

    QString text;
    for (int p = 0; p < 40; ++p) {
        text += QStringLiteral("第%1段。ひつじは海を見て、それから森へ歩いていきました。風が吹いて、雲が流れていきます。\r\n\r\n").arg(p);
    }
    const QString designations[] = {QStringLiteral("海：umi.png＞青"), QStringLiteral("森：mori.png＞緑"),
                                    QStringLiteral("風：＞赤"), QStringLiteral("雲：nothing.png＞灰")};

    long memoryAt100 = 0;
    long steps = 0;
    for (int c = 0; c < cycles; ++c) {
        reader.L2_Click();
        reader.controls().Text1.text = text + QString::number(c);
        reader.Command1_Click();
        for (const QString& d : designations) {
            reader.controls().Text1.text = d;
            reader.Command3_Click();
        }
        reader.Command5_Click();
        reader.L1_Click();
        reader.Command4_Click();
        while (reader.controls().Command2.enabled) {
            reader.Command2_Click();
            ++steps;
        }
        reader.AllSave_Click();
        reader.AllLoad_Click();
        if (reader.controls().Text1.text != QStringLiteral("ロード完了。")) {
            std::printf("cycle %d: the load said %s\n", c, qPrintable(reader.controls().Text1.text));
            return 1;
        }
        reader.Command7_Click();
        if (c == 99) memoryAt100 = residentKb();
    }
    const long memoryEnd = residentKb();
    std::printf("cycles: %d (%ld play steps), memory after 100: %ld kB, at the end: %ld kB\n", cycles, steps,
                memoryAt100, memoryEnd);
    const bool ok = cycles < 100 || memoryEnd - memoryAt100 <= 1024;
    if (!kMemoryIsMeaningful) {
        std::printf("memory growth not judged: built with AddressSanitizer\n");
        return 0;
    }
    std::printf("memory growth within 1 MB: %s\n", ok ? "yes" : "NO");
    return ok ? 0 : 1;
}
