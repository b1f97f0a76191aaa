// "単語指定", "単語表示", "単語消す", changing and removing one designation,
// and taking changes back.
#include "reader/core/designation_editor.h"

#include "reader/rules/designation.h"
#include "reader/rules/designation_text.h"
#include "reader/services/designation_checks.h"

namespace velreader {
namespace {

QString shownWord(const QString& word) { return word.isEmpty() ? QStringLiteral("（空の単語）") : word; }

}  // namespace

DesignationEditor::DesignationEditor(ReaderState& state, ReaderControls& controls, PictureStore& pictures)
    : m_state(state), m_controls(controls), m_pictures(pictures) {}

void DesignationEditor::record(const QString& what) { m_history.record(what, DesignationSnapshot::of(m_state)); }

QString DesignationEditor::warnings(const QString& entry, int slot) {
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

bool DesignationEditor::store() {
    m_notice.clear();
    if (m_state.WordCount >= MaxWordCount) {
        m_controls.Text1.text = QStringLiteral("これ以上保存できません");
        return false;
    }
    const std::optional<Designation> designation = parseDesignation(m_controls.Text1.text);
    if (!designation) {
        // Text1 keeps the text; the window shows why nothing happened.
        m_notice = designationRefusal(m_controls.Text1.text);
        return false;
    }
    const int slot = m_state.WordCount;
    record(QStringLiteral("単語指定「%1」").arg(designation->word));
    m_state.WordTable[slot] = designation->word;
    m_state.PictureTable[slot] = designation->entry;
    m_controls.Text2.text = designationEcho(*designation, slot) + warnings(designation->entry, slot);
    m_controls.Text1.text.clear();
    ++m_state.WordCount;
    return true;
}

void DesignationEditor::list() {
    if (m_state.WordCount < 0) {
        m_controls.Text2.text = QStringLiteral("指定単語がありません。");
        return;
    }
    QString listing;
    for (int i = 0; i <= m_state.WordCount && i < WordSlots; ++i)
        listing += QStringLiteral("\r\n指定語＞") + m_state.WordTable[i] + QStringLiteral("\r\n絵＞") +
                   m_state.PictureTable[i];
    m_controls.Text2.text = listing;
}

bool DesignationEditor::eraseAll() {
    bool filled = false;
    for (int i = 0; i <= m_state.WordCount && i < WordSlots; ++i)
        filled |= !m_state.WordTable[i].isEmpty() || !m_state.PictureTable[i].isEmpty();
    // Only an erase that empties something is a change "元に戻す" can take back.
    if (filled) record(QStringLiteral("単語消す"));
    for (int i = 0; i <= m_state.WordCount && i < WordSlots; ++i) {
        m_state.WordTable[i].clear();
        m_state.PictureTable[i].clear();
    }
    m_controls.Text2.text = QStringLiteral("全て消しました。");
    return filled;
}

bool DesignationEditor::change(int slot, const QString& designation) {
    if (slot < 0 || slot >= WordSlots) return false;
    m_notice.clear();
    const std::optional<Designation> parsed = parseDesignation(designation);
    if (!parsed) {
        m_notice = designationRefusal(designation);
        return false;
    }
    if (m_state.WordTable[slot] == parsed->word && m_state.PictureTable[slot] == parsed->entry) return false;
    record(QStringLiteral("指定 %1「%2」の変更").arg(slot).arg(shownWord(m_state.WordTable[slot])));
    m_state.WordTable[slot] = parsed->word;
    m_state.PictureTable[slot] = parsed->entry;
    m_controls.Text2.text = designationEcho(*parsed, slot) + warnings(parsed->entry, slot);
    return true;
}

bool DesignationEditor::remove(int slot) {
    if (slot < 0 || slot >= WordSlots) return false;
    if (m_state.WordTable[slot].isEmpty() && m_state.PictureTable[slot].isEmpty()) return false;
    const QString word = shownWord(m_state.WordTable[slot]);
    record(QStringLiteral("指定 %1「%2」を消す").arg(slot).arg(word));
    m_state.WordTable[slot].clear();
    m_state.PictureTable[slot].clear();
    m_controls.Text2.text = QStringLiteral("指定 %1「%2」を消しました。").arg(slot).arg(word);
    return true;
}

bool DesignationEditor::undo() {
    const QString what = m_history.undo(m_state);
    if (what.isEmpty()) return false;
    m_controls.Text2.text = QStringLiteral("元に戻しました：%1").arg(what);
    return true;
}

}  // namespace velreader
