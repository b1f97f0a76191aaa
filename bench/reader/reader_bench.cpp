// Costs of the reader's work: reading a 1 MB Japanese text (the algorithm
// alone and the whole click in the window off screen), a play step with and
// without a picture change, and saving and loading books.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <map>

#include "bench/reader/big_book_tools.h"
#include "reader/rules/lines.h"
#include "reader/core/reader_core.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"

namespace {

using velreader::ReaderCore;

// A Japanese text of about `bytes` bytes in code page 932 (two bytes a
// character): paragraphs of 5 to 120 characters, now and then a blank line.
QString japaneseText(qsizetype bytes) {
    static const QString pool = QStringLiteral(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
        "羊毛丘森海夜朝空星月旅風雲雨雪花草木山川道家町村人子母父友声音光影色、。「」！？");
    QRandomGenerator random(42);
    QString text;
    text.reserve(bytes / 2 + 16);
    while (text.size() * 2 < bytes) {
        const int length = random.bounded(5, 121);
        for (int i = 0; i < length; ++i) text += pool[random.bounded(int(pool.size()))];
        text += random.bounded(8) == 0 ? QStringLiteral("\n\n") : QStringLiteral("\n");
    }
    return text;
}

// The text of `bytes` bytes (as UTF-16), made once per size.
const QString& textOfSize(qsizetype bytes) {
    static std::map<qsizetype, QString> texts;
    auto it = texts.find(bytes);
    if (it == texts.end()) it = texts.emplace(bytes, japaneseText(bytes)).first;
    return it->second;
}

// An application folder with "E" and "Book", removed at exit.
const QString& appFolder() {
    static QTemporaryDir dir;
    static const QString path = [] {
        QDir(dir.path()).mkpath(QStringLiteral("E"));
        QDir(dir.path()).mkpath(QStringLiteral("Book"));
        return dir.path() + u'/';
    }();
    return path;
}

// A 1920 x 1080 photo-like JPEG: gradients and noise, so it does not
// compress to nothing.
void writePhoto(const QString& path, QRgb tint) {
    QImage image(1920, 1080, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = random.bounded(40);
            line[x] = qRgb((qRed(tint) + x / 16 + n) % 256, (qGreen(tint) + y / 9 + n) % 256, (qBlue(tint) + n) % 256);
        }
    }
    image.save(path, "JPEG", 90);
}

