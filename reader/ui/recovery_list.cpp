#include "reader/ui/recovery_list.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "reader/drawing/fonts.h"

namespace velreader {
namespace {

enum Column { Title, Written, Lines, Designations, Columns };

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

RecoveryList::RecoveryList(int zoom, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("復元"));
    QFont font = listingFont();
    font.setPointSizeF(font.pointSizeF() * std::max(zoom, 1));
    setFont(font);

    m_summary = new QLabel;
    m_summary->setWordWrap(true);
    m_table = new QTableWidget(0, Columns);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("題"), QStringLiteral("日時"), QStringLiteral("行数"), QStringLiteral("指定単語")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(Title, QHeaderView::Stretch);
    m_table->setMinimumSize(QSize(480, 200) * std::max(zoom, 1));
    m_table->setAccessibleName(QStringLiteral("保存されないまま終わった本"));

    m_open = new QPushButton(QStringLiteral("開く"));
    m_discard = new QPushButton(QStringLiteral("捨てる"));
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(m_open, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_discard, QDialogButtonBox::DestructiveRole);
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table);
    layout->addWidget(buttons);

    connect(m_table, &QTableWidget::itemSelectionChanged, this, &RecoveryList::updateButtons);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { m_open->click(); });
    connect(m_open, &QPushButton::clicked, this, [this] {
        if (const QString path = currentPath(); !path.isEmpty()) emit openWanted(path);
    });
    connect(m_discard, &QPushButton::clicked, this, [this] {
        if (const QString path = currentPath(); !path.isEmpty()) emit discardWanted(path);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void RecoveryList::showEntries(const QList<RecoveryListEntry>& entries) {
    const QString chosen = currentPath();
    m_entries = entries;
    m_table->setRowCount(int(entries.size()));
    int select = entries.isEmpty() ? -1 : int(entries.size()) - 1;  // the latest, unless one was chosen
    for (int row = 0; row < entries.size(); ++row) {
        const RecoveryListEntry& e = entries[row];
        const bool readable = e.problem.isEmpty();
        QString title = readable ? e.summary.title : QStringLiteral("（読めません：%1）").arg(e.problem);
        if (readable && title.isEmpty()) title = QStringLiteral("（題なし）");
        m_table->setItem(row, Title, cell(title));
        m_table->item(row, Title)->setToolTip(e.path);
        m_table->setItem(row, Written, cell(e.summary.written.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        m_table->setItem(row, Lines, cell(readable ? QString::number(e.summary.lines) : QString()));
        m_table->setItem(row, Designations, cell(readable ? QString::number(e.summary.designations) : QString()));
        if (e.path == chosen) select = row;
    }
    m_summary->setText(entries.isEmpty() ? QStringLiteral("保存されないまま終わった本はありません。")
                                         : QStringLiteral("保存されないまま終わった本が %1 冊あります。開いた本は、セーブするまで保存されていない作業です。")
                                               .arg(entries.size()));
    if (select >= 0) m_table->selectRow(select);
    updateButtons();
}

QString RecoveryList::currentPath() const {
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_entries.size() || m_table->selectedItems().isEmpty()) return {};
    return m_entries[row].path;
}

void RecoveryList::updateButtons() {
    const int row = m_table->currentRow();
    const bool chosen = !currentPath().isEmpty();
    m_open->setEnabled(chosen && m_entries[row].problem.isEmpty());
    m_discard->setEnabled(chosen);
}

}  // namespace velreader
