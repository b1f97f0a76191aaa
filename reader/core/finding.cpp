// 表示 > "検索...", F3 and Shift+F3: finding a passage in the display lines.
#include "reader/rules/text_search.h"
#include "reader/core/reader_core.h"

namespace velreader {

void ReaderCore::Find_Click(const QString& text) {
    if (busy()) return;
    m_findText = text;
    // A new text to find starts from where the reader is.
    m_found = {};
    findFrom(true);
}

void ReaderCore::FindNext_Click() {
    if (busy() || m_findText.isEmpty()) return;
    findFrom(true);
}

void ReaderCore::FindPrevious_Click() {
    if (busy() || m_findText.isEmpty()) return;
    findFrom(false);
}

int ReaderCore::foundStep() const {
    if (!m_found.found()) return -1;
    if (m_foundIn.constData() != m_state.DisplayLines.constData()) {
        // Another text: the old one is let go.
        m_foundIn = QStringList();
        m_found = {};
        return -1;
    }
    return m_foundStep;
}

void ReaderCore::findFrom(bool forward) {
    const int total = totalSteps();
    const int step = currentStep();
    // While the page shows the passage found last, the search goes on from
    // it; after any other move, from the step reached.
    const bool goOn = foundStep() >= 0 && step == m_foundStep;
    const qsizetype from = forward ? (goOn ? m_found.line + 1 : step) : (goOn ? m_found.line - 1 : step - 2);
    const FoundPassage found = findPassage(m_state.DisplayLines, total, m_findText, from, forward);
    if (!found.found()) {
        m_found = {};
        m_foundIn = QStringList();
        m_controls.Text1.text = QStringLiteral("見つかりません。");
        return;
    }
    // Shown as a jump shows a step: the player view, with the page that
    // ends in the passage's last line.
    showView(true);
    goToStep(found.lastLine + 1);
    m_found = found;
    m_foundStep = currentStep();
    m_foundIn = m_state.DisplayLines;
    m_controls.Text1.text = QStringLiteral("「%1」：%2 行目").arg(m_findText).arg(found.line + 1);
}

}  // namespace velreader
