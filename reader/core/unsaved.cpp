// Unsaved work: the question before it is replaced, and the recovery file
// that keeps it when the reader is stopped without a question.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/fileio.h"
#include "reader/services/recovery.h"
#include "reader/core/reader_core.h"

namespace velreader {

bool ReaderCore::maybeSaveChanges() {
    if (m_busy) return false;
    if (!m_modified || !m_unsavedQuestion) return true;
    BusyScope busy(*this);
    switch (m_unsavedQuestion()) {
    case UnsavedAnswer::Save:
        // As "上書きセーブ": the open book is written again, else the dialog asks.
        overwriteBook();
        // A save cancelled in its dialog, refused or failed leaves the work unsaved.
        return !m_modified;
    case UnsavedAnswer::Discard: return true;
    case UnsavedAnswer::Cancel: return false;
    }
    return false;
}

void ReaderCore::offerRecovery() {
    m_recovery = RecoveryStatus::None;
    const QString& path = m_folders.recoveryFile;
    if (path.isEmpty()) return;
    const ParsedRecovery parsed = readRecoveryFile(path);
    switch (parsed.problem) {
    case ParsedRecovery::Problem::Missing: return;
    case ParsedRecovery::Problem::None:
        m_recovery = RecoveryStatus::Offered;
        m_controls.Text1.text = QStringLiteral("前回、保存されないまま終わった本があります（%1）。記録 >「復元」で開けます。")
                                    .arg(parsed.book->written.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        return;
    case ParsedRecovery::Problem::Malformed:
        m_recovery = RecoveryStatus::Broken;
        m_controls.Text1.text = QStringLiteral("復元用のファイルは壊れているので使いません：%1：%2。").arg(path, parsed.error);
        return;
    case ParsedRecovery::Problem::OtherVersion:
        m_recovery = RecoveryStatus::OtherVersion;
        m_controls.Text1.text = QStringLiteral("復元用のファイルはこの版では読めないので使いません：%1：%2。").arg(path, parsed.error);
        return;
    }
}

bool ReaderCore::recoveryAvailable() const {
    return !m_folders.recoveryFile.isEmpty() &&
           (m_recovery == RecoveryStatus::Offered || m_recovery == RecoveryStatus::Opened);
}

void ReaderCore::Restore_Click() {
    if (m_busy || m_folders.recoveryFile.isEmpty()) return;
    // Checked whole again: the file may have changed since the start.
    const ParsedRecovery parsed = readRecoveryFile(m_folders.recoveryFile);
    if (!parsed.book) {
        m_controls.Text1.text = QStringLiteral("復元できません：%1：%2。").arg(m_folders.recoveryFile, parsed.error);
        return;
    }
    const RecoveredBook& book = *parsed.book;
    m_state.LineCount = book.lineCount;
    m_state.DisplayLines = book.displayLines;
    m_state.WordTable = book.words;
    m_state.PictureTable = book.entries;
    m_state.WordCount = book.wordCount;
    m_state.BookFileName = book.bookFileName;
    m_openBook = book.bookFileName == u"*None" ? QString() : book.bookFileName;
    m_page.setBasePicture(m_pura);
    m_controls.LTitle.text = m_state.DisplayLines.value(0);
    m_controls.Lfname.text = QStringLiteral("Filename:") +
                             (book.bookFileName == u"*None" ? QString() : QFileInfo(book.bookFileName).fileName());
    rewind();
    int designations = 0;
    for (int i = 0; i < WordSlots; ++i) designations += !(book.words[i].isEmpty() && book.entries[i].isEmpty());
    m_controls.Text2.text = QStringLiteral("復元した本：全行：%1行、指定単語：%2 個").arg(book.lineCount).arg(designations);
    m_controls.Text1.text =
        QStringLiteral("%1 に保存されないまま終わった本を復元しました。セーブするまで、本のファイルは前のままです。")
            .arg(book.written.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    m_history.clear();
    m_modified = true;
    m_recovery = RecoveryStatus::Opened;
}

QString ReaderCore::keepUnsavedWork() {
    if (!m_modified) {
        finishCleanClose();
        return {};
    }
    const QString& path = m_folders.recoveryFile;
    if (path.isEmpty()) return QStringLiteral("there is no data folder to keep it in");
    QDir().mkpath(QFileInfo(path).absolutePath());
    const common::FileError error =
        common::replaceFile(path, serialiseRecovery(RecoveredBook::of(m_state, QDateTime::currentDateTime())));
    if (!error.ok()) return QStringLiteral("%1: %2").arg(path, error.englishReason());
    m_recovery = RecoveryStatus::Written;
    return {};
}

void ReaderCore::finishCleanClose() {
    const QString& path = m_folders.recoveryFile;
    if (path.isEmpty()) return;
    // A file offered but never opened is work the user has not seen yet;
    // another version's file may be readable there. Both stay.
    if (m_recovery == RecoveryStatus::Opened || m_recovery == RecoveryStatus::Broken) QFile::remove(path);
}

}  // namespace velreader
