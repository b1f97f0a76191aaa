#include "reader/ui/textbox.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "reader/ui/textbox_accessible.h"

namespace velreader {
namespace {

// True when a paragraph can be split before `i` without splitting what the
// eye sees as one character.
bool safeCut(QStringView text, qsizetype i) {
    if (i <= 0 || i >= text.size()) return true;
    const QChar next = text[i];
    const QChar previous = text[i - 1];
    return !next.isLowSurrogate() && !next.isMark() && next != QChar(0x200D) && previous != QChar(0x200D) &&
           !(next.unicode() >= 0xFE00 && next.unicode() <= 0xFE0F);
}

}  // namespace

TextBox::OwnEdit::OwnEdit(TextBox& box) : m_box(box), m_undo(box.document()->isUndoRedoEnabled()) {
    m_box.m_ours = true;
    // The undo stack holds only what the user typed; until the user types,
    // it is empty, and switching it off and on again loses nothing.
    if (m_undo && !m_box.m_edited) m_box.document()->setUndoRedoEnabled(false);
}

TextBox::OwnEdit::~OwnEdit() {
    if (m_undo && !m_box.m_edited) m_box.document()->setUndoRedoEnabled(true);
    m_box.m_ours = false;
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    installTextBoxAccessibility();
    m_fill.setInterval(0);
    connect(&m_fill, &QTimer::timeout, this, &TextBox::fillSlice);
    m_wrap.setInterval(0);
    m_wrap.setSingleShot(true);
    connect(&m_wrap, &QTimer::timeout, this, &TextBox::wrapSlice);
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
        if (!m_ours && (removed || added)) {
            trackUserChange(position, removed, added);
            m_message = false;
        }
    });
}

void TextBox::setContent(const QString& text) {
    m_fill.stop();
    {
        OwnEdit own(*this);
        clear();
    }
    // A short text gets a copy of its own: the caller may go on appending
    // to its text (a listing), and sharing would make its next append copy
    // and drop the room it reserved. A large one is shared: a second copy
    // of a whole book costs more than one copy made later, if ever.
    m_content = text.size() <= ImmediateLength ? QString(text.constData(), text.size()) : text;
    m_filled = 0;
    m_pieceBreaks.clear();
    m_wrapDone = 0;
    m_edited = false;
    if (m_content.size() <= ImmediateLength) {
        insertUpTo(m_content.size());
        // A short text wraps at once, before the window paints it.
        if (isVisible()) wrapSlice();
    } else {
        fillSlice();
    }
    updateReadOnly();
}

void TextBox::appendContent(QStringView tail) {
    if (tail.isEmpty()) return;
    const bool wasDone = !filling();
    m_content += tail;
    if (wasDone && tail.size() <= ImmediateLength) {
        insertUpTo(m_content.size());
        return;
    }
    if (!m_fill.isActive()) fillSlice();
    updateReadOnly();
}

void TextBox::finishFilling() {
    m_fill.stop();
    insertUpTo(m_content.size());
    updateReadOnly();
}

void TextBox::setLocked(bool locked) {
    m_locked = locked;
    updateReadOnly();
}

void TextBox::updateReadOnly() { setReadOnly(m_locked || filling()); }

void TextBox::fillSlice() {
    QElapsedTimer clock;
    clock.start();
    while (filling() && clock.elapsed() < FillSliceMs) insertUpTo(std::min(m_content.size(), m_filled + 8192));
    if (filling()) {
        m_fill.start();
    } else {
        m_fill.stop();
        updateReadOnly();
    }
}

