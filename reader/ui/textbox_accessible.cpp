#include "reader/ui/textbox_accessible.h"

#include <QTextBlock>
#include <QTextDocument>

#include "reader/ui/textbox.h"

namespace velreader {
namespace {

// Characters on either side of an offset given to Qt's own rules for
// characters, words and sentences: a paragraph can be millions long.
constexpr int BoundaryMargin = 4096;

// A stretch of the box's text, for Qt's own boundary rules of characters,
// words and sentences.
class TextStretch : public QAccessibleTextInterface {
public:
    explicit TextStretch(QString text) : m_text(std::move(text)) {}
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override { return m_text.mid(startOffset, endOffset - startOffset); }
    int characterCount() const override { return int(m_text.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    QString m_text;
};

QAccessibleInterface* textBoxFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TextBox::staticMetaObject.className()) && object && object->isWidgetType())
        return new TextBoxAccessible(static_cast<TextBox*>(object));
    return nullptr;
}

}  // namespace

void installTextBoxAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(textBoxFactory);
        return true;
    }();
    (void)installed;
}

TextBoxAccessible::TextBoxAccessible(TextBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

TextBox* TextBoxAccessible::box() const { return static_cast<TextBox*>(widget()); }

void* TextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface && !box()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = box()->isReadOnly();
    state.editable = !state.readOnly;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString TextBoxAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) return box()->text(0, box()->textLength());
    return QAccessibleWidget::text(type);
}

void TextBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = box()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection()) return;
    *startOffset = box()->textOffset(cursor.selectionStart());
    *endOffset = box()->textOffset(cursor.selectionEnd());
}

int TextBoxAccessible::selectionCount() const { return box()->textCursor().hasSelection() ? 1 : 0; }

void TextBoxAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void TextBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0) return;
    QTextCursor cursor = box()->textCursor();
    cursor.clearSelection();
    box()->setTextCursor(cursor);
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0) return;
    QTextCursor cursor = box()->textCursor();
    cursor.setPosition(box()->documentPosition(startOffset));
    cursor.setPosition(box()->documentPosition(endOffset), QTextCursor::KeepAnchor);
    box()->setTextCursor(cursor);
}

int TextBoxAccessible::cursorPosition() const { return box()->textOffset(box()->textCursor().position()); }

void TextBoxAccessible::setCursorPosition(int position) {
    QTextCursor cursor = box()->textCursor();
    cursor.setPosition(box()->documentPosition(position));
    box()->setTextCursor(cursor);
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const { return box()->text(startOffset, endOffset); }

int TextBoxAccessible::characterCount() const { return box()->textLength(); }

QRect TextBoxAccessible::characterRect(int offset) const {
    const QRect rect = box()->characterRect(box()->documentPosition(offset));
    if (rect.isEmpty()) return {};
    return QRect(box()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int TextBoxAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint inside = box()->viewport()->mapFromGlobal(point);
    if (!box()->viewport()->rect().contains(inside)) return -1;
    return box()->textOffset(box()->cursorForPosition(inside).position());
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int endIndex) {
    box()->scrollToPosition(box()->documentPosition(endIndex));
    box()->scrollToPosition(box()->documentPosition(startIndex));
}

QString TextBoxAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // Plain text: one look from start to end.
    (void)offset;
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

QString TextBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                            int* endOffset) const {
    return textNear(-1, offset, boundaryType, startOffset, endOffset);
}

QString TextBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                           int* endOffset) const {
    return textNear(1, offset, boundaryType, startOffset, endOffset);
}

QString TextBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                        int* endOffset) const {
    return textNear(0, offset, boundaryType, startOffset, endOffset);
}

QString TextBoxAccessible::textNear(int where, int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                    int* endOffset) const {
    *startOffset = *endOffset = -1;
    const int length = characterCount();
    if (offset == -1) offset = length;
    if (offset < 0 || offset > length) return {};
    switch (boundaryType) {
    case QAccessible::LineBoundary: return lineNear(where, offset, startOffset, endOffset);
    case QAccessible::ParagraphBoundary: return paragraphNear(where, offset, startOffset, endOffset);
    case QAccessible::NoBoundary:
        if (where != 0) return {};
        *startOffset = 0;
        *endOffset = length;
        return text(0, length);
    default: break;
    }
    // Characters, words and sentences by Qt's own rules, on the stretch
    // around the offset.
    const int from = std::max(0, offset - BoundaryMargin);
    const int to = std::min(length, offset + BoundaryMargin);
    const TextStretch stretch(text(from, to));
    QString found;
    if (where < 0)
        found = stretch.textBeforeOffset(offset - from, boundaryType, startOffset, endOffset);
    else if (where > 0)
        found = stretch.textAfterOffset(offset - from, boundaryType, startOffset, endOffset);
    else
        found = stretch.textAtOffset(offset - from, boundaryType, startOffset, endOffset);
    if (*startOffset >= 0) {
        *startOffset += from;
        *endOffset += from;
    }
    return found;
}

QString TextBoxAccessible::lineNear(int where, int offset, int* startOffset, int* endOffset) const {
    // Lines as the box shows them.
    const int length = characterCount();
    int position = box()->documentPosition(offset);
    auto [start, end] = box()->lineAt(position);
    if (where < 0) {
        if (start == 0) return {};
        std::tie(start, end) = box()->lineAt(start - 1);
    } else if (where > 0) {
        // The next line starts where this one ends, or after the line break.
        const QTextBlock block = box()->document()->findBlock(end);
        const int next = end == block.position() + block.length() - 1 ? end + 1 : end;
        if (box()->textOffset(end) >= length) return {};
        std::tie(start, end) = box()->lineAt(next);
    }
    *startOffset = box()->textOffset(start);
    *endOffset = box()->textOffset(end);
    return text(*startOffset, *endOffset);
}

QString TextBoxAccessible::paragraphNear(int where, int offset, int* startOffset, int* endOffset) const {
    // Paragraphs with their line break, as Qt reads lines of a plain text.
    const TextBox* b = box();
    const auto paragraph = [b](int position) {
        const QTextDocument* doc = b->document();
        QTextBlock first = doc->findBlock(position);
        while (first.previous().isValid() && b->textOffset(first.position()) == b->textOffset(first.position() - 1))
            first = first.previous();
        QTextBlock last = doc->findBlock(position);
        while (last.next().isValid() && b->textOffset(last.next().position()) == b->textOffset(last.next().position() - 1))
            last = last.next();
        const int start = b->textOffset(first.position());
        const int end = b->textOffset(last.position() + last.length() - 1) + (last.next().isValid() ? 1 : 0);
        return std::pair{start, end};
    };
    auto [start, end] = paragraph(b->documentPosition(offset));
    if (where < 0) {
        if (start == 0) return {};
        std::tie(start, end) = paragraph(b->documentPosition(start - 1));
    } else if (where > 0) {
        if (end >= characterCount()) return {};
        std::tie(start, end) = paragraph(b->documentPosition(end));
    }
    *startOffset = start;
    *endOffset = end;
    return text(start, end);
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset) { replaceText(startOffset, endOffset, QString()); }

void TextBoxAccessible::insertText(int offset, const QString& text) { replaceText(offset, offset, text); }

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    if (box()->isReadOnly()) return;
    QTextCursor cursor(box()->document());
    cursor.setPosition(box()->documentPosition(startOffset));
    cursor.setPosition(box()->documentPosition(endOffset), QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

}  // namespace velreader
