#include "reader/ui/designation_dialog.h"

#include "common/ui/plain_text.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "reader/services/picture_files.h"
#include "reader/drawing/preview.h"
#include "reader/drawing/help_pictures.h"
#include "reader/rules/colours.h"
#include "reader/drawing/page.h"
#include "reader/drawing/fonts.h"

namespace velreader {
namespace {

constexpr int NameRole = Qt::UserRole;      // the picture's name; empty for "none"
constexpr int PathRole = Qt::UserRole + 1;  // its file; empty when it is missing
const QSize ThumbnailSize(96, 48);          // the page's shape


QIcon blankThumbnail(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(DesignPictureColour);
    return QIcon(pixmap);
}

}  // namespace

QIcon colourSwatch(const QColor& colour, int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(0, 0, side - 1, side - 1);
    return QIcon(pixmap);
}

DesignationDialog::DesignationDialog(QStringList pictureFolders, const DesignationParts& initial, int zoom, QWidget* parent)
    : QDialog(parent), m_folders(std::move(pictureFolders)), m_zoom(std::max(zoom, 1)) {
    setWindowTitle(QStringLiteral("単語を指定"));
    QFont font = listingFont();
    font.setPointSizeF(font.pointSizeF() * m_zoom);
    setFont(font);

    m_word = new QLineEdit(initial.word);
    m_word->setAccessibleName(QStringLiteral("単語"));
    m_word->setPlaceholderText(QStringLiteral("例：雨"));

    m_pictures = new QListWidget;
    m_pictures->setViewMode(QListView::IconMode);
    m_pictures->setIconSize(ThumbnailSize * m_zoom);
    m_pictures->setGridSize(QSize(ThumbnailSize.width() + 24, ThumbnailSize.height() + 30) * m_zoom);
    m_pictures->setResizeMode(QListView::Adjust);
    m_pictures->setMovement(QListView::Static);
    m_pictures->setWordWrap(true);
    m_pictures->setMinimumSize(QSize(420, 150) * m_zoom);
    m_pictures->setAccessibleName(QStringLiteral("絵"));
    m_add = new QPushButton(QStringLiteral("絵を追加..."));
    m_add->setToolTip(
        common::plainToolTip(QStringLiteral("絵のファイルを選んで、絵のフォルダ（%1）にコピーします。").arg(m_folders.value(0))));

    auto* colourBox = new QWidget;
    auto* colourGrid = new QGridLayout(colourBox);
    colourGrid->setContentsMargins(0, 0, 0, 0);
    m_colours = new QButtonGroup(this);
    const auto addColour = [&](int id, const QString& caption, const QIcon& icon, const QString& name) {
        auto* button = new QToolButton;
        button->setText(caption);
        button->setIcon(icon);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setAccessibleName(name);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_colours->addButton(button, id);
        colourGrid->addWidget(button, id / 3, id % 3);
    };
    addColour(0, QStringLiteral("なし"), QIcon(), QStringLiteral("色：なし"));
    const auto& table = textColourTable();
    for (int i = 0; i < int(table.size()); ++i) {
        const QColor& c = table[i].colour;
        addColour(i + 1, QString(QChar(table[i].word)), colourSwatch(c, 14 * m_zoom),
                  QStringLiteral("色：%1（RGB %2, %3, %4）").arg(QChar(table[i].word)).arg(c.red()).arg(c.green()).arg(c.blue()));
    }

    m_preview = new QLabel;
    m_preview->setFixedSize(QSize(PageSurface::Width, PageSurface::Height) * m_zoom);
    m_preview->setAccessibleName(QStringLiteral("見本"));
    m_typed = new QLabel;
    m_typed->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_typed->setWordWrap(true);
    m_reason = new QLabel;
    m_reason->setWordWrap(true);
    m_reason->setStyleSheet(QStringLiteral("color: rgb(176, 0, 0);"));
    m_message = new QLabel;
    m_message->setWordWrap(true);
    m_full = new QLabel(QStringLiteral("指定はもう 50 個あります。OK を押しても「これ以上保存できません」となります。"));
    m_full->setWordWrap(true);
    m_full->setStyleSheet(QStringLiteral("color: rgb(176, 0, 0);"));
    m_full->hide();

    auto* buttons = new QDialogButtonBox;
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("単語")));
    left->addWidget(m_word);
    left->addSpacing(8 * m_zoom);
    left->addWidget(new QLabel(QStringLiteral("文字の色")));
    left->addWidget(colourBox);
    left->addSpacing(8 * m_zoom);
    left->addWidget(m_typed);
    left->addWidget(m_reason);
    left->addWidget(m_full);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("絵")));
    right->addWidget(m_pictures, 1);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(m_add);
    addRow->addWidget(m_message, 1);
    right->addLayout(addRow);
    right->addWidget(new QLabel(QStringLiteral("見本：この単語が出てくる行のページ")));
    right->addWidget(m_preview);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_word, &QLineEdit::textChanged, this, &DesignationDialog::refresh);
    connect(m_pictures, &QListWidget::currentItemChanged, this, &DesignationDialog::refresh);
    connect(m_colours, &QButtonGroup::idClicked, this, &DesignationDialog::refresh);
    connect(m_add, &QPushButton::clicked, this, [this] {
        const QString path = choosePictureFile();
        if (!path.isEmpty()) addPicture(path);
    });
    m_thumbnails.setInterval(0);
    connect(&m_thumbnails, &QTimer::timeout, this, &DesignationDialog::loadThumbnails);

    fillPictures(initial.picture);
    chooseColour(initial.colour);
    if (!initial.colour.isEmpty() && !textColourFor(initial.colour))
        m_message->setText(QStringLiteral("色の言葉「%1」は十一の色にないので、選んでいません。").arg(initial.colour));
    m_word->setFocus();
    refresh();
    // Words, picture names and folders are shown as typed, never as markup.
    common::usePlainLabels(this);
}

