// "セーブ" and "ロード": book files chosen in the file dialog.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/cp932.h"
#include "common/fileio.h"
#include "reader/rules/bookformat.h"
#include "reader/services/reader_files.h"
#include "reader/core/reader_core.h"

namespace velreader {
namespace {

const QString BookFilter = QStringLiteral("Velinファイル (*.vln)");

// The book as the file will hold it: every look-alike character replaced,
// with the counts of what was replaced.
struct SavedText {
    Book book;
    QList<cp932::Replacement> replaced;
    bool changed = false;
};

SavedText bookToSave(const ReaderState& state, const std::function<void()>& between) {
    SavedText out;
    Book& book = out.book;
    book.lineCount = state.LineCount;
    for (int i = 0; i < BookWordSlots; ++i) {
        book.words[i] = state.WordTable[i];
        book.entries[i] = state.PictureTable[i];
    }
    if (state.LineCount != 0) book.lines = state.DisplayLines.mid(0, state.LineCount + 1);
    book.wordCount = state.WordCount;
    for (int i = 0; i < BookWordSlots; ++i) {
        out.changed |= cp932::replaceLookAlikes(book.words[i], out.replaced);
        out.changed |= cp932::replaceLookAlikes(book.entries[i], out.replaced);
    }
    qsizetype sinceStep = 0;
    for (QString& line : book.lines) {
        out.changed |= cp932::replaceLookAlikes(line, out.replaced);
        if ((sinceStep += line.size()) >= 256 * 1024) {
            sinceStep = 0;
            between();
        }
    }
    return out;
}

// "「〜」(U+301C) を「～」(U+FF5E) に 3 か所": what a save replaced.
QString replacementNote(const QList<cp932::Replacement>& replaced) {
    QStringList parts;
    for (const cp932::Replacement& r : replaced) {
        if (r.count == 0) continue;
        parts << QStringLiteral("「%1」(%2) を「%3」(%4) に %5 か所")
                     .arg(QChar(r.from), cp932::codePointName(r.from), QChar(r.to), cp932::codePointName(r.to))
                     .arg(r.count);
    }
    return QStringLiteral("Shift-JIS で同じ文字に戻らない文字を、似た文字に置き換えて保存しました：\r\n") +
           parts.join(QStringLiteral("、\r\n")) + QStringLiteral("。");
}

}  // namespace

QString unwrittenNote(const ReaderState& state) {
    QStringList dropped;
    for (int i = BookWordSlots; i < WordSlots; ++i) {
        if (state.WordTable[i].isEmpty() && state.PictureTable[i].isEmpty()) continue;
        const QString word = state.WordTable[i].isEmpty() ? QStringLiteral("（空の単語）") : state.WordTable[i];
        dropped << QStringLiteral("「%1」(%2)").arg(word, QString::number(i));
    }
    if (dropped.isEmpty()) return {};
    return QStringLiteral("本に入る指定は 0 から %1 までの %2 個です。次の指定は書かれていません：%3。")
        .arg(BookWordSlots - 1)
        .arg(BookWordSlots)
        .arg(dropped.join(QStringLiteral("、")));
}

namespace {

// A name typed without an extension gets ".vln", so that the book shows in
// the load dialog's filter.
QString withBookExtension(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path.endsWith(u'.') ? path + QStringLiteral("vln") : path + QStringLiteral(".vln");
}

// True when both name the same file (also through a link or another spelling).
bool sameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath()
                               : canonical == QFileInfo(b).canonicalFilePath();
}

void replaceAll(QString& text) {
    QList<cp932::Replacement> ignored;
    cp932::replaceLookAlikes(text, ignored);
}

}  // namespace

void offerSampleBooks(const QString& sampleBooks, const QString& userBooks) {
    if (QFileInfo::exists(userBooks) || !QDir().mkpath(userBooks)) return;
    const QDir samples(sampleBooks);
    // Each written through a new file and a rename, as every book is: a
    // kill leaves no half book, and its new file goes at the next start.
    for (const QString& name : samples.entryList({QStringLiteral("*.vln")}, QDir::Files)) {
        const common::ReadResult book = common::readFile(samples.filePath(name), MaxBookFileSize);
        if (book.ok()) common::replaceFile(QDir(userBooks).filePath(name), book.bytes);
    }
}

QString ReaderCore::chooseBookFile(FileDialogRequest::Mode mode) {
    if (!m_fileDialog) return {};
    // The dialogs start in the book folder; made here when it is missing.
    QString start = bookFolder();
    if (!QFileInfo(start).isDir() && !QDir().mkpath(start)) {
        m_controls.Text1.text = QStringLiteral("「Book」フォルダを作れませんでした：%1").arg(start);
        start = QFileInfo(start).absolutePath();
    }
    const QString selected = mode == FileDialogRequest::Mode::Save ? m_openBook : QString();
    return m_fileDialog(FileDialogRequest{mode, start, BookFilter, selected});
}

void ReaderCore::AllSave_Click() {
    if (busy()) return;
    HandlerGate::Busy running(m_gate);
    saveBook();
}

void ReaderCore::AllOverwrite_Click() {
    if (busy()) return;
    HandlerGate::Busy running(m_gate);
    overwriteBook();
}

bool ReaderCore::overwriteBook() {
    return m_openBook.isEmpty() ? saveBook() : writeBook(m_openBook);
}

