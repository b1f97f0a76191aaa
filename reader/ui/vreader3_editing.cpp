// The reader window's menus 編集 and ヘルプ, 記録's "復元" and "終了", the
// unsaved-changes question and the recovery file on a stop signal.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTextCursor>
#include <QToolTip>
#include <algorithm>
#include <cstdio>

#include "common/ui/plain_text.h"
#include "reader/rules/designation_text.h"
#include "reader/ui/designation_dialog.h"
#include "reader/ui/designation_list.h"
#include "common/stop_notes.h"
#include "reader/ui/help_window.h"
#include "reader/ui/recovery_list.h"
#include "reader/ui/staying_notice.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader/drawing/fonts.h"

namespace velreader {

void VReader3::buildEditMenus(QMenu* kiroku) {
    kiroku->addSeparator();
    m_restore = kiroku->addAction(QStringLiteral("復元"));
    m_restore->setStatusTip(QStringLiteral("保存されないまま終わった本を開きます。"));
    kiroku->addSeparator();
    m_quit = kiroku->addAction(QStringLiteral("終了"));
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    auto* hensyu = menuBar()->addMenu(QStringLiteral("編集"));
    m_layout.setFont(hensyu, pageFont());
    m_designate = hensyu->addAction(QStringLiteral("単語を指定..."));
    m_designate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_list = hensyu->addAction(QStringLiteral("指定単語の一覧..."));
    hensyu->addSeparator();
    m_undo = hensyu->addAction(QStringLiteral("元に戻す"));
    // In a text box Ctrl+Z takes back typing: the box claims the key first.
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));

    m_guide = new QAction(QStringLiteral("使い方"), this);
    m_guide->setShortcut(QKeySequence(Qt::Key_F1));
    m_about = new QAction(QStringLiteral("バージョン情報"), this);
}

void VReader3::connectEditHandlers() {
    connect(m_restore, &QAction::triggered, this, &VReader3::showRecoveryList);
    connect(m_quit, &QAction::triggered, this, &QWidget::close);
    connect(m_designate, &QAction::triggered, this, &VReader3::designateWord);
    connect(m_list, &QAction::triggered, this, &VReader3::showDesignationList);
    connect(m_undo, &QAction::triggered, this, [this] { dispatch(&ReaderCore::Undo_Click); });
    connect(m_guide, &QAction::triggered, this, &VReader3::showGuide);
    connect(m_about, &QAction::triggered, this, &VReader3::showAbout);
    // After the click has run "単語指定".
    connect(command(3), &QPushButton::clicked, this, &VReader3::showDesignationNotice);
}

void VReader3::mirrorMenus() {
    if (!m_undo) return;  // the window is still being built
    m_undo->setEnabled(m_core.canUndo());
    m_undo->setToolTip(m_core.canUndo() ? common::plainToolTip(QStringLiteral("元に戻す：%1").arg(m_core.nextUndo())) : QString());
    m_restore->setEnabled(m_core.recoveryAvailable());
}

bool VReader3::maybeSaveChanges() {
    bool goOn = false;
    dispatch([&] { goOn = m_core.maybeSaveChanges(); });
    return goOn;
}

UnsavedAnswer VReader3::askUnsaved() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velin-Reader Ver 1.0"), QStringLiteral("変更を保存しますか？"),
                    QMessageBox::NoButton, this);
    box.setFont(listingFont());
    // What would be lost, with the designations a save leaves out named.
    box.setInformativeText(m_core.whatWouldBeLost());
    QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("保存しない"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return UnsavedAnswer::Save;
    if (box.clickedButton() == discard) return UnsavedAnswer::Discard;
    return UnsavedAnswer::Cancel;
}

// The dialogs grow with the window's zoom, but no more than twice: a
// window zoomed four times nearly fills a screen already.
static int dialogZoom(int zoom) { return std::clamp(zoom, 1, 2); }

void VReader3::designateWord() {
    if (m_core.busy()) return;
    DesignationDialog dialog(m_core.folders().pictureFolders, {}, dialogZoom(m_zoomFactor), this);
    dialog.setTableFull(m_core.state().WordCount >= MaxWordCount);
    const int result = dialog.exec();
    // A picture added in the dialog may replace one the page has shown.
    m_core.pictures().clearCache();
    if (result != QDialog::Accepted) return;
    const QString designation = dialog.designation();
    // The designation does not come from Text1: what the user typed there
    // stays once "単語指定" has taken it.
    const QString typed = m_text1->holdsMessage() ? QString() : m_text1->currentText();
    dispatch([&] {
        m_core.controls().Text1.text = designation;
        m_core.Command3_Click();
        if (m_core.controls().Text1.text.isEmpty()) m_core.controls().Text1.text = typed;
    });
}

