// "セーブ" and "ロード": book files chosen in the file dialog.
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "reader/books/bookformat.h"
#include "reader/window/reader_core.h"

namespace velreader {
namespace {

const QString BookFilter = QStringLiteral("Velinファイル (*.vln)");

// Reads a whole book file; on failure the text says why.
std::optional<QByteArray> readBookFile(const QString& path, QString& error) {
    QFile file(path);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("ファイルではありません。");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("開けません（%1）。").arg(file.errorString());
        return std::nullopt;
    }
    if (file.size() > MaxBookFileSize) {
        error = QStringLiteral("ファイルが大きすぎます（64 MB まで）。");
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("読めません（%1）。").arg(file.errorString());
        return std::nullopt;
    }
    return bytes;
}

// Writes all of `bytes`. The file must be unbuffered: a buffered QFileDevice
// drops the rest of a short write (a full disk) and still reports success.
bool writeAll(QSaveFile& file, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

QString ReaderCore::chooseBookFile(FileDialogRequest::Mode mode) const {
    if (!m_fileDialog) return {};
    return m_fileDialog(FileDialogRequest{mode, bookFolder(), BookFilter});
}

void ReaderCore::AllSave_Click() {
    if (m_busy) return;
    BusyScope busy(*this);
    const QString path = chooseBookFile(FileDialogRequest::Mode::Save);
    if (path.isEmpty()) return;
    m_state.BookFileName = path;
    m_controls.Text1.text = QStringLiteral("セーブ中・・・");

    Book book;
    book.lineCount = m_state.LineCount;
    for (int i = 0; i < BookWordSlots; ++i) {
        book.words[i] = m_state.WordTable[i];
        book.entries[i] = m_state.PictureTable[i];
    }
    if (m_state.LineCount != 0) book.lines = m_state.DisplayLines.mid(0, m_state.LineCount + 1);
    book.wordCount = m_state.WordCount;

    // Nothing is written when the book cannot be stored faithfully.
    const BookBytes bytes = serialiseBook(book);
    if (!bytes.ok()) {
        m_controls.Text1.text = QStringLiteral("セーブできません：%1").arg(bytes.error);
        return;
    }
    // The old book is replaced only once the new one is completely written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeAll(file, bytes.bytes) || !file.commit()) {
        m_controls.Text1.text = QStringLiteral("セーブできませんでした：%1（%2）").arg(path, file.errorString());
        file.cancelWriting();
        return;
    }
    m_controls.Text1.text = QStringLiteral("セーブ完了。");
    m_controls.Lfname.text = QStringLiteral("Filename:") + QFileInfo(path).fileName();
}

void ReaderCore::AllLoad_Click() {
    if (m_busy) return;
    BusyScope busy(*this);
    const QString path = chooseBookFile(FileDialogRequest::Mode::Open);
    if (path.isEmpty()) return;

    // The whole file is read and checked before anything changes.
    QString error;
    const std::optional<QByteArray> bytes = readBookFile(path, error);
    ParsedBook parsed;
    if (bytes) parsed = parseBook(*bytes);
    if (!bytes || !parsed.book) {
        m_controls.Text1.text = QStringLiteral("ロードできません：%1：%2").arg(path, bytes ? parsed.error : error);
        return;
    }
    finishLoad(path, *parsed.book);
}

void ReaderCore::finishLoad(const QString& path, const Book& book) {
    m_state.BookFileName = path;
    m_page.setBasePicture(m_pura);
    m_controls.Text1.text.clear();
    m_controls.LTitle.text = QStringLiteral("ロード中・・・");

    m_state.LineCount = book.lineCount;
    QString& listing = m_controls.Text2.text;
    listing = QStringLiteral("全行：%1行\r\n").arg(book.lineCount);
    for (int i = 0; i < BookWordSlots; ++i) {
        m_state.WordTable[i] = book.words[i];
        m_state.PictureTable[i] = book.entries[i];
        listing += book.words[i];
    }
    startListing();
    for (const QString& line : book.lines) {
        listing += line;
        if (!listingContinues()) break;
    }
    m_state.WordCount = book.wordCount;

    // Exactly the stored lines: playback and "全文表示" end where the book ends.
    m_state.DisplayLines = book.lineCount == 0 ? QStringList{QString()} : book.lines;
    m_controls.LTitle.text = m_state.DisplayLines.at(0);
    m_controls.Lfname.text = QStringLiteral("Filename-") + QFileInfo(path).fileName();
    rewind();
    m_controls.Text1.text = QStringLiteral("ロード完了。");
}

}  // namespace velreader