void TextBox::insertUpTo(qsizetype end) {
    if (end <= m_filled) return;
    // Read only: the text may be shared with the caller's.
    const QStringView content(m_content);
    // A CR LF split between two slices waits for its LF.
    if (end < m_content.size() && content[end - 1] == u'\r' && content[end] == u'\n')
        end = end - 1 > m_filled ? end - 1 : end + 1;
    // The slice goes in with one insertion (Qt lays out the last block of
    // an insertion again, so one per piece would lay out every piece): the
    // breaks between pieces and between paragraphs alike become block
    // breaks. Pieces are cut at about SoftBlockLength characters here and
    // moved to line starts later, once the box shows them.
    QTextDocument* doc = document();
    if (m_filled > 0 && content[m_filled - 1] == u'\r' && content[m_filled] == u'\n') {
        // A text that grew between a CR and its LF: the CR went in as a
        // character of the last paragraph, and is a line break after all.
        OwnEdit own(*this);
        QTextCursor cursor(doc);
        cursor.movePosition(QTextCursor::End);
        cursor.deletePreviousChar();
    }
    const QTextBlock last = doc->lastBlock();
    const int start = doc->characterCount() - 1;
    qsizetype tailLength = last.length() - 1;
    // Short paragraphs share a block, joined by line separators: a block
    // costs Qt a few hundred bytes and its clearing time, and a text of
    // short lines would otherwise be a block a line. Only whole paragraphs
    // whose end is known are packed, never after a piece of a long one, so
    // that every piece still starts its paragraph's block or follows a piece.
    bool tailIsPiece = !m_pieceBreaks.empty() && m_pieceBreaks.back() == last.position() - 1;
    const QStringView text = QStringView(m_content).mid(m_filled, end - m_filled);
    QString slice;
    slice.reserve(text.size() + text.size() / SoftBlockLength + 1);
    std::vector<int> breaks;  // document positions of the new piece breaks
    qsizetype i = 0;
    qsizetype nextLineEnd = -1;  // the next paragraph's end, once looked up (in m_content)
    while (i < text.size()) {
        qsizetype lineEnd = nextLineEnd >= m_filled + i ? nextLineEnd - m_filled : text.indexOf(u'\n', i);
        if (lineEnd >= text.size()) lineEnd = -1;
        const bool lineBreaks = lineEnd >= 0;
        if (!lineBreaks) lineEnd = text.size();
        qsizetype segmentEnd = lineEnd;
        if (lineBreaks && segmentEnd > i && text[segmentEnd - 1] == u'\r') --segmentEnd;
        while (i < segmentEnd) {
            const qsizetype room = SoftBlockLength - tailLength;
            if (segmentEnd - i <= room) {
                slice += text.mid(i, segmentEnd - i);
                tailLength += segmentEnd - i;
                i = segmentEnd;
                break;
            }
            qsizetype cut = i + std::max<qsizetype>(room, 1);
            while (cut > i + 1 && !safeCut(text, cut)) --cut;
            slice += text.mid(i, cut - i);
            breaks.push_back(start + int(slice.size()));
            slice += u'\n';
            tailLength = 0;
            tailIsPiece = true;
            i = cut;
        }
        if (lineBreaks) {
            i = lineEnd + 1;
            const qsizetype next = m_filled + i;
            nextLineEnd = m_content.indexOf(u'\n', next);
            qsizetype nextLength = -1;
            if (nextLineEnd >= 0) nextLength = nextLineEnd - next - (nextLineEnd > next && content[nextLineEnd - 1] == u'\r');
            // A line separator after a tab may not fit the tab's line and
            // would make a line of its own: such a paragraph ends its block.
            const bool endsInTab = m_filled + segmentEnd > 0 && content[m_filled + segmentEnd - 1] == u'\t';
            if (!tailIsPiece && !endsInTab && nextLength >= 0 && tailLength + 1 + nextLength <= SoftBlockLength) {
                slice += LineSeparator;
                ++tailLength;
            } else {
                slice += u'\n';
                tailLength = 0;
                tailIsPiece = false;
            }
        }
    }
    {
        OwnEdit own(*this);
        QTextCursor cursor(doc);
        // In an edit block the cursor does not lay its block out afterwards.
        cursor.beginEditBlock();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(slice);
        cursor.endEditBlock();
    }
    m_pieceBreaks.insert(m_pieceBreaks.end(), breaks.begin(), breaks.end());
    m_filled = end;
    // The last block grew: its pieces need their line starts again.
    m_wrapDone = std::min(m_wrapDone, last.position());
    scheduleWrap();
}

void TextBox::trackUserChange(int position, int removed, int added) {
    m_edited = true;
    // Breaks inside what was removed went with it; later ones move.
    const auto first = std::lower_bound(m_pieceBreaks.begin(), m_pieceBreaks.end(), position);
    const auto last = std::lower_bound(first, m_pieceBreaks.end(), position + removed);
    auto rest = m_pieceBreaks.erase(first, last);
    for (; rest != m_pieceBreaks.end(); ++rest) *rest += added - removed;
}

