#include "reader/ui/textbox.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace velreader {
namespace {

// The block state of a piece that continues the paragraph before it.
constexpr int ContinuesParagraph = 1;

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

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    m_fill.setInterval(0);
    connect(&m_fill, &QTimer::timeout, this, &TextBox::fillSlice);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!m_ours && (removed || added)) {
            m_edited = true;
            m_message = false;
        }
    });
}

void TextBox::setContent(const QString& text) {
    m_fill.stop();
    m_ours = true;
    document()->setUndoRedoEnabled(false);
    clear();
    m_ours = false;
    // A copy of its own: the caller goes on changing its text.
    m_content = QString(text.constData(), text.size());
    m_filled = 0;
    m_tailLength = 0;
    m_edited = false;
    if (m_content.size() <= ImmediateLength) {
        insertUpTo(m_content.size());
        document()->setUndoRedoEnabled(true);
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
    document()->setUndoRedoEnabled(true);
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
        document()->setUndoRedoEnabled(true);
        updateReadOnly();
    }
}

void TextBox::insertUpTo(qsizetype end) {
    if (end <= m_filled) return;
    // A CR LF split between two slices waits for its LF.
    if (end < m_content.size() && m_content[end - 1] == u'\r' && m_content[end] == u'\n')
        end = end - 1 > m_filled ? end - 1 : end + 1;
    // The slice goes in with one insertion (Qt lays out the last block of
    // an insertion again, so one per piece would lay out every piece): the
    // breaks between pieces and between paragraphs alike become block
    // breaks, and the pieces' blocks are marked afterwards.
    const QStringView text = QStringView(m_content).mid(m_filled, end - m_filled);
    QString slice;
    slice.reserve(text.size() + text.size() / SoftBlockLength + 1);
    std::vector<bool> continues;  // per block break of the slice: a piece break?
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype lineEnd = text.indexOf(u'\n', i);
        const bool breaks = lineEnd >= 0;
        if (!breaks) lineEnd = text.size();
        qsizetype segmentEnd = lineEnd;
        if (breaks && segmentEnd > i && text[segmentEnd - 1] == u'\r') --segmentEnd;
        while (i < segmentEnd) {
            const qsizetype room = SoftBlockLength - m_tailLength;
            if (segmentEnd - i <= room) {
                slice += text.mid(i, segmentEnd - i);
                m_tailLength += int(segmentEnd - i);
                i = segmentEnd;
                break;
            }
            qsizetype cut = i + std::max<qsizetype>(room, 1);
            while (cut > i + 1 && !safeCut(text, cut)) --cut;
            slice += text.mid(i, cut - i);
            slice += u'\n';
            continues.push_back(true);
            m_tailLength = 0;
            i = cut;
        }
        if (breaks) {
            slice += u'\n';
            continues.push_back(false);
            m_tailLength = 0;
            i = lineEnd + 1;
        }
    }
    m_ours = true;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextBlock block = cursor.block();
    cursor.insertText(slice);
    for (const bool piece : continues) {
        block = block.next();
        if (!block.isValid()) break;
        block.setUserState(piece ? ContinuesParagraph : 0);
    }
    m_filled = end;
    m_ours = false;
}

QString TextBox::documentText(int from, int to) const {
    QString out;
    QTextBlock block = document()->findBlock(from);
    while (block.isValid() && block.position() <= to) {
        const int start = std::max(from, block.position());
        const int stop = std::min(to, block.position() + block.length() - 1);
        // Only the pieces of one paragraph join without a break.
        if (block.position() > from && block.userState() != ContinuesParagraph) out += QStringLiteral("\r\n");
        if (stop > start) out += block.text().mid(start - block.position(), stop - start);
        block = block.next();
    }
    return out;
}

QString TextBox::currentText() const {
    if (!m_edited) return m_content;
    return documentText(0, document()->characterCount() - 1);
}

QMimeData* TextBox::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    QString text = documentText(cursor.selectionStart(), cursor.selectionEnd());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    data->setText(text);
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
    QPlainTextEdit::mousePressEvent(event);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    // Typing over a message replaces it: a printable key, Enter, Backspace
    // or Delete; moving, copying and the like leave it.
    const QString typed = event->text();
    const bool edits = (!typed.isEmpty() && typed.front().isPrint() && !(event->modifiers() & Qt::ControlModifier)) ||
                       event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                       event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    if (holdsMessage() && !isReadOnly() && edits) selectAll();
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

}  // namespace velreader
