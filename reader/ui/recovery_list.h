#pragma once

#include <QDialog>
#include <QList>

#include "reader/services/recovery.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace velreader {

// 記録 > "復元": the work readers left unsaved when they ended, one row a
// file with its title, the time it was kept, its lines and designations.
// The user opens one (the window asks about its own unsaved work first and
// opens it as unsaved work) or discards one; the others stay for later.
class RecoveryList : public QDialog {
    Q_OBJECT
public:
    RecoveryList(int zoom, QWidget* parent);

    // Shows `entries`, keeping the chosen row where it can.
    void showEntries(const QList<RecoveryListEntry>& entries);
    // The file of the chosen row, or an empty text.
    QString currentPath() const;

    QTableWidget* table() const { return m_table; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* discardButton() const { return m_discard; }

signals:
    void openWanted(const QString& path);
    void discardWanted(const QString& path);

private:
    void updateButtons();

    QList<RecoveryListEntry> m_entries;
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_discard = nullptr;
};

}  // namespace velreader
