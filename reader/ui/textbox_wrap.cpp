// Moving the pieces of a long paragraph to the line starts of its own wrap,
// so that the box wraps the paragraph as if it were one block.
//
// Qt breaks lines greedily: where a line ends depends only on where it
// starts. A piece that starts at a line start of the whole paragraph thus
// wraps exactly as that stretch of the paragraph does, and if it also ends
// at a line start, so does the next piece. The pieces are settled from the
// top: each one is laid out with some text beyond it, and its end is moved
// to the last line start within SoftBlockLength characters that has two more
// lines after it in what was laid out (so that nothing beyond the laid-out
// text could have moved it).
#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "reader/ui/textbox.h"

namespace velreader {
namespace {

// Characters laid out beyond SoftBlockLength to find a settled line start.
constexpr int Lookahead = 300;
// The most laid out at once, for lines far longer than a piece.
constexpr int MaxWindow = 1 << 16;

std::vector<int> lineStarts(const QString& text, const QFont& font, const QTextOption& option, qreal width) {
    QTextLayout layout(text, font);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<int> starts;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        starts.push_back(line.textStart());
    }
    layout.endLayout();
    return starts;
}

}  // namespace

void TextBox::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    checkWrapGeometry();
}

void TextBox::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) checkWrapGeometry();
}

void TextBox::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    checkWrapGeometry();
}

void TextBox::scrollContentsBy(int dx, int dy) {
    QPlainTextEdit::scrollContentsBy(dx, dy);
    scheduleWrap();
}

void TextBox::checkWrapGeometry() {
    // The width Qt's plain-text layout really gives a line, read back from
    // the first block laid out.
    const QTextBlock first = document()->firstBlock();
    document()->documentLayout()->blockBoundingRect(first);
    const qreal width = first.layout()->lineCount() > 0 ? first.layout()->lineAt(0).width() : -1;
    const QFont font = document()->defaultFont();
    const QTextOption::WrapMode mode = document()->defaultTextOption().wrapMode();
    if (width != m_wrapWidth || font != m_wrapFont || mode != m_wrapMode) {
        m_wrapWidth = width;
        m_wrapFont = font;
        m_wrapMode = mode;
        m_wrapDone = 0;
    }
    scheduleWrap();
}

void TextBox::scheduleWrap() {
    // Only a box that shows needs its wrap; the user's own typing keeps
    // the pieces where they are (moving them would enter the undo stack).
    if (!m_edited && isVisible() && !m_pieceBreaks.empty()) m_wrap.start();
}

bool TextBox::wrapSettled() const { return !m_wrap.isActive() && !filling(); }

void TextBox::settle() {
    finishFilling();
    m_wrapAll = true;
    checkWrapGeometry();
    wrapSlice();
    m_wrapAll = false;
    m_wrap.stop();
}

int TextBox::wrapTarget() const {
    if (m_wrapAll) return std::numeric_limits<int>::max();
    // Just past what shows: the end of the block after the last one in view.
    const QTextBlock last = cursorForPosition(QPoint(viewport()->width() - 1, viewport()->height() - 1)).block();
    const QTextBlock after = last.next();
    return after.isValid() ? after.position() + after.length() : document()->characterCount();
}

void TextBox::wrapSlice() {
    if (m_edited || m_wrapWidth <= 0 || m_pieceBreaks.empty() || (!m_wrapAll && !isVisible())) return;
    QElapsedTimer clock;
    clock.start();
    const int target = wrapTarget();
    const int topLine = textOffset(cursorForPosition(QPoint(0, 0)).position());
    bool more = false;
    {
        OwnEdit own(*this);
        QTextCursor cursor(document());
        cursor.beginEditBlock();
        while ((more = wrapStep(target, cursor)) && (m_wrapAll || clock.elapsed() < WrapSliceMs)) {
        }
        cursor.endEditBlock();
    }
    if (more) m_wrap.start();
    if (!m_wrapAll) keepTopLine(topLine);
}

