// The reader window's finding of a passage (表示 > "検索...", F3, Shift+F3)
// and its opening of a file as an Aozora Bunko text.
#include <QAction>
#include <QInputDialog>
#include <QMenu>

#include "reader/ui/position_bar.h"
#include "reader/ui/vreader3.h"

namespace velreader {

void VReader3::buildFindMenu(QMenu* hyouji) {
    hyouji->addSeparator();
    m_find = hyouji->addAction(QStringLiteral("検索..."));
    m_find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_findNext = hyouji->addAction(QStringLiteral("次を検索"));
    m_findNext->setShortcut(QKeySequence(Qt::Key_F3));
    m_findPrevious = hyouji->addAction(QStringLiteral("前を検索"));
    m_findPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
}

void VReader3::connectFinding() {
    connect(m_openAozora, &QAction::triggered, this, [this] {
        if (maybeSaveChanges()) dispatch(&ReaderCore::OpenAozora_Click);
    });
    connect(m_find, &QAction::triggered, this, &VReader3::askToFind);
    connect(m_findNext, &QAction::triggered, this, [this] { findAgain(true); });
    connect(m_findPrevious, &QAction::triggered, this, [this] { findAgain(false); });
}

void VReader3::askToFind() {
    if (m_core.busy()) return;
    std::optional<QString> text;
    if (m_askFind) {
        text = m_askFind(m_core.findText());
    } else {
        bool ok = false;
        const QString typed = QInputDialog::getText(this, QStringLiteral("検索"), QStringLiteral("探す言葉："),
                                                    QLineEdit::Normal, m_core.findText(), &ok);
        if (ok) text = typed;
    }
    if (!text || text->isEmpty()) return;
    // A find moves the page as a jump does: auto-play stops first.
    m_autoPlay.stop();
    dispatch([this, t = *text] { m_core.Find_Click(t); });
}

void VReader3::findAgain(bool forward) {
    if (m_core.findText().isEmpty()) {
        askToFind();
        return;
    }
    m_autoPlay.stop();
    dispatch(forward ? &ReaderCore::FindNext_Click : &ReaderCore::FindPrevious_Click);
}

}  // namespace velreader