void BM_ReadText_Algorithm(benchmark::State& state) {
    const QString text = velreader::toCrLf(textOfSize(state.range(0)));
    qsizetype lines = 0;
    for (auto _ : state) {
        velreader::Reading reading = velreader::readText(text);
        lines = reading.displayLines.size();
        benchmark::DoNotOptimize(reading);
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_ReadText_Algorithm)->Arg(30 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

// Reading a big text, the algorithm alone: the display lines of the big
// books' prose, a line a paragraph, either with no blank line anywhere
// (range(1) 0) or with a blank line after every eighth line (1). Twice the
// lines should take about twice the time either way.
void BM_ReadText_Lines(benchmark::State& state) {
    const int count = int(state.range(0));
    const bool blankLines = state.range(1) != 0;
    QStringList lines = bigbooks::proseLines(count);
    lines.removeLast();
    QString text;
    for (int i = 0; i < lines.size(); ++i) {
        text += lines[i];
        text += blankLines && i % 8 == 7 ? QStringLiteral("\r\n\r\n") : QStringLiteral("\r\n");
    }
    lines.clear();
    velreader::Reading reading;
    for (auto _ : state) {
        // Each reading starts from the heap a fresh process has: the last
        // reading freed and its free memory given back. Otherwise a size
        // measured after a larger one reuses the pages that one left, while
        // the larger one pays for new pages each time (glibc gives a large
        // free heap back at once), and the ratio of the two sizes measures
        // the order of the benchmarks rather than the reading.
        state.PauseTiming();
        reading = {};
        malloc_trim(0);
        state.ResumeTiming();
        reading = velreader::readText(text);
        benchmark::DoNotOptimize(reading);
    }
    state.counters["lines"] = double(reading.displayLines.size());
}
BENCHMARK(BM_ReadText_Lines)
    ->ArgNames({"lines", "blank"})
    ->Args({330000, 0})
    ->Args({660000, 0})
    ->Args({330000, 1})
    ->Args({660000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The whole "読み込み" click in the window: the text box's text, the
// reading, the listing with its event processing, and the final mirror.
void BM_ReadText_Window(benchmark::State& state) {
    velreader::VReader3 window(appFolder());
    window.show();
    emit window.tab(2)->clicked();  // the reading view, where "読み込み" is
    for (auto _ : state) {
        state.PauseTiming();
        window.text1()->setPlainText(textOfSize(state.range(0)));
        QApplication::processEvents();
        state.ResumeTiming();
        window.command(1)->click();
        QApplication::processEvents();
    }
    state.counters["lines"] = window.core().state().LineCount;
}
BENCHMARK(BM_ReadText_Window)->Arg(30 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond)->Iterations(5);

void readInto(ReaderCore& reader, const QString& text) {
    reader.controls().Text1.text = velreader::toCrLf(text);
    reader.Command1_Click();
}

void BM_PlayStep_NoPicture(benchmark::State& state) {
    ReaderCore reader(appFolder());
    reader.Form_Load();
    readInto(reader, japaneseText(64 * 1024));
    for (auto _ : state) {
        if (!reader.controls().Command2.enabled) {
            state.PauseTiming();
            reader.Command4_Click();
            state.ResumeTiming();
        }
        reader.Command2_Click();
    }
}
BENCHMARK(BM_PlayStep_NoPicture)->Unit(benchmark::kMicrosecond);

// Every step changes the page picture to a 1920 x 1080 JPEG, alternating
// between two. Arg 0: the decoded pictures are forgotten before each step
// (a picture shown for the first time); 1: they are kept.
void BM_PlayStep_JpegChange(benchmark::State& state) {
    const bool cached = state.range(0) != 0;
    writePhoto(appFolder() + "E/sea.jpg", qRgb(20, 80, 160));
    writePhoto(appFolder() + "E/forest.jpg", qRgb(30, 140, 40));
    ReaderCore reader(appFolder());
    reader.Form_Load();
    QStringList lines;
    for (int i = 0; i < 400; ++i) lines << (i % 2 ? QStringLiteral("森の中を歩きました。") : QStringLiteral("海が見えました。"));
    readInto(reader, lines.join(u'\n'));
    reader.state().WordTable[0] = QStringLiteral("海");
    reader.state().PictureTable[0] = QStringLiteral("sea.jpg＞白");
    reader.state().WordTable[1] = QStringLiteral("森");
    reader.state().PictureTable[1] = QStringLiteral("forest.jpg＞黄");
    for (auto _ : state) {
        state.PauseTiming();
        if (!cached) reader.pictures().clearCache();
        if (!reader.controls().Command2.enabled) reader.Command4_Click();
        state.ResumeTiming();
        reader.Command2_Click();
    }
}
BENCHMARK(BM_PlayStep_JpegChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A reader holding a text of `lines` display lines and 21 designations.
void prepareBook(ReaderCore& reader, int lines) {
    reader.Form_Load();
    QStringList text;
    for (int i = 0; i < lines; ++i) text << QStringLiteral("第%1行　ひつじが丘をこえて森へ行きました。").arg(i).left(30);
    readInto(reader, text.join(u'\n'));
    for (int i = 0; i < 21; ++i) {
        reader.controls().Text1.text = QStringLiteral("語%1：pic%1.png＞青").arg(i);
        reader.Command3_Click();
    }
}

void BM_SaveBook(benchmark::State& state) {
    ReaderCore reader(appFolder());
    prepareBook(reader, int(state.range(0)));
    const QString path = appFolder() + QStringLiteral("Book/save%1.vln").arg(state.range(0));
    reader.setFileDialog([&](const velreader::FileDialogRequest&) { return path; });
    for (auto _ : state) reader.AllSave_Click();
    if (reader.controls().Text1.text != QStringLiteral("セーブ完了。")) state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveBook)->Arg(500)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_LoadBook(benchmark::State& state) {
    const QString path = appFolder() + QStringLiteral("Book/load%1.vln").arg(state.range(0));
    {
        ReaderCore writer(appFolder());
        prepareBook(writer, int(state.range(0)));
        writer.setFileDialog([&](const velreader::FileDialogRequest&) { return path; });
        writer.AllSave_Click();
    }
    ReaderCore reader(appFolder());
    reader.Form_Load();
    reader.setFileDialog([&](const velreader::FileDialogRequest&) { return path; });
    for (auto _ : state) reader.AllLoad_Click();
    if (reader.controls().Text1.text != QStringLiteral("ロード完了。")) state.SkipWithError("load failed");
}
BENCHMARK(BM_LoadBook)->Arg(500)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its reading places and recent books in a settings
    // folder of the run's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
