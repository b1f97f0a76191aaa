// Costs of making and keeping books: keeping unsaved work in the recovery
// file and opening it again, opening the designation dialog over a folder of
// pictures until every thumbnail shows, and building the guide.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "reader/services/recovery.h"
#include "reader/services/guide.h"
#include "reader/ui/designation_dialog.h"
#include "reader/core/reader_core.h"

namespace {

using velreader::ReaderCore;
using velreader::ReaderFolders;

QString folder() {
    static QTemporaryDir dir;
    return dir.path() + u'/';
}

// A reader holding `lines` display lines, 50 designations and unsaved work.
void prepare(ReaderCore& reader, int lines) {
    reader.Form_Load();
    QStringList text;
    for (int i = 0; i < lines; ++i) text << QStringLiteral("第%1行　ひつじが丘をこえて森へ行きました。").arg(i).left(30);
    reader.controls().Text1.text = text.join(QStringLiteral("\r\n"));
    reader.Command1_Click();
    for (int i = 0; i < 50; ++i) {
        reader.controls().Text1.text = QStringLiteral("語%1：pic%1.png＞青").arg(i);
        reader.Command3_Click();
    }
}

ReaderFolders recoveryFolders() {
    ReaderFolders folders = ReaderFolders::portable(folder());
    folders.dataFolder = folder() + QStringLiteral("data/");
    return folders;
}

void BM_KeepUnsavedWork(benchmark::State& state) {
    ReaderCore reader(recoveryFolders());
    prepare(reader, int(state.range(0)));
    int round = 0;
    for (auto _ : state) {
        // A change each time, then the work written through to disk.
        reader.changeDesignation(0, QStringLiteral("語%1：pic.png＞青").arg(round++));
        if (!reader.keepUnsavedWork().isEmpty()) state.SkipWithError("not kept");
    }
    reader.finishCleanClose();
}
BENCHMARK(BM_KeepUnsavedWork)->Arg(500)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_Restore(benchmark::State& state) {
    {
        ReaderCore writer(recoveryFolders());
        prepare(writer, int(state.range(0)));
        writer.keepUnsavedWork();
    }
    ReaderCore reader(recoveryFolders());
    reader.Form_Load();
    reader.offerRecovery();
    const QList<velreader::RecoveryListEntry> kept = reader.recoveryList();
    if (kept.isEmpty()) return state.SkipWithError("nothing kept");
    for (auto _ : state) reader.restoreRecovery(kept.last().path);
    if (!reader.modified()) state.SkipWithError("not restored");
}
BENCHMARK(BM_Restore)->Arg(500)->Arg(30000)->Unit(benchmark::kMillisecond);

// A picture folder of `count` 800 x 400 photo-like PNG pictures.
QString pictureFolder(int count) {
    const QString path = folder() + QStringLiteral("pictures%1/").arg(count);
    if (QDir(path).exists()) return path;
    QDir().mkpath(path);
    QImage image(800, 400, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x / 4 + random.bounded(16), y / 2 + random.bounded(16), 128 + random.bounded(16)));
    for (int i = 0; i < count; ++i) image.save(path + QStringLiteral("pic%1.png").arg(i, 3, 10, QChar(u'0')));
    return path;
}

void BM_DesignationDialogWithThumbnails(benchmark::State& state) {
    const QStringList folders{pictureFolder(int(state.range(0)))};
    for (auto _ : state) {
        velreader::DesignationDialog dialog(folders, {}, 1, nullptr);
        while (!dialog.thumbnailsDone()) QApplication::processEvents();
    }
}
BENCHMARK(BM_DesignationDialogWithThumbnails)->Arg(4)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_Guide(benchmark::State& state) {
    const QStringList folders{pictureFolder(4)};
    for (auto _ : state) benchmark::DoNotOptimize(velreader::readerGuide(folder() + "Book", folders, qreal(state.range(0))));
}
BENCHMARK(BM_Guide)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
