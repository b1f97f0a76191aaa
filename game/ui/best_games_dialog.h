#pragma once

#include "game/state/best_game.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The table "ベストゲーム": place, grams, name and date of the player's ten
// best games, the game entered last marked (★, in bold). Names are shown
// on one line whatever they hold, cut with an ellipsis when too long for
// their column, and in full as the cell's tooltip.
class BestGamesDialog : public QDialog {
    Q_OBJECT
public:
    explicit BestGamesDialog(QWidget* parent = nullptr);

    void showTable(const QList<scores::BestGame>& table, const std::optional<scores::BestGame>& marked);

    QTableWidget* table() const { return m_table; }
    // The row marked as the newest game, or -1.
    int markedRow() const { return m_markedRow; }

    // A name as one line of text: line breaks and tabs become spaces, other
    // control characters and lone surrogates the replacement character.
    static QString shownName(const QString& name);

private:
    QTableWidget* m_table = nullptr;
    QLabel* m_empty = nullptr;
    int m_markedRow = -1;
};

// The small dialog that asks for the player's name when a game enters the
// best games.
class PlayerNameDialog : public QDialog {
    Q_OBJECT
public:
    PlayerNameDialog(int grams, const QString& offeredName, QWidget* parent = nullptr);

    QString name() const;
    const QString& offeredName() const { return m_offered; }
    // True once the player chose "記録しない" (not only closed the dialog).
    bool declined() const { return m_declined; }
    QLineEdit* nameEdit() const { return m_name; }
    QPushButton* enterButton() const { return m_enter; }

private:
    QString m_offered;
    QLineEdit* m_name = nullptr;
    QPushButton* m_enter = nullptr;
    bool m_declined = false;
};
