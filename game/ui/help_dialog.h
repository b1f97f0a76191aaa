#pragma once

#include <QDialog>

class QTextBrowser;

// "遊び方": a small window with the game's rules, its keys and its menu.
class HelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit HelpDialog(QWidget* parent = nullptr);
    QTextBrowser* text() const { return m_text; }

private:
    QTextBrowser* m_text = nullptr;
};
