#include "reader/ui/textbox_accessible.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
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
    // As Qt's own plain text box answers for the unbroken text: the unit at
    // the offset, the one that ends where it starts, or the one that starts
    // where it ends (for lines and paragraphs, the next one after a break).
    *startOffset = *endOffset = -1;
    const int length = characterCount();
    if (offset == -1) offset = length;
    if (offset < 0 || offset > length) return {};
    auto [start, end] = unitAt(offset, boundaryType);
    if (where < 0) {
        if (start == 0) return {};
        std::tie(start, end) = unitAt(start - 1, boundaryType);
    } else if (where > 0) {
        int next = end;
        if ((boundaryType == QAccessible::LineBoundary || boundaryType == QAccessible::ParagraphBoundary) &&
            next == paragraphAt(offset).second)
            ++next;
        if (next > length || (next == length && boundaryType != QAccessible::CharBoundary)) return {};
        std::tie(start, end) = unitAt(next, boundaryType);
    }
    *startOffset = start;
    *endOffset = end;
    return text(start, end);
}

std::pair<int, int> TextBoxAccessible::paragraphAt(int offset) const {
    // Over the pieces, and within a block that several paragraphs share.
    const TextBox* b = box();
    const auto [start, end] = b->paragraphAt(b->documentPosition(offset));
    return {b->textOffset(start), b->textOffset(end)};
}

std::pair<int, int> TextBoxAccessible::unitAt(int offset, QAccessible::TextBoundaryType boundaryType) const {
    const auto [paragraphStart, paragraphEnd] = paragraphAt(offset);
    switch (boundaryType) {
    case QAccessible::ParagraphBoundary: return {paragraphStart, paragraphEnd};
    case QAccessible::NoBoundary: return {0, characterCount()};
    case QAccessible::LineBoundary: {
        // Lines as the box shows them; a line that wraps at a space ends
        // before it, as a text cursor's end of line does.
        const auto [lineStart, lineEnd] = box()->lineAt(box()->documentPosition(offset));
        int start = box()->textOffset(lineStart);
        int end = box()->textOffset(lineEnd);
        if (end > start && end < paragraphEnd && box()->text(end - 1, end).front().isSpace()) --end;
        return {start, end};
    }
    default: break;
    }
    // Characters, words and sentences by the rules of Qt's text cursor, on
    // the stretch of the paragraph around the offset.
    const int from = std::max(paragraphStart, offset - BoundaryMargin);
    const int to = std::min(paragraphEnd, offset + BoundaryMargin);
    const QString stretch = text(from, to);
    const int at = offset - from;
    const int length = int(stretch.size());
    const auto space = [&](int i) { return stretch[i].isSpace(); };
    const auto separator = [&](int i) { return QStringView(u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\").contains(stretch[i]); };
    if (boundaryType == QAccessible::CharBoundary) {
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, stretch);
        graphemes.setPosition(at);
        const int next = at < length ? int(graphemes.toNextBoundary()) : at;
        return {offset, from + (next < 0 ? length : next)};
    }
    if (boundaryType == QAccessible::WordBoundary) {
        // The start of the word: back from the character after the offset.
        int start = at;
        if (at > 0 && !(at == length && (space(at - 1) || separator(at - 1)))) {
            if (start < length) ++start;
            while (start > 0 && space(start - 1)) --start;
            if (start > 0 && separator(start - 1)) {
                --start;
                while (start > 0 && separator(start - 1)) --start;
            } else {
                while (start > 0 && !space(start - 1) && !separator(start - 1)) --start;
            }
        }
        int end = start;
        if (end < length && separator(end)) {
            ++end;
            while (end < length && separator(end)) ++end;
        } else {
            while (end < length && !space(end) && !separator(end)) ++end;
        }
        return {from + start, from + end};
    }
    QTextBoundaryFinder sentences(QTextBoundaryFinder::Sentence, stretch);
    sentences.setPosition(at);
    int start = at;
    if (!(sentences.boundaryReasons() & QTextBoundaryFinder::StartOfItem)) start = int(sentences.toPreviousBoundary());
    // From the sentence's start, as the text cursor counts it.
    const int end = int(sentences.toNextBoundary());
    return {start < 0 ? from : from + start, end < 0 ? to : from + end};
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
