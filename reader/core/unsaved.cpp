// Unsaved work: the question before it is replaced, and the recovery file
// that keeps it when the reader is stopped without a question.
#include <QFileInfo>

#include "reader/core/reader_core.h"
#include "reader/services/recovery.h"

namespace velreader {

bool ReaderCore::maybeSaveChanges() {
    if (busy()) return false;
    if (!m_modified || !m_unsavedQuestion) return true;
    HandlerGate::Busy running(m_gate);
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
    if (const QString note = m_recovery.offer(); !note.isEmpty()) m_controls.Text1.text = note;
}

void ReaderCore::Restore_Click() {
    if (busy() || m_recovery.path().isEmpty()) return;
    const ParsedRecovery parsed = m_recovery.open();
    if (!parsed.book) {
        m_controls.Text1.text = QStringLiteral("復元できません：%1：%2。").arg(m_recovery.path(), parsed.error);
        return;
    }
    const RecoveredBook& book = *parsed.book;
    book.restoreInto(m_state);
    m_openBook = book.bookFileName == u"*None" ? QString() : book.bookFileName;
    m_player.showBlankWhenCleared();
    m_controls.LTitle.text = m_state.DisplayLines.value(0);
    m_controls.Lfname.text = QStringLiteral("Filename:") +
                             (book.bookFileName == u"*None" ? QString() : QFileInfo(book.bookFileName).fileName());
    m_player.rewind();
    int designations = 0;
    for (int i = 0; i < WordSlots; ++i) designations += !(book.words[i].isEmpty() && book.entries[i].isEmpty());
    m_controls.Text2.text = QStringLiteral("復元した本：全行：%1行、指定単語：%2 個").arg(book.lineCount).arg(designations);
    m_controls.Text1.text =
        QStringLiteral("%1 に保存されないまま終わった本を復元しました。セーブするまで、本のファイルは前のままです。")
            .arg(book.written.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    m_designations.forgetHistory();
    m_modified = true;
}

QString ReaderCore::keepUnsavedWork() {
    if (!m_modified) {
        finishCleanClose();
        return {};
    }
    return m_recovery.keep(RecoveredBook::of(m_state, QDateTime::currentDateTime()));
}

void ReaderCore::finishCleanClose() { m_recovery.finishCleanClose(); }

}  // namespace velreader
