// Unsaved work: the question before it is replaced, and the recovery file
// that keeps it as it goes (RecoveryKeeper).
#include "reader/core/reader_core.h"

#include "common/leftovers.h"
#include "common/stop_notes.h"
#include "reader/services/recovery.h"

namespace velreader {

bool ReaderCore::maybeSaveChanges() {
    if (busy()) return false;
    if (!m_modified || !m_unsavedQuestion) return true;
    HandlerGate::Busy running(m_gate);
    switch (m_unsavedQuestion()) {
    case UnsavedAnswer::Save:
        // As "上書きセーブ": the open book is written again, else the dialog
        // asks. A save cancelled in its dialog, refused or failed leaves the
        // work unsaved; designations a book cannot hold were named in the
        // question, so a save that wrote the rest goes on.
        return overwriteBook();
    case UnsavedAnswer::Discard: return true;
    case UnsavedAnswer::Cancel: return false;
    }
    return false;
}

QString ReaderCore::whatWouldBeLost() const {
    QString text = QStringLiteral("文章か指定単語が、最後のセーブかロードの後で変わっています。");
    if (const QString note = unwrittenNote(m_state); !note.isEmpty())
        text += QStringLiteral("\r\nセーブしても本に入らない指定があります。") + note;
    return text;
}

void ReaderCore::markUnsaved() {
    m_modified = true;
    ++m_unsavedRevision;
}

namespace {

// Removes what writes killed half-way left in the folders this reader
// writes through a new file and a rename: books and web pages in the book
// folder, added pictures in the first picture folder, the notes of a stop
// in the data folder (its recovery folder is cleaned as it is searched).
void removeLeftoverWrites(const ReaderFolders& folders) {
    const auto any = [](const QString&) { return true; };
    common::removeLeftoverTemporaries(folders.bookFolder, any);
    if (!folders.pictureFolders.isEmpty()) common::removeLeftoverTemporaries(folders.pictureFolders.first(), any);
    common::removeLeftoverTemporaries(folders.dataFolder, [](const QString& target) {
        return target == QLatin1String(common::StopNotesFileName);
    });
}

}  // namespace

void ReaderCore::lookForEarlierWork() {
    const QString legacy = m_folders.dataFolder.isEmpty() ? QString() : m_folders.dataFolder + QStringLiteral("recovery.json");
    m_recovery.lookForEarlierWork(legacy, [folders = m_folders] { removeLeftoverWrites(folders); });
}

void ReaderCore::offerRecovery() {
    lookForEarlierWork();
    if (const QString note = m_recovery.offer(); !note.isEmpty()) m_controls.Text1.text = note;
}

void ReaderCore::Restore_Click() {
    if (const QString latest = m_recovery.latest(); !latest.isEmpty()) restoreRecovery(latest);
}

void ReaderCore::restoreRecovery(const QString& path) {
    if (busy()) return;
    // Checked whole again: the file may have changed since the start.
    const ParsedRecovery parsed = m_recovery.open(path);
    if (!parsed.book) {
        m_controls.Text1.text = QStringLiteral("復元できません：%1：%2。").arg(path, parsed.error);
        return;
    }
    const RecoveredBook& book = *parsed.book;
    book.restoreInto(m_state);
    // The restored text is no book yet: the place reached in it is kept
    // under no other book's name, and "上書きセーブ" asks for a file.
    m_state.BookFileName = QStringLiteral("*None");
    m_openBook.clear();
    m_documentPath.clear();
    m_player.showBlankWhenCleared();
    m_controls.LTitle.text = m_state.DisplayLines.value(0);
    m_controls.Lfname.text = QStringLiteral("Filename:");
    m_player.rewind();
    m_controls.Text2.text =
        QStringLiteral("復元した本：全行：%1行、指定単語：%2 個").arg(book.lineCount).arg(book.designations());
    m_controls.Text1.text =
        QStringLiteral("%1 に保存されないまま終わった本を復元しました。セーブするまで、本のファイルにはなっていません。")
            .arg(book.written.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    m_designations.forgetHistory();
    markUnsaved();
}

bool ReaderCore::discardRecovery(const QString& path) { return !busy() && m_recovery.discard(path); }

void ReaderCore::keepRecoveryCurrent() {
    if (!busy()) m_recovery.keepCurrent(m_modified, m_unsavedRevision, m_state);
}

QString ReaderCore::keepUnsavedWork() {
    if (!m_modified) {
        finishCleanClose();
        return {};
    }
    if (m_recovery.folder().isEmpty()) return QStringLiteral("there is no data folder to keep it in");
    keepRecoveryCurrent();
    return m_recovery.flush();
}

void ReaderCore::finishCleanClose() { m_recovery.finishCleanClose(); }

}  // namespace velreader
