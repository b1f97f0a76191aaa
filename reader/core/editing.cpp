// Changing and removing one designation, and taking changes back.
#include "reader/rules/designation_text.h"
#include "reader/services/designation_checks.h"
#include "reader/core/reader_core.h"
#include "reader/rules/designation.h"

namespace velreader {
namespace {

QString shownWord(const QString& word) { return word.isEmpty() ? QStringLiteral("（空の単語）") : word; }

}  // namespace

void ReaderCore::recordDesignations(const QString& what) { m_history.record(what, DesignationSnapshot::of(m_state)); }

QString ReaderCore::designationWarnings(const QString& entry, int slot) {
    QString lines;
    for (const QString& warning : entryWarnings(entry, m_pictures)) lines += QStringLiteral("\r\n") + warning;
    // Said when the designation is made, not only when a save leaves it out.
    if (slot >= BookWordSlots)
        lines += QStringLiteral("\r\nこの指定（%1）は本に入りません。本に入る指定は 0 から %2 までの %3 個です。")
                     .arg(slot)
                     .arg(BookWordSlots - 1)
                     .arg(BookWordSlots);
    return lines;
}

void ReaderCore::changeDesignation(int slot, const QString& designation) {
    if (m_busy || slot < 0 || slot >= WordSlots) return;
    m_designationNotice.clear();
    const std::optional<Designation> parsed = parseDesignation(designation);
    if (!parsed) {
        m_designationNotice = designationRefusal(designation);
        return;
    }
    if (m_state.WordTable[slot] == parsed->word && m_state.PictureTable[slot] == parsed->entry) return;
    recordDesignations(QStringLiteral("指定 %1「%2」の変更").arg(slot).arg(shownWord(m_state.WordTable[slot])));
    m_state.WordTable[slot] = parsed->word;
    m_state.PictureTable[slot] = parsed->entry;
    m_controls.Text2.text = designationEcho(*parsed, slot) + designationWarnings(parsed->entry, slot);
    m_modified = true;
}

void ReaderCore::removeDesignation(int slot) {
    if (m_busy || slot < 0 || slot >= WordSlots) return;
    if (m_state.WordTable[slot].isEmpty() && m_state.PictureTable[slot].isEmpty()) return;
    const QString word = shownWord(m_state.WordTable[slot]);
    recordDesignations(QStringLiteral("指定 %1「%2」を消す").arg(slot).arg(word));
    m_state.WordTable[slot].clear();
    m_state.PictureTable[slot].clear();
    m_controls.Text2.text = QStringLiteral("指定 %1「%2」を消しました。").arg(slot).arg(word);
    m_modified = true;
}

void ReaderCore::Undo_Click() {
    if (m_busy) return;
    const QString what = m_history.undo(m_state);
    if (what.isEmpty()) return;
    m_controls.Text2.text = QStringLiteral("元に戻しました：%1").arg(what);
    m_modified = true;
}

}  // namespace velreader
