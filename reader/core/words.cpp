// "単語指定", "単語表示" and "単語消す": designations tying words to pictures
// and colours.
#include "reader/rules/designation_text.h"
#include "reader/rules/designation.h"
#include "reader/core/reader_core.h"

namespace velreader {

void ReaderCore::Command3_Click() {
    if (m_busy) return;
    m_designationNotice.clear();
    if (m_state.WordCount >= MaxWordCount) {
        m_controls.Text1.text = QStringLiteral("これ以上保存できません");
        return;
    }
    const std::optional<Designation> designation = parseDesignation(m_controls.Text1.text);
    if (!designation) {
        // Text1 keeps the text; the window shows why nothing happened.
        m_designationNotice = designationRefusal(m_controls.Text1.text);
        return;
    }
    const int slot = m_state.WordCount;
    recordDesignations(QStringLiteral("単語指定「%1」").arg(designation->word));
    m_state.WordTable[slot] = designation->word;
    m_state.PictureTable[slot] = designation->entry;
    m_controls.Text2.text = designationEcho(*designation, slot) + designationWarnings(designation->entry, slot);
    m_controls.Text1.text.clear();
    ++m_state.WordCount;
    m_modified = true;
}

void ReaderCore::Command5_Click() {
    if (m_busy) return;
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

void ReaderCore::Command7_Click() {
    if (m_busy) return;
    bool filled = false;
    for (int i = 0; i <= m_state.WordCount && i < WordSlots; ++i)
        filled |= !m_state.WordTable[i].isEmpty() || !m_state.PictureTable[i].isEmpty();
    // Only an erase that empties something is a change "元に戻す" can take back.
    if (filled) {
        recordDesignations(QStringLiteral("単語消す"));
        m_modified = true;
    }
    for (int i = 0; i <= m_state.WordCount && i < WordSlots; ++i) {
        m_state.WordTable[i].clear();
        m_state.PictureTable[i].clear();
    }
    m_controls.Text2.text = QStringLiteral("全て消しました。");
}

}  // namespace velreader