DesignationParts DesignationDialog::parts() const {
    const int colour = m_colours->checkedId();
    const auto& table = textColourTable();
    return {m_word->text(), chosenPicture(),
            colour > 0 && colour <= int(table.size()) ? QString(QChar(table[colour - 1].word)) : QString()};
}

QString DesignationDialog::chosenPicture() const {
    const QListWidgetItem* item = m_pictures->currentItem();
    return item ? item->data(NameRole).toString() : QString();
}

void DesignationDialog::setTableFull(bool full) { m_full->setVisible(full); }

void DesignationDialog::choosePicture(const QString& name) {
    for (int i = 0; i < m_pictures->count(); ++i) {
        if (m_pictures->item(i)->data(NameRole).toString() == name) {
            m_pictures->setCurrentRow(i);
            return;
        }
    }
}

void DesignationDialog::chooseColour(const QString& word) {
    int id = 0;
    const auto& table = textColourTable();
    for (int i = 0; i < int(table.size()); ++i)
        if (word == QChar(table[i].word)) id = i + 1;
    m_colours->button(id)->setChecked(true);
    refresh();
}

void DesignationDialog::fillPictures(const QString& select) {
    m_thumbnails.stop();
    m_thumbnailQueue.clear();
    m_nextThumbnail = 0;
    m_pictures->clear();
    const QIcon blank = blankThumbnail(ThumbnailSize * m_zoom);
    auto* none = new QListWidgetItem(blank, QStringLiteral("（絵なし）"), m_pictures);
    none->setData(NameRole, QString());
    bool listed = select.isEmpty();
    for (const PictureFile& picture : listPictures(m_folders)) {
        auto* item = new QListWidgetItem(blank, picture.name, m_pictures);
        item->setData(NameRole, picture.name);
        item->setData(PathRole, picture.path);
        item->setToolTip(common::plainToolTip(picture.path));
        m_thumbnailQueue.append(item);
        listed |= picture.name == select;
    }
    // A designation being changed may name a picture that is not there: it
    // stays choosable, marked, so changing only the colour keeps it.
    if (!listed) {
        auto* missing = new QListWidgetItem(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                            QStringLiteral("%1\n（見つかりません）").arg(select), m_pictures);
        missing->setData(NameRole, select);
        missing->setToolTip(common::plainToolTip(QStringLiteral("「%1」は絵のフォルダにありません。").arg(select)));
    }
    choosePicture(select);
    if (!m_pictures->currentItem()) m_pictures->setCurrentRow(0);
    if (!m_thumbnailQueue.isEmpty()) m_thumbnails.start();
}

