#include "reader/ui/help_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "reader/services/guide.h"
#include "reader/drawing/fonts.h"

namespace velreader {

HelpWindow::HelpWindow(QString bookFolder, QStringList pictureFolders, QWidget* parent)
    : QWidget(parent, Qt::Window), m_bookFolder(std::move(bookFolder)), m_pictureFolders(std::move(pictureFolders)) {
    setWindowTitle(QStringLiteral("使い方 - Velin-Reader Ver 1.0"));
    m_browser = new QTextBrowser;
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    QFont font = listingFont();
    font.setPointSizeF(10);
    m_browser->setFont(font);
    m_browser->setAccessibleName(QStringLiteral("使い方"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(560, 640);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::showEvent(QShowEvent* event) {
    if (devicePixelRatioF() != m_builtFor) rebuild();
    QWidget::showEvent(event);
}

void HelpWindow::rebuild() {
    m_builtFor = devicePixelRatioF();
    const HelpDocument guide = readerGuide(m_bookFolder, m_pictureFolders, m_builtFor);
    QTextDocument* document = m_browser->document();
    for (const auto& [name, image] : guide.images)
        document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("guide:") + name), image);
    m_browser->setHtml(guide.html);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(listingFont());
    auto* icon = new QLabel;
    icon->setPixmap((parent ? parent->windowIcon() : windowIcon()).pixmap(64, 64));
    auto* text = new QLabel(aboutText());
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setMinimumWidth(360);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

}  // namespace velreader
