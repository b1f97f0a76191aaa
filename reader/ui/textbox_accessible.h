#pragma once

#include <QAccessibleWidget>

namespace velreader {

class TextBox;

// What assistive technology reads of a TextBox: the text exactly as given,
// paragraphs joined by "\n" and the pieces of a long paragraph without a
// break, with offsets, lines, selection, caret and character places mapped
// through the box. Editable while the box is.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(TextBox* box);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    TextBox* box() const;
    // -1 before, 0 at, 1 after the unit that holds `offset`.
    QString textNear(int where, int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                     int* endOffset) const;
    // The text offsets of the unit that holds `offset`.
    std::pair<int, int> unitAt(int offset, QAccessible::TextBoundaryType boundaryType) const;
    // The paragraph that holds `offset`, without its line break.
    std::pair<int, int> paragraphAt(int offset) const;
};

// Makes every TextBox answer assistive technology through TextBoxAccessible.
void installTextBoxAccessibility();

}  // namespace velreader
