#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace velreader {

class ReaderCore;

// "指定単語の一覧...": every designation slot that holds something, with its
// number, word, picture (a thumbnail, or a warning mark when the picture
// cannot be found) and colour (a swatch). The user changes one (the window
// opens the designation dialog), removes one, or takes the last change back;
// the window does the work and calls refresh().
class DesignationList : public QDialog {
    Q_OBJECT
public:
    DesignationList(ReaderCore& core, int zoom, QWidget* parent);

    // Shows the slots as the core holds them now, keeping the chosen slot.
    void refresh();
    // The slot of the chosen row, or -1.
    int currentSlot() const;
    void selectSlot(int slot);

    QTableWidget* table() const { return m_table; }
    QPushButton* changeButton() const { return m_change; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* undoButton() const { return m_undo; }

signals:
    void changeWanted(int slot);
    void removeWanted(int slot);
    void undoWanted();

private:
    void updateButtons();

    ReaderCore& m_core;
    int m_zoom = 1;
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_undo = nullptr;
};

}  // namespace velreader