void VReader3::editDesignation(int slot, QWidget* parent) {
    if (m_core.busy() || slot < 0 || slot >= WordSlots) return;
    const ReaderState& s = m_core.state();
    DesignationDialog dialog(m_core.folders().pictureFolders, splitDesignation(s.WordTable[slot], s.PictureTable[slot]),
                             dialogZoom(m_zoomFactor), parent);
    dialog.setWindowTitle(QStringLiteral("指定 %1 を変える").arg(slot));
    const int result = dialog.exec();
    m_core.pictures().clearCache();
    if (result != QDialog::Accepted) return;
    const QString designation = dialog.designation();
    dispatch([&] { m_core.changeDesignation(slot, designation); });
}

void VReader3::showDesignationList() {
    if (m_core.busy()) return;
    DesignationList list(m_core, dialogZoom(m_zoomFactor), this);
    connect(&list, &DesignationList::changeWanted, &list, [&](int slot) {
        editDesignation(slot, &list);
        list.refresh();
    });
    connect(&list, &DesignationList::removeWanted, &list, [&](int slot) {
        dispatch([&] { m_core.removeDesignation(slot); });
        list.refresh();
    });
    connect(&list, &DesignationList::undoWanted, &list, [&] {
        dispatch(&ReaderCore::Undo_Click);
        list.refresh();
    });
    list.exec();
}

void VReader3::showDesignationNotice() {
    const QString& notice = m_core.designationNotice();
    if (notice.isEmpty()) return;
    // Just above Text1, as wide as it; it stays until it has been read.
    m_notice->setFont(m_text1->font());
    m_notice->showAbove(notice, m_text1->geometry(), m_text1->width());
}

void VReader3::showGuide() {
    if (!m_help) {
        auto* help = new HelpWindow(m_core.folders().bookFolder, m_core.folders().pictureFolders, this);
        help->setWindowIcon(windowIcon());
        m_help = help;
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void VReader3::showAbout() {
    if (!m_aboutDialog) {
        m_aboutDialog = new AboutDialog(this);
        m_aboutDialog->setWindowIcon(windowIcon());
    }
    m_aboutDialog->show();
    m_aboutDialog->raise();
    m_aboutDialog->activateWindow();
}

void VReader3::closeModalWidgets() {
    // A bounded number of steps: a dialog that refuses to close is left.
    for (int i = 0; i < 8; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == this) return;
        modal->close();
        if (QApplication::activeModalWidget() == modal) return;
    }
}

void VReader3::keepUnsavedWork() {
    const QString error = m_core.keepUnsavedWork();
    if (error.isEmpty()) return;
    // Told to stop, nobody can read it now: stderr, and the next start.
    std::fprintf(stderr, "velreader: the unsaved book could not be kept: %s\n", qPrintable(error));
    common::keepStopNote(m_core.folders().dataFolder,
                         QStringLiteral("保存されていない作業を復元用のファイルに書けませんでした：") + error);
}

void VReader3::showRecoveryList() {
    if (m_core.busy()) return;
    if (!m_recoveryList) {
        m_recoveryList = new RecoveryList(dialogZoom(m_zoomFactor), this);
        m_recoveryList->setWindowModality(Qt::WindowModal);
        connect(m_recoveryList, &RecoveryList::openWanted, this, [this](const QString& path) {
            if (!maybeSaveChanges()) return;
            dispatch([this, path] { m_core.restoreRecovery(path); });
            m_recoveryList->accept();
        });
        connect(m_recoveryList, &RecoveryList::discardWanted, this, [this](const QString& path) {
            dispatch([this, path] { m_core.discardRecovery(path); });
            m_recoveryList->showEntries(m_core.recoveryList());
        });
    }
    m_recoveryList->showEntries(m_core.recoveryList());
    mirrorMenus();
    m_recoveryList->open();
}

void VReader3::recoveryWritten(const QString& problem) {
    // Said once for a run of failures; a write that succeeds ends the run.
    if (problem.isEmpty()) {
        m_recoveryFailureSaid = false;
        return;
    }
    if (m_recoveryFailureSaid) return;
    m_recoveryFailureSaid = true;
    std::fprintf(stderr, "velreader: the unsaved book could not be kept: %s\n", qPrintable(problem));
    sayNotice(QStringLiteral("保存されていない作業を復元用のファイルに書けませんでした：") + problem);
}

}  // namespace velreader