bool TextBox::isPieceBreak(int position) const {
    return std::binary_search(m_pieceBreaks.begin(), m_pieceBreaks.end(), position);
}

QString TextBox::documentText(int from, int to, QStringView paragraphBreak) const {
    QString out;
    QTextBlock block = document()->findBlock(from);
    while (block.isValid() && block.position() <= to) {
        const int start = std::max(from, block.position());
        const int stop = std::min(to, block.position() + block.length() - 1);
        // Only the pieces of one paragraph join without a break.
        if (block.position() > from && !isPieceBreak(block.position() - 1)) out += paragraphBreak;
        if (stop > start) out += QStringView(block.text()).mid(start - block.position(), stop - start);
        block = block.next();
    }
    // The paragraphs that share a block.
    if (out.contains(QChar(LineSeparator))) out.replace(QChar(LineSeparator), paragraphBreak.toString());
    return out;
}

QString TextBox::currentText() const {
    if (!m_edited) return m_content;
    return documentText(0, document()->characterCount() - 1, u"\r\n");
}

QMimeData* TextBox::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    data->setText(documentText(cursor.selectionStart(), cursor.selectionEnd(), u"\n"));
    return data;
}

void TextBox::setHoldsMessage(bool message) {
    m_message = message;
    m_selectOnClick = message;
}

