#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTimer>

namespace velreader {

// A multi-line text box that takes texts of any size without freezing the
// window: a large text is put in a slice at a time between events, and a
// long paragraph is held in pieces of SoftBlockLength characters, so that
// Qt lays out only the pieces on screen. The pieces are the box's own
// business: the box shows, selects and copies the text exactly as given.
//
// Texts are given and read with CR LF line breaks, the form the reader's
// handlers use.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int SoftBlockLength = 1000;
    // How long one slice of filling may take.
    static constexpr int FillSliceMs = 12;
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

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fillSlice();
    // Inserts m_content from m_filled up to `end` at the end of the document.
    void insertUpTo(qsizetype end);
    void updateReadOnly();
    // The document's text from `from` to `to` (positions), without the
    // breaks between the pieces of one paragraph.
    QString documentText(int from, int to) const;

    QString m_content;      // what the box shows, CR LF breaks
    qsizetype m_filled = 0; // how much of m_content is in the document
    int m_tailLength = 0;   // characters in the document's last piece
    bool m_ours = false;    // the change under way is the box's own
    bool m_edited = false;
    bool m_locked = false;
    bool m_message = false;
    bool m_selectOnClick = false;  // the next click selects the message
    QTimer m_fill;
};

}  // namespace velreader
