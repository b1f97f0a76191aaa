// The play step and the rewind: printing the text line by line on the page.
#include "reader/core/page_player.h"

#include "reader/drawing/fonts.h"
#include "reader/rules/lines.h"
#include "reader/services/pictures.h"

namespace velreader {
namespace {

constexpr int RowLeft = 10;
constexpr int FirstRowTop = 15;
constexpr int RowGap = 2;

}  // namespace

PagePlayer::PagePlayer(ReaderState& state, ReaderControls& controls, PictureStore& pictures)
    : m_state(state), m_controls(controls), m_pictures(pictures), m_pura(blankPicture(DesignPictureColour)),
      m_pura2(m_pura) {}

void PagePlayer::start() {
    m_page.paintPicture(m_pura);
    m_page.clear();
    m_page.setX(RowLeft);
    m_page.setY(FirstRowTop);
    m_page.setForeColor(DefaultTextColour);
    m_page.paintPicture(m_pura);
}

const PlayRule& PagePlayer::playRule() {
    if (!m_rule || !m_rule->madeFrom(m_state.WordTable, m_state.PictureTable))
        m_rule.emplace(m_state.WordTable, m_state.PictureTable);
    return *m_rule;
}

void PagePlayer::step() {
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
    const QSize pageSize(PageSurface::Width, PageSurface::Height);
    // Each picture that shows becomes the page picture at once, with the
    // page's rows printed over it again in the colour in force.
    const AppliedDesignations applied =
        playRule().apply(line, m_page.foreColor().rgb(), [&](const QString& name, QRgb colour) {
            // A missing or unreadable picture is skipped; the colour still applies.
            const QImage picture = m_pictures.load(name, pageSize);
            if (picture.isNull()) return false;
            if (colour != m_page.foreColor().rgb()) m_page.setForeColor(QColor::fromRgb(colour));
            showPicture(picture);
            return true;
        });
    if (applied.colour != m_page.foreColor().rgb()) m_page.setForeColor(QColor::fromRgb(applied.colour));

    m_page.setX(RowLeft);
    if (PlayRule::place(line, m_state.PageRowIndex, m_state.PageLineCount).newPage) {
        m_page.clear();
        m_page.setY(FirstRowTop);
        m_page.paintPicture(m_pura2);
        m_state.PageLineCount = 0;
        m_state.PageRowIndex = 0;
    }
    printLine();
    ++m_state.PageRowIndex;
    ++m_state.PageLineCount;

    if (m_state.CurrentLine >= m_state.LineCount || m_state.CurrentLine >= lastLine)
        m_controls.Command2.enabled = false;
    else
        ++m_state.CurrentLine;
}

void PagePlayer::showPicture(const QImage& picture) {
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

void PagePlayer::printLine() {
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

void PagePlayer::rewind() {
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

void PagePlayer::startPageAt(int firstStep, QRgb colour, const QImage& picture) {
    m_page.setForeColor(QColor::fromRgb(colour));
    m_pura2 = picture.isNull() ? m_pura : picture;
    m_state.PageLineCount = PageLines;
    m_state.PageRowIndex = 0;
    m_state.CurrentLine = firstStep - 1;
    m_controls.Command2.enabled = true;
}

}  // namespace velreader
