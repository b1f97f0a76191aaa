// Writes a book file the way a user makes one: the story is read in with
// "読み込み", every designation is added with "単語指定", and "セーブ" writes
// the book. Usage: velreader_sample_book STORY.txt OUTPUT.vln
//
// STORY.txt is UTF-8: the text, then a line "----", then one designation a line.
#include <cstdio>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "reader/rules/lines.h"
#include "reader/core/reader_core.h"

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "velreader_sample_book: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) return fail(QStringLiteral("usage: velreader_sample_book STORY.txt OUTPUT.vln"));

    QFile storyFile(QString::fromLocal8Bit(argv[1]));
    if (!storyFile.open(QIODevice::ReadOnly)) return fail(storyFile.fileName() + ": " + storyFile.errorString());
    const QString source = QString::fromUtf8(storyFile.readAll());
    const qsizetype divider = source.indexOf(QStringLiteral("\n----\n"));
    if (divider < 0) return fail(QStringLiteral("the story has no \"----\" line before its designations"));

    QTemporaryDir applicationFolder;
    velreader::ReaderCore reader(applicationFolder.path() + u'/');
    reader.Form_Load();
    reader.controls().Text1.text = velreader::toCrLf(source.left(divider));
    reader.Command1_Click();

    const QStringList designations = source.mid(divider + 6).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& designation : designations) {
        const int before = reader.state().WordCount;
        reader.controls().Text1.text = designation;
        reader.Command3_Click();
        if (reader.state().WordCount != before + 1) return fail(QStringLiteral("refused designation: ") + designation);
    }

    const QString output = QString::fromLocal8Bit(argv[2]);
    reader.setFileDialog([&](const velreader::FileDialogRequest&) { return output; });
    reader.AllSave_Click();
    if (reader.controls().Text1.text != QStringLiteral("セーブ完了。")) return fail(reader.controls().Text1.text);
    std::printf("%s: %d display lines, %d designations\n", qPrintable(output), reader.state().LineCount,
                reader.state().WordCount);
    return 0;
}