void TextBox::mousePressEvent(QMouseEvent* event) {
    // One click takes the whole message; clicks after it place the cursor.
    if (holdsMessage() && m_selectOnClick && event->button() == Qt::LeftButton) {
        m_selectOnClick = false;
        setFocus(Qt::MouseFocusReason);
        selectAll();
        event->accept();
        return;
    }
    // Where the press is, before the box scrolls to what it selects.
    const int pressed = cursorForPosition(event->position().toPoint()).position();
    QPlainTextEdit::mousePressEvent(event);
    // A triple click selects a block; in a block that paragraphs share, it
    // selects the paragraph clicked, with its break, as in a block of its own.
    QTextCursor cursor = textCursor();
    const QTextBlock block = document()->findBlock(cursor.selectionStart());
    const int blockEnd = block.position() + block.length() - 1;
    if (event->button() != Qt::LeftButton || !cursor.hasSelection() || cursor.selectionStart() != block.position() ||
        (cursor.selectionEnd() != blockEnd && cursor.selectionEnd() != blockEnd + 1) ||
        !block.text().contains(QChar(LineSeparator)))
        return;
    const auto [start, end] = paragraphAt(pressed);
    cursor.setPosition(start);
    cursor.setPosition(std::min(end + 1, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    // Typing over a message replaces it: a printable key, Enter, Backspace
    // or Delete; moving, copying and the like leave it.
    const QString typed = event->text();
    const bool edits = (!typed.isEmpty() && typed.front().isPrint() && !(event->modifiers() & Qt::ControlModifier)) ||
                       event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                       event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    if (holdsMessage() && !isReadOnly() && edits) {
        selectAll();
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // The break between two pieces is no character: the keys that would
    // stop at it or delete it act on the character beyond it instead.
    QTextCursor cursor = textCursor();
    const int position = cursor.position();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const auto moveTo = [&](int to) {
        cursor.setPosition(to, modifiers == Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        setTextCursor(cursor);
    };
    if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier) {
        switch (event->key()) {
        case Qt::Key_Left:
            if (position > 0 && isPieceBreak(position - 1)) moveTo(position - 1);
            break;
        case Qt::Key_Right:
            if (isPieceBreak(position)) moveTo(position + 1);
            break;
        case Qt::Key_Backspace:
            if (!cursor.hasSelection() && !isReadOnly() && position > 0 && isPieceBreak(position - 1)) moveTo(position - 1);
            break;
        case Qt::Key_Delete:
            if (!cursor.hasSelection() && !isReadOnly() && isPieceBreak(position)) moveTo(position + 1);
            break;
        default: break;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (holdsMessage() && !isReadOnly() && !(event->commitString().isEmpty() && event->preeditString().isEmpty()))
        selectAll();
    QPlainTextEdit::inputMethodEvent(event);
}

void TextBox::insertFromMimeData(const QMimeData* source) {
    if (holdsMessage() && !isReadOnly() && canInsertFromMimeData(source)) selectAll();
    QPlainTextEdit::insertFromMimeData(source);
}

int TextBox::textLength() const { return document()->characterCount() - 1 - int(m_pieceBreaks.size()); }

QString TextBox::text(int from, int to) const {
    from = std::clamp(from, 0, textLength());
    to = std::clamp(to, from, textLength());
    return documentText(documentPosition(from), documentPosition(to), u"\n");
}

int TextBox::textOffset(int documentPosition) const {
    const auto before = std::lower_bound(m_pieceBreaks.begin(), m_pieceBreaks.end(), documentPosition);
    return documentPosition - int(before - m_pieceBreaks.begin());
}

int TextBox::documentPosition(int textOffset) const {
    textOffset = std::clamp(textOffset, 0, textLength());
    // The j-th break (from 0) lies after text offset break - j: count those
    // at or before the offset.
    std::size_t low = 0;
    std::size_t high = m_pieceBreaks.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (m_pieceBreaks[middle] - int(middle) <= textOffset)
            low = middle + 1;
        else
            high = middle;
    }
    return textOffset + int(low);
}

QRect TextBox::characterRect(int position) const {
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid() || position >= document()->characterCount() - 1) return {};
    // Laying the block out, if it was not yet.
    const QRectF geometry = blockBoundingGeometry(block).translated(contentOffset());
    const QTextLayout* layout = block.layout();
    const int relative = position - block.position();
    const QTextLine line = layout->lineForTextPosition(relative);
    if (!line.isValid()) return {};
    const qreal x = line.cursorToX(relative);
    const int next = layout->nextCursorPosition(relative);
    const qreal nextX = next <= line.textStart() + line.textLength() ? line.cursorToX(next) : line.x() + line.naturalTextWidth();
    // Rounded as the text cursor's place is.
    const QRectF rect(geometry.left() + std::min(x, nextX), geometry.top() + line.y(), std::max<qreal>(std::abs(nextX - x), 1),
                      line.height());
    return rect.toRect();
}

std::pair<int, int> TextBox::paragraphAt(int position) const {
    const QTextDocument* doc = document();
    position = std::clamp(position, 0, doc->characterCount() - 1);
    const QChar separator(LineSeparator);
    int start = -1;
    QTextBlock block = doc->findBlock(position);
    for (int within = position - block.position(); start < 0;) {
        const qsizetype at = within > 0 ? block.text().lastIndexOf(separator, within - 1) : -1;
        if (at >= 0) {
            start = block.position() + int(at) + 1;
        } else if (block.position() > 0 && isPieceBreak(block.position() - 1)) {
            block = block.previous();
            within = block.length() - 1;
        } else {
            start = block.position();
        }
    }
    int end = -1;
    block = doc->findBlock(position);
    for (int within = position - block.position(); end < 0;) {
        const qsizetype at = block.text().indexOf(separator, within);
        const int blockEnd = block.position() + block.length() - 1;
        if (at >= 0) {
            end = block.position() + int(at);
        } else if (isPieceBreak(blockEnd)) {
            block = block.next();
            within = 0;
        } else {
            end = blockEnd;
        }
    }
    return {start, end};
}

std::pair<int, int> TextBox::lineAt(int position) const {
    const QTextBlock block = document()->findBlock(std::clamp(position, 0, document()->characterCount() - 1));
    if (!block.isValid()) return {0, 0};
    document()->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    if (!line.isValid()) return {block.position(), block.position() + block.length() - 1};
    int end = line.textStart() + line.textLength();
    // A line that ends its paragraph inside a shared block ends before the break.
    if (end > line.textStart() && block.text()[end - 1] == QChar(LineSeparator)) --end;
    return {block.position() + line.textStart(), block.position() + end};
}

void TextBox::scrollToPosition(int position) {
    const QRect rect = characterRect(position);
    if (rect.isValid() && viewport()->rect().contains(rect)) return;
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) return;
    document()->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    verticalScrollBar()->setValue(block.firstLineNumber() + (line.isValid() ? line.lineNumber() : 0));
}

}  // namespace velreader
