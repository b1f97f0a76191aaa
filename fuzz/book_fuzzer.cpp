// Fuzzes the reader's book files: the parser either accepts a book whose
// parts agree with each other or says what is wrong; an accepted book that
// can be written again reads back the same; and loading it into the reader
// and playing it never goes past the reader's tables.
#include <cstdlib>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "reader/rules/bookformat.h"
#include "reader/core/reader_core.h"

namespace {

QTemporaryDir* folder = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const velreader::ParsedBook parsed = velreader::parseBook(bytes);
    if (!parsed.book) {
        if (parsed.error.isEmpty()) std::abort();
        return 0;
    }
    const velreader::Book& book = *parsed.book;
    if (book.lineCount < 0 || book.wordCount < 0 || book.wordCount > velreader::MaxWordCount) std::abort();
    if (book.lines.size() != (book.lineCount == 0 ? 0 : book.lineCount + 1)) std::abort();

    const velreader::BookBytes again = velreader::serialiseBook(book);
    if (again.ok()) {
        const velreader::ParsedBook reread = velreader::parseBook(again.bytes);
        if (!reread.book || !(*reread.book == book)) std::abort();
    }

    const QString path = folder->filePath(QStringLiteral("book.vln"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return 0;
    file.close();
    velreader::ReaderCore reader(folder->path() + u'/');
    reader.Form_Load();
    reader.setFileDialog([&](const velreader::FileDialogRequest&) { return path; });
    reader.AllLoad_Click();
    if (reader.state().DisplayLines.isEmpty()) std::abort();
    for (int step = 0; step < 40 && reader.controls().Command2.enabled; ++step) {
        reader.Command2_Click();
        if (reader.state().PageRowIndex > velreader::PageRowSlots) std::abort();
    }
    reader.Command5_Click();
    reader.Command7_Click();
    reader.Command6_Click();
    return 0;
}
