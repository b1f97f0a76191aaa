#include "reader/ui/designation_list.h"

#include "common/ui/plain_text.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "reader/rules/designation_text.h"
#include "reader/services/designation_checks.h"
#include "reader/ui/designation_dialog.h"
#include "reader/rules/colours.h"
#include "reader/drawing/page.h"
#include "reader/drawing/fonts.h"
#include "reader/core/reader_core.h"

namespace velreader {
namespace {

enum Column { Number, Word, Picture, Colour, Mark, Columns };
const QSize ListThumbnailSize(64, 32);


// A small warning mark, drawn for the screen's pixel density. Given to a
// cell as a pixmap, which keeps its own size beside the larger thumbnails.
QPixmap warningMark(int side, qreal ratio) {
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    painter.setPen(QPen(QColor(90, 60, 0), s / 16));
    painter.setBrush(QColor(255, 200, 0));
    painter.drawPolygon(QPolygonF{{s / 2, s * 0.06}, {s * 0.96, s * 0.92}, {s * 0.04, s * 0.92}});
    painter.setPen(QPen(Qt::black, s / 8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(s / 2, s * 0.38), QPointF(s / 2, s * 0.62));
    painter.drawPoint(QPointF(s / 2, s * 0.78));
    return pixmap;
}

QTableWidgetItem* cell(const QString& text, const QIcon& icon = {}) {
    auto* item = new QTableWidgetItem(icon, text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

DesignationList::DesignationList(ReaderCore& core, int zoom, QWidget* parent)
    : QDialog(parent), m_core(core), m_zoom(std::max(zoom, 1)) {
    setWindowTitle(QStringLiteral("指定単語の一覧"));
    QFont font = listingFont();
    font.setPointSizeF(font.pointSizeF() * m_zoom);
    setFont(font);

    m_summary = new QLabel;
    m_summary->setTextFormat(Qt::PlainText);
    m_table = new QTableWidget(0, Columns);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("番号"), QStringLiteral("単語"), QStringLiteral("絵"), QStringLiteral("色"), QStringLiteral("注意")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setIconSize(ListThumbnailSize * m_zoom);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumSize(QSize(520, 300) * m_zoom);
    m_table->setAccessibleName(QStringLiteral("指定単語"));

    m_change = new QPushButton(QStringLiteral("変更..."));
    m_remove = new QPushButton(QStringLiteral("消す"));
    m_undo = new QPushButton(QStringLiteral("元に戻す"));
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(m_change, QDialogButtonBox::ActionRole);
    buttons->addButton(m_remove, QDialogButtonBox::ActionRole);
    buttons->addButton(m_undo, QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_change, &QPushButton::clicked, this, [this] {
        if (currentSlot() >= 0) emit changeWanted(currentSlot());
    });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] {
        if (currentSlot() >= 0) emit changeWanted(currentSlot());
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        if (currentSlot() >= 0) emit removeWanted(currentSlot());
    });
    connect(m_undo, &QPushButton::clicked, this, &DesignationList::undoWanted);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &DesignationList::updateButtons);
    refresh();
    if (m_table->rowCount() > 0) m_table->selectRow(0);
}

void DesignationList::refresh() {
    const int keep = currentSlot();
    const ReaderState& state = m_core.state();
    PictureStore& pictures = m_core.pictures();
    const QPixmap warning = warningMark(16 * m_zoom, devicePixelRatioF());
    m_table->setRowCount(0);
    int missing = 0;
    for (int slot = 0; slot < WordSlots; ++slot) {
        if (state.WordTable[slot].isEmpty() && state.PictureTable[slot].isEmpty()) continue;
        const DesignationParts parts = splitDesignation(state.WordTable[slot], state.PictureTable[slot]);
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        QTableWidgetItem* number = cell(QString::number(slot));
        number->setData(Qt::UserRole, slot);
        m_table->setItem(row, Number, number);
        m_table->setItem(row, Word, cell(parts.word.isEmpty() ? QStringLiteral("（空の単語）") : parts.word));

        QString problem;
        QTableWidgetItem* picture = cell(parts.picture);
        switch (pictureState(parts.picture, pictures)) {
        case PictureState::Found: {
            const QImage page = pictures.load(parts.picture, QSize(PageSurface::Width, PageSurface::Height));
            QImage thumbnail = page.scaled(ListThumbnailSize * m_zoom * devicePixelRatioF(), Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation);
            thumbnail.setDevicePixelRatio(devicePixelRatioF());
            picture->setIcon(QIcon(QPixmap::fromImage(thumbnail)));
            break;
        }
        case PictureState::Missing: problem = QStringLiteral("絵が見つかりません"); break;
        case PictureState::Unreadable: problem = QStringLiteral("絵として読めません"); break;
        case PictureState::None: picture->setText(QStringLiteral("（絵なし）")); break;
        }
        m_table->setItem(row, Picture, picture);

        QTableWidgetItem* colour = cell(parts.colour);
        if (const auto known = textColourFor(parts.colour)) {
            colour->setIcon(colourSwatch(*known, 14 * m_zoom));
        } else if (state.PictureTable[slot].contains(u'＞')) {
            if (!problem.isEmpty()) problem += QStringLiteral("、");
            problem += QStringLiteral("使えない色の言葉");
        } else {
            colour->setText(QStringLiteral("（色なし）"));
        }
        m_table->setItem(row, Colour, colour);

        QTableWidgetItem* mark = cell(problem);
        if (!problem.isEmpty()) mark->setData(Qt::DecorationRole, warning);
        mark->setToolTip(common::plainToolTip(problem));
        m_table->setItem(row, Mark, mark);
        missing += !problem.isEmpty();
    }
    m_summary->setText(m_table->rowCount() == 0
                           ? QStringLiteral("指定単語はまだありません。")
                           : QStringLiteral("指定単語 %1 個（次の指定は %2 番、50 個まで。本に入るのは 0 から 20 番）%3")
                                 .arg(m_table->rowCount())
                                 .arg(state.WordCount)
                                 .arg(missing ? QStringLiteral("。注意のある指定が %1 個あります。").arg(missing) : QString()));
    selectSlot(keep);
    updateButtons();
}

int DesignationList::currentSlot() const {
    const QList<QTableWidgetItem*> chosen = m_table->selectedItems();
    for (const QTableWidgetItem* item : chosen)
        if (item->column() == Number) return item->data(Qt::UserRole).toInt();
    return -1;
}

void DesignationList::selectSlot(int slot) {
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (m_table->item(row, Number)->data(Qt::UserRole).toInt() == slot) {
            m_table->selectRow(row);
            return;
        }
    }
}

void DesignationList::updateButtons() {
    const bool chosen = currentSlot() >= 0;
    m_change->setEnabled(chosen);
    m_remove->setEnabled(chosen);
    m_undo->setEnabled(m_core.canUndo());
    m_undo->setToolTip(m_core.canUndo() ? common::plainToolTip(QStringLiteral("元に戻す：%1").arg(m_core.nextUndo())) : QString());
}

}  // namespace velreader
