// "再生" and "巻き戻し": printing the text line by line on the page.
#include "reader/rules/colours.h"
#include "reader/rules/lines.h"
#include "reader/drawing/fonts.h"
#include "reader/core/reader_core.h"

namespace velreader {
namespace {

constexpr int RowLeft = 10;
constexpr int FirstRowTop = 15;
constexpr int RowGap = 2;
const QChar ColourMarker(u'＞');

}  // namespace

void ReaderCore::Command2_Click() {
    if (m_busy) return;
    playStep();
}

void ReaderCore::playStep() {
    if (m_state.LineCount == 0 || m_state.DisplayLines.isEmpty()) {
        m_controls.Text1.text = QStringLiteral("再生する文章がありません。");
        return;
    }
    // After a shorter reading without a rewind the position can lie beyond
    // the text: play the last line, which ends the playback.
    const int lastLine = int(m_state.DisplayLines.size() - 1);
    if (m_state.CurrentLine > lastLine) m_state.CurrentLine = lastLine;

    m_controls.LTitle.visible = false;
    const QString& line = m_state.DisplayLines.at(m_state.CurrentLine);
    for (int k = 0; k < WordSlots; ++k) {
        const QString& word = m_state.WordTable[k];
        if (!word.isEmpty() && !m_state.PictureTable[k].isEmpty() && line.contains(word)) applyWord(k);
    }

    m_page.setX(RowLeft);
    // A new page after 12 lines, or earlier when the rows of the next line
    // would not fit into the page's 31 row slots.
    const int rows = int(pageRows(line).size());
    if (m_state.PageLineCount >= PageLines || m_state.PageRowIndex + rows > PageRowSlots) {
        m_page.clear();
        m_page.setY(FirstRowTop);
        m_page.paintPicture(m_pura2);
        m_state.PageLineCount = 0;
        m_state.PageRowIndex = 0;
    }
    MojiWake();
    ++m_state.PageRowIndex;
    ++m_state.PageLineCount;

    if (m_state.CurrentLine >= m_state.LineCount || m_state.CurrentLine >= lastLine)
        m_controls.Command2.enabled = false;
    else
        ++m_state.CurrentLine;
}

void ReaderCore::applyWord(int k) {
    const QString& entry = m_state.PictureTable[k];
    QString pictureName = entry;
    const qsizetype marker = entry.indexOf(ColourMarker);
    if (marker >= 0) {
        if (const auto colour = textColourFor(QStringView(entry).mid(marker + 1))) m_page.setForeColor(*colour);
        pictureName = entry.left(marker);
    }
    if (pictureName.isEmpty()) return;
    // A missing or unreadable picture is skipped; the colour still applies.
    const QImage picture = m_pictures.load(pictureName, QSize(PageSurface::Width, PageSurface::Height));
    if (picture.isNull()) return;
    m_pura2 = picture;
    m_page.paintPicture(m_pura2);
    m_page.setX(RowLeft);
    m_page.setY(FirstRowTop);
    for (int r = 0; r < m_state.PageRowIndex; ++r) {
        m_page.setY(m_page.y() + RowGap);
        m_page.setX(RowLeft);
        m_page.print(m_state.PageRows[r]);
    }
}

void ReaderCore::MojiWake() {
    m_printedLine = m_state.DisplayLines.value(m_state.CurrentLine);
    m_lineDrawingsStart = int(m_page.drawings().size());
    const QStringList rows = pageRows(m_printedLine);
    m_page.setX(RowLeft);
    if (rows.size() == 1) m_page.setY(m_page.y() + RowGap);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0) {
            m_page.setX(RowLeft);
            ++m_state.PageRowIndex;
        }
        m_page.print(rows[i]);
        m_state.PageRows[m_state.PageRowIndex] = rows[i];
    }
}

void ReaderCore::Command4_Click() {
    if (m_busy) return;
    rewind();
}

void ReaderCore::rewind() {
    m_readSinceRewind = false;
    m_controls.Command2.enabled = true;
    m_page.clear();
    m_state.PageRowIndex = 0;
    m_state.PageLineCount = 0;
    m_state.CurrentLine = 0;
    m_page.setY(FirstRowTop);
    m_page.setForeColor(DefaultTextColour);
    m_page.paintPicture(m_pura);
    m_pura2 = m_pura;
    m_controls.LTitle.visible = true;
    m_printedLine.clear();
    m_lineDrawingsStart = int(m_page.drawings().size());
}

}  // namespace velreader