bool ReaderCore::saveBook() {
    const QString path = withBookExtension(chooseBookFile(FileDialogRequest::Mode::Save));
    if (path.isEmpty()) return false;
    // Another file of that name is replaced only when the user says so; the
    // open book is the user's own to write again.
    if (m_replaceQuestion && QFileInfo::exists(path) && !sameFile(path, m_openBook) &&
        !m_replaceQuestion(QFileInfo(path).fileName()))
        return false;
    return writeBook(path);
}

bool ReaderCore::writeBook(const QString& path) {
    // The book's name changes only once the file is written.
    m_controls.Text1.text = QStringLiteral("セーブ中・・・");

    // Nothing is written when the book cannot be stored faithfully, and the
    // text in memory changes only once the file holds the replaced text. A
    // large book is prepared and written in steps between which the window
    // breathes; a close meanwhile lets the save finish.
    HandlerGate::Listing scope(m_gate);
    const auto breathe = [this] { m_gate.listingContinues(); };
    SavedText saved = bookToSave(m_state, breathe);
    const BookBytes bytes = serialiseBook(saved.book, breathe);
    if (!bytes.ok()) {
        m_controls.Text1.text = bytes.error;
        return false;
    }
    // The old book is replaced only once the new one is completely written.
    if (const common::FileError error = common::replaceFile(path, bytes.bytes, breathe); !error.ok()) {
        m_controls.Text1.text = QStringLiteral("セーブできませんでした：%1：%2").arg(path, error.japaneseReason());
        return false;
    }
    m_state.BookFileName = path;
    m_controls.Text1.text = QStringLiteral("セーブ完了。");
    // A book keeps slots 0 to 20: what lies beyond is named, never dropped
    // in silence, and stays unsaved work (kept for recovery, asked about).
    const QString note = unwrittenNote(m_state);
    if (!note.isEmpty()) m_controls.Text1.text += QStringLiteral("\r\n") + note;
    if (saved.changed) {
        applySavedText(saved.book);
        m_controls.Text1.text += QStringLiteral("\r\n") + replacementNote(saved.replaced);
    }
    m_controls.Lfname.text = QStringLiteral("Filename:") + QFileInfo(path).fileName();
    m_documentPath = path;
    m_openBook = path;
    m_modified = !note.isEmpty();
    if (m_modified) ++m_unsavedRevision;  // the kept work now names this book
    return true;
}

void ReaderCore::applySavedText(const Book& book) {
    // What the user sees is what was saved: the stored fields, and every
    // other copy of the text the reader keeps.
    for (int i = 0; i < BookWordSlots; ++i) {
        m_state.WordTable[i] = book.words[i];
        m_state.PictureTable[i] = book.entries[i];
    }
    for (qsizetype i = 0; i < book.lines.size() && i < m_state.DisplayLines.size(); ++i)
        m_state.DisplayLines[i] = book.lines[i];
    for (QString& row : m_state.PageRows) replaceAll(row);
    for (QString& chunk : m_state.ChunkTable) replaceAll(chunk);
    replaceAll(m_state.SourceText);
    replaceAll(m_controls.LTitle.text);
}

void ReaderCore::AllLoad_Click() {
    if (busy()) return;
    HandlerGate::Busy running(m_gate);
    const QString path = chooseBookFile(FileDialogRequest::Mode::Open);
    if (path.isEmpty()) return;
    loadBook(path);
}

void ReaderCore::openBook(const QString& path) {
    if (busy()) return;
    HandlerGate::Busy running(m_gate);
    loadBook(path);
}

void ReaderCore::loadBook(const QString& path) {
    // The whole file is read and checked before anything changes; a large
    // book is read in steps between which the window breathes.
    QString why;
    QByteArray bytes = readReaderFile(path, why);
    if (!why.isEmpty()) {
        m_controls.Text1.text = QStringLiteral("ロードできません：%1：%2。").arg(path, why);
        return;
    }
    BookReader reader(std::move(bytes));
    HandlerGate::Listing scope(m_gate);
    while (!reader.step()) {
        if (!m_gate.listingContinues()) return;  // the window is closing
    }
    const ParsedBook parsed = reader.result();
    if (!parsed.book) {
        m_controls.Text1.text = QStringLiteral("ロードできません：%1：%2").arg(path, parsed.error);
        return;
    }
    finishLoad(path, *parsed.book);
}

void ReaderCore::finishLoad(const QString& path, const Book& book) {
    m_state.BookFileName = path;
    m_player.showBlankWhenCleared();
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
    {
        HandlerGate::Listing scope(m_gate);
        qsizetype size = listing.size();
        for (const QString& line : book.lines) size += line.size();
        listing.reserve(size);
        for (const QString& line : book.lines) {
            listing += line;
            if (!m_gate.lineListed()) break;
        }
    }
    m_state.WordCount = book.wordCount;

    // Exactly the stored lines: playback and "全文表示" end where the book ends.
    m_state.DisplayLines = book.lineCount == 0 ? QStringList{QString()} : book.lines;
    m_controls.LTitle.text = m_state.DisplayLines.at(0);
    m_controls.Lfname.text = QStringLiteral("Filename-") + QFileInfo(path).fileName();
    m_documentPath = path;
    m_openBook = path;
    ++m_openCount;
    m_player.rewind();
    m_controls.Text1.text = QStringLiteral("ロード完了。");
    m_modified = false;
    m_designations.forgetHistory();
}

}  // namespace velreader
