// "単語指定", "単語表示" and "単語消す": designations tying words to pictures
// and colours.
#include "reader/words/designation.h"
#include "reader/window/reader_core.h"

namespace velreader {

void ReaderCore::Command3_Click() {
    if (m_busy) return;
    if (m_state.WordCount >= MaxWordCount) {
        m_controls.Text1.text = QStringLiteral("これ以上保存できません");
        return;
    }
    const std::optional<Designation> designation = parseDesignation(m_controls.Text1.text);
    if (!designation) return;
    const int slot = m_state.WordCount;
    m_state.WordTable[slot] = designation->word;
    m_state.PictureTable[slot] = designation->entry;
    m_controls.Text2.text = QStringLiteral("指定語＞%1\r\n絵ファイルの名前＞%2(%3)")
                                .arg(designation->word, designation->entry)
                                .arg(slot);
    m_controls.Text1.text.clear();
    ++m_state.WordCount;
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
    for (int i = 0; i <= m_state.WordCount && i < WordSlots; ++i) {
        m_state.WordTable[i].clear();
        m_state.PictureTable[i].clear();
    }
    m_controls.Text2.text = QStringLiteral("全て消しました。");
}

}  // namespace velreader
