#pragma once

#include <vector>

#include <QFont>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QString>
#include <QTextOption>
#include <QTimer>

namespace velreader {

// A multi-line text box that takes texts of any size without freezing the
// window: a large text is put in a slice at a time between events, and a
// long paragraph is held in pieces of at most SoftBlockLength characters, so
// that Qt lays out only the pieces on screen. The pieces are the box's own
// business: the box shows, selects, copies and tells assistive technology
// the text exactly as given. Each piece ends where the paragraph's own line
// wrapping ends a line, so the wrap on screen is that of the unbroken
// paragraph: pieces are first cut at about SoftBlockLength characters, then
// moved to the wrap's line starts between events, from the top down to just
// past what the box shows, and again whenever the width or font changes.
//
// Short paragraphs share a block, joined by line separators (U+2028, which
// Qt lays out as a line break), so that a text of many short lines costs
// few blocks; a line separator in the document reads as a paragraph break.
//
// Texts are given and read with CR LF line breaks, the form the reader's
// handlers use; assistive technology reads "\n" between paragraphs.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int SoftBlockLength = 1000;
    // What joins the paragraphs that share a block.
    static constexpr char16_t LineSeparator = u'\u2028';
    // How long one slice of filling may take.
    static constexpr int FillSliceMs = 8;
    // How long one slice of moving pieces to line starts may take.
    static constexpr int WrapSliceMs = 8;
    // Texts up to this size are put in at once.
    static constexpr int ImmediateLength = 20000;

    explicit TextBox(QWidget* parent = nullptr);

    // Shows `text`, replacing what the box held (and anything typed).
    void setContent(const QString& text);
    // Adds `tail` at the end of what the box holds.
    void appendContent(QStringView tail);
    // The text last given, unless the user has typed since.
    const QString& content() const { return m_content; }
    // What the box holds now, as the user sees it (CR LF line breaks).
    QString currentText() const;
    // True once the user has changed the text since it was last given.
    bool editedByUser() const { return m_edited; }
    // True while a large text is still being put in.
    bool filling() const { return m_filled < m_content.size(); }
    // Puts the rest in at once.
    void finishFilling();
    // Keeps the user from typing (besides while filling).
    void setLocked(bool locked);
    // Marks the text shown as a message the program wrote, not the user's
    // text: until the user changes it, the first click into the box selects
    // it whole, and the first key typed or text pasted replaces it.
    void setHoldsMessage(bool message);
    bool holdsMessage() const { return m_message && !m_edited; }

    // True when every piece that lies before the end of what the box shows
    // ends at a line start of its paragraph's wrap.
    bool wrapSettled() const;
    // Puts the rest in and moves every piece of the whole text to its line
    // start now (for tests and measurements; a real window lets it happen
    // between events).
    void settle();

    // The text as assistive technology reads it: paragraphs joined by "\n",
    // the pieces of one paragraph joined without a break. Offsets into it
    // are "text offsets"; document positions count the pieces' breaks too.
    int textLength() const;
    // The text from text offset `from` to `to`.
    QString text(int from, int to) const;
    int textOffset(int documentPosition) const;
    // The document position of a text offset; at the meeting of two pieces,
    // the start of the later one, where the wrap shows it.
    int documentPosition(int textOffset) const;
    // Where the character at a document position is drawn, in viewport
    // coordinates; empty past the end.
    QRect characterRect(int documentPosition) const;
    // The document positions of the paragraph that holds `documentPosition`,
    // over its pieces and within a block it shares (its end before the break).
    std::pair<int, int> paragraphAt(int documentPosition) const;
    // The document positions of the visual line that holds `documentPosition`.
    std::pair<int, int> lineAt(int documentPosition) const;
    // Scrolls so that the character at `documentPosition` shows.
    void scrollToPosition(int documentPosition);

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // A change to the document that the box makes itself: kept off the undo
    // stack, and not taken for the user's typing.
    class OwnEdit {
    public:
        explicit OwnEdit(TextBox& box);
        ~OwnEdit();
        OwnEdit(const OwnEdit&) = delete;
        OwnEdit& operator=(const OwnEdit&) = delete;

    private:
        TextBox& m_box;
        bool m_undo;
    };

    void fillSlice();
    // Inserts m_content from m_filled up to `end` at the end of the document.
    void insertUpTo(qsizetype end);
    void updateReadOnly();
    // The document's text from `from` to `to` (positions), without the
    // breaks between the pieces of one paragraph.
    QString documentText(int from, int to, QStringView paragraphBreak) const;
    // Keeps the piece breaks in step with a change the user made.
    void trackUserChange(int position, int removed, int added);
    bool isPieceBreak(int position) const;

    // Moving the pieces to line starts (textbox_wrap.cpp).
    void scheduleWrap();
    void wrapSlice();
    // Re-checks the wrap width and font; a change moves every piece again.
    void checkWrapGeometry();
    // Keeps the line that shows first at the top after pieces above it moved.
    void keepTopLine(int textOffset);
    // Moves the piece that starts at m_wrapDone to its line start; false
    // when nothing before `target` is left to do.
    bool wrapStep(int target, QTextCursor& cursor);
    // Adds or removes the break between two pieces at a document position.
    void addPieceBreak(QTextCursor& cursor, int position);
    void removePieceBreak(QTextCursor& cursor, int position);
    // The document position up to which pieces should be settled now.
    int wrapTarget() const;

    QString m_content;      // what the box shows, CR LF breaks
    qsizetype m_filled = 0; // how much of m_content is in the document
    // Document positions of the breaks between pieces of one paragraph
    // (each a block separator), in order.
    std::vector<int> m_pieceBreaks;
    bool m_ours = false;    // the change under way is the box's own
    bool m_edited = false;
    bool m_locked = false;
    bool m_message = false;
    bool m_selectOnClick = false;  // the next click selects the message
    QTimer m_fill;

    // Every piece that starts before m_wrapDone starts at a line start of
    // its paragraph's wrap at m_wrapWidth in m_wrapFont, and so does the
    // block that starts there.
    int m_wrapDone = 0;
    qreal m_wrapWidth = -1;
    QFont m_wrapFont;
    QTextOption::WrapMode m_wrapMode = QTextOption::NoWrap;
    bool m_wrapAll = false;  // settle() is under way: no target, no clock
    QTimer m_wrap;
};

}  // namespace velreader