void DesignationDialog::loadThumbnails() {
    // A few at a time, so the dialog answers while a folder of photos decodes.
    QElapsedTimer clock;
    clock.start();
    while (!thumbnailsDone() && clock.elapsed() < 15) {
        QListWidgetItem* item = m_thumbnailQueue[m_nextThumbnail++];
        QImage thumbnail = pictureThumbnail(item->data(PathRole).toString(), ThumbnailSize * m_zoom * devicePixelRatioF());
        thumbnail.setDevicePixelRatio(devicePixelRatioF());
        if (thumbnail.isNull())
            item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        else
            item->setIcon(QIcon(QPixmap::fromImage(thumbnail)));
    }
    if (thumbnailsDone()) m_thumbnails.stop();
}

QImage DesignationDialog::pagePicture(const QString& name) {
    if (name.isEmpty()) return {};
    if (!m_pages.contains(name)) {
        QString path;
        for (int i = 0; i < m_pictures->count(); ++i)
            if (m_pictures->item(i)->data(NameRole).toString() == name) path = m_pictures->item(i)->data(PathRole).toString();
        m_pages.insert(name, path.isEmpty() ? QImage() : pictureThumbnail(path, QSize(PageSurface::Width, PageSurface::Height)));
    }
    return m_pages.value(name);
}

void DesignationDialog::refresh() {
    const DesignationParts chosen = parts();
    const QString reason = designationProblem(chosen);
    m_reason->setText(reason);
    m_ok->setEnabled(reason.isEmpty());
    m_typed->setText(chosen.word.isEmpty() ? QString()
                                           : QStringLiteral("入力欄に書くなら：\n%1").arg(composeDesignation(chosen)));
    const QImage picture = pagePicture(chosen.picture);
    const std::optional<QColor> colour = textColourFor(chosen.colour);
    const QStringList rows = previewRows(chosen.word);
    m_previewImage = renderPreview(picture, colour, rows);
    // Drawn again for the screen: the text sharp at any zoom and pixel density.
    QImage shown = drawPage(picture, colour.value_or(DefaultTextColour), rows, devicePixelRatioF() * m_zoom);
    shown.setDevicePixelRatio(devicePixelRatioF());
    m_preview->setPixmap(QPixmap::fromImage(shown));
}

QString DesignationDialog::choosePictureFile() {
    if (m_chooseFile) return m_chooseFile();
    return QFileDialog::getOpenFileName(this, QStringLiteral("絵を追加"), QDir::homePath(),
                                        QStringLiteral("絵 (*.png *.jpg *.jpeg *.bmp *.gif);;すべてのファイル (*)"));
}

bool DesignationDialog::askReplace(const QString& name) {
    if (m_askReplace) return m_askReplace(name);
    QMessageBox box(QMessageBox::Question, QStringLiteral("絵を追加"),
                    QStringLiteral("「%1」という名前の絵はもうあります。置き換えますか？").arg(name), QMessageBox::NoButton, this);
    box.setTextFormat(Qt::PlainText);
    QPushButton* replace = box.addButton(QStringLiteral("置き換える"), QMessageBox::AcceptRole);
    box.setEscapeButton(box.addButton(QStringLiteral("やめる"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == replace;
}

void DesignationDialog::addPicture(const QString& path) {
    PictureImport added = importPicture(path, m_folders, false);
    if (added.outcome == PictureImport::Outcome::Exists) {
        if (!askReplace(added.name)) {
            m_message->setText(QStringLiteral("「%1」は前のままです。").arg(added.name));
            return;
        }
        added = importPicture(path, m_folders, true);
    }
    if (added.outcome == PictureImport::Outcome::Refused) {
        m_message->setText(added.error);
        m_message->setStyleSheet(QStringLiteral("color: rgb(176, 0, 0);"));
        return;
    }
    m_message->setStyleSheet(QString());
    m_message->setText(QStringLiteral("「%1」を追加しました。").arg(added.name));
    m_pages.remove(added.name);
    fillPictures(added.name);
    refresh();
}

}  // namespace velreader