void TextBox::keepTopLine(int topLine) {
    if (textOffset(cursorForPosition(QPoint(0, 0)).position()) == topLine) return;
    const int position = documentPosition(topLine);
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) return;
    document()->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    verticalScrollBar()->setValue(block.firstLineNumber() + (line.isValid() ? line.lineNumber() : 0));
}

void TextBox::addPieceBreak(QTextCursor& cursor, int position) {
    cursor.setPosition(position);
    cursor.insertBlock();
    auto at = std::lower_bound(m_pieceBreaks.begin(), m_pieceBreaks.end(), position);
    for (auto later = at; later != m_pieceBreaks.end(); ++later) ++*later;
    m_pieceBreaks.insert(at, position);
}

void TextBox::removePieceBreak(QTextCursor& cursor, int position) {
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    auto at = std::lower_bound(m_pieceBreaks.begin(), m_pieceBreaks.end(), position);
    if (at != m_pieceBreaks.end() && *at == position) at = m_pieceBreaks.erase(at);
    for (; at != m_pieceBreaks.end(); ++at) --*at;
}

bool TextBox::wrapStep(int target, QTextCursor& cursor) {
    QTextDocument* doc = document();
    if (m_wrapDone >= target || m_wrapDone >= doc->characterCount() - 1) return false;
    const QTextBlock block = doc->findBlock(m_wrapDone);
    if (!block.isValid()) return false;
    const int start = m_wrapDone = block.position();
    // A paragraph in one piece has nothing to move.
    const int separator = start + block.length() - 1;
    if (!isPieceBreak(separator) && block.length() - 1 <= SoftBlockLength) {
        if (!block.next().isValid()) return false;  // the last block may still grow
        m_wrapDone = separator + 1;
        return true;
    }

    for (int windowLimit = SoftBlockLength + Lookahead;; windowLimit *= 4) {
        // The text from `start` on, over the pieces of this paragraph.
        QString window;
        std::vector<int> breaks;  // where in `window` a later piece starts
        bool paragraphEnds = false;
        bool reachesEnd = false;
        QTextBlock b = block;
        for (;;) {
            window += b.text();
            const QTextBlock next = b.next();
            if (!next.isValid()) {
                reachesEnd = true;
                break;
            }
            if (!isPieceBreak(b.position() + b.length() - 1)) {
                paragraphEnds = true;
                break;
            }
            if (window.size() >= windowLimit) break;
            breaks.push_back(int(window.size()));
            b = next;
        }
        // The end of the document ends the paragraph only once nothing
        // more can come.
        const bool final = paragraphEnds || (reachesEnd && m_wrapAll && !filling());
        int cut = -1;
        if (!final || window.size() > SoftBlockLength) {
            const std::vector<int> starts = lineStarts(window, m_wrapFont, doc->defaultTextOption(), m_wrapWidth);
            const std::size_t after = final ? 0 : 2;
            for (std::size_t i = 1; i + after < starts.size(); ++i) {
                if (starts[i] > SoftBlockLength) {
                    if (cut < 0) cut = starts[i];
                    break;
                }
                cut = starts[i];
            }
            if (cut < 0) {
                if (reachesEnd && !final) return false;  // wait for more text
                if (!paragraphEnds && windowLimit < MaxWindow) continue;
                // No wrap to follow (a line longer than all that was laid
                // out, or no wrapping at all): the pieces stay as they are.
                m_wrapDone = breaks.empty() ? b.position() + b.length() : start + breaks.front() + 1;
                return true;
            }
        }
        // The breaks before the cut go; the one at the cut stays or is made.
        bool kept = false;
        for (std::size_t j = breaks.size(); j-- > 0;) {
            if (breaks[j] == cut) kept = true;
            else if (cut < 0 || breaks[j] < cut) removePieceBreak(cursor, start + breaks[j] + int(j));
        }
        if (cut < 0) {
            // The rest of the paragraph is one piece.
            m_wrapDone = doc->findBlock(start).position() + doc->findBlock(start).length();
            return !reachesEnd;
        }
        if (!kept) addPieceBreak(cursor, start + cut);
        m_wrapDone = start + cut + 1;
        return true;
    }
}

}  // namespace velreader
