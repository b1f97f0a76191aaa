#include "game/ui/best_games_dialog.h"

#include "common/ui/plain_text.h"

#include "game/ui/close_buttons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

BestGamesDialog::BestGamesDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ベストゲーム - Woolmere"));
    m_table = new QTableWidget(0, 4, this);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("順位"), QStringLiteral("羊毛"), QStringLiteral("名前"), QStringLiteral("日付")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideRight);
    m_table->setAccessibleName(QStringLiteral("ベストゲーム"));
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    m_empty = new QLabel(QStringLiteral("まだ記録はありません。10回の毛刈りで集めた羊毛が、ここに残ります。"), this);
    m_empty->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_empty);
    layout->addWidget(closeButtons(this));
    resize(480, 360);
}

QString BestGamesDialog::shownName(const QString& name) {
    QString out;
    out.reserve(name.size());
    // Code points, a lone surrogate already turned into the replacement
    // character.
    for (const char32_t code : name.toUcs4()) {
        if (code == U'\n' || code == U'\r' || code == U'\t') {
            out += u' ';
        } else if (code < 0x20 || code == 0x7F) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += QString::fromUcs4(&code, 1);
        }
    }
    return out;
}

void BestGamesDialog::showTable(const QList<scores::BestGame>& table, const std::optional<scores::BestGame>& marked) {
    m_table->setRowCount(int(table.size()));
    m_markedRow = -1;
    for (int row = 0; row < table.size(); ++row) {
        const scores::BestGame& game = table[row];
        const bool isMarked = marked && *marked == game;
        if (isMarked) m_markedRow = row;
        const QString cells[] = {
            isMarked ? QStringLiteral("★%1").arg(row + 1) : QString::number(row + 1),
            QStringLiteral("%1g").arg(game.grams),
            shownName(game.name),
            game.when.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
        };
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column != 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == 2) item->setToolTip(common::plainToolTip(cells[column]));
            if (isMarked) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(QColor(0xFF, 0xF2, 0xB3));
            }
            m_table->setItem(row, column, item);
        }
    }
    m_table->setVisible(!table.isEmpty());
    m_empty->setVisible(table.isEmpty());
    if (m_markedRow >= 0) m_table->scrollToItem(m_table->item(m_markedRow, 0));
}

PlayerNameDialog::PlayerNameDialog(int grams, const QString& offeredName, QWidget* parent)
    : QDialog(parent), m_offered(offeredName.left(scores::kMaxNameLength)) {
    setWindowTitle(QStringLiteral("ベストゲーム - Woolmere"));
    auto* message = new QLabel(
        QStringLiteral("ベストゲームに入りました。羊毛 %1g！\n名前を入れてください：").arg(grams), this);
    m_name = new QLineEdit(m_offered, this);
    m_name->setMaxLength(scores::kMaxNameLength);
    m_name->setAccessibleName(QStringLiteral("名前"));
    m_name->selectAll();
    auto* buttons = new QDialogButtonBox(this);
    m_enter = buttons->addButton(QStringLiteral("記録する"), QDialogButtonBox::AcceptRole);
    QPushButton* skip = buttons->addButton(QStringLiteral("記録しない"), QDialogButtonBox::RejectRole);
    m_enter->setDefault(true);
    // Told before the box rejects the dialog.
    connect(buttons, &QDialogButtonBox::clicked, this, [this, skip](QAbstractButton* b) { m_declined = b == skip; });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A name of spaces alone is no name.
    const auto check = [this] { m_enter->setEnabled(!m_name->text().trimmed().isEmpty()); };
    connect(m_name, &QLineEdit::textChanged, this, check);
    check();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(m_name);
    layout->addWidget(buttons);
}

QString PlayerNameDialog::name() const {
    return m_name->text();
}
