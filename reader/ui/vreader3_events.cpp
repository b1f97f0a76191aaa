// The reader window's events: handlers run through dispatch(), the control
// record shown by mirror(), keys, drops and dialogs.
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "common/ui/plain_text.h"
#include "common/ui/stop_signals.h"
#include "common/ui/window_zoom.h"
#include "reader/rules/lines.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"

#include <algorithm>

namespace velreader {
namespace {

// The right edge of the page frame, where a long title is cut.
constexpr int FrameRight = 407;

}  // namespace

void VReader3::dispatch(void (ReaderCore::*handler)()) {
    dispatch([this, handler] { (m_core.*handler)(); });
}

void VReader3::dispatch(const std::function<void()>& handler) {
    if (m_core.busy()) return;
    // What the user typed reaches the handler; a text the box was given is
    // still the handler's own (also while it is being put into the box).
    ReaderControls& controls = m_core.controls();
    controls.Text1.typed = m_text1->editedByUser();
    if (controls.Text1.typed) {
        m_typed = m_text1->currentText();
        controls.Text1.text = m_typed;
    } else {
        m_typed = QString();
    }
    // The listing box likewise, while it shows (only the reading view's
    // handlers read it); a handler that leaves it alone keeps the user's text.
    controls.Text2.typed = m_text2 && m_text2->editedByUser();
    if (controls.Text2.typed && controls.Text2.visible) controls.Text2.text = m_text2->currentText();
    // (Held only then: a handler that appends to a listing would otherwise copy it.)
    m_handed2 = controls.Text2.typed ? controls.Text2.text : QString();
    const QString before = controls.Text1.text;
    const bool playerBefore = controls.Pmain.visible;
    QWidget* focused = QApplication::focusWidget();
    // Whatever the user does stops auto-play; its own steps go on.
    if (!m_autoStepping) m_autoPlay.stop();
    m_inHandler = true;
    handler();
    afterHandler();
    // Unsaved work that changed goes to this window's recovery file.
    m_core.keepRecoveryCurrent();
    if (m_inputLocked) {
        m_inputLocked = false;
        m_text1->setLocked(false);
        if (m_text2) m_text2->setLocked(false);
    }
    // A notice that waited follows the handler's own message.
    if (!m_pendingNotice.isEmpty() && m_core.controls().Text1.text != before) {
        QString& text1 = m_core.controls().Text1.text;
        text1 += (text1.isEmpty() ? QString() : QStringLiteral("\r\n")) + std::exchange(m_pendingNotice, QString());
    }
    mirror();
    // A text the handler put into Text1 is its message, which the user's
    // next click or key replaces.
    if (m_core.controls().Text1.text != before) m_text1->setHoldsMessage(!m_core.controls().Text1.text.isEmpty());
    m_inHandler = false;
    m_typed = QString();
    m_handed2 = QString();
    // A handler that hides or disables the control with the focus passes it
    // on, so the keyboard can go on.
    if (focused && focused == QApplication::focusWidget() && !focused->isEnabled()) focusNextChild();
    // A switch of views puts the keyboard on the view's own place: the page,
    // whose keys play, or the input box.
    const bool player = m_core.controls().Pmain.visible;
    if (player != playerBefore) player ? m_pmain->setFocus() : m_text1->setFocus();
    if (!QApplication::focusWidget() && isActiveWindow()) m_pmain->isVisible() ? m_pmain->setFocus() : m_text1->setFocus();
    // A close that came while the handler ran comes now (unless the close
    // itself is asking its question).
    if (m_closeAfterHandler) {
        m_closeAfterHandler = false;
        if (!m_closing) close();
    }
}

void VReader3::playNextLine() {
    const QPushButton* play = command(2);
    if (!play->isVisible()) return;
    // A line still appearing is completed first; the next one waits.
    if (m_reveal.active()) {
        if (!m_autoStepping) m_autoPlay.stop();
        m_reveal.finish();
        return;
    }
    if (!play->isEnabled()) return;
    const int before = m_core.currentStep();
    m_playing = true;
    dispatch(&ReaderCore::Command2_Click);
    m_playing = false;
    if (m_core.currentStep() > before && m_preferences.textSpeed > 0)
        m_reveal.start(m_core.printedLine(), m_preferences.textSpeed);
}

void VReader3::rewind() {
    const QPushButton* button = command(4);
    if (button->isVisible() && button->isEnabled()) dispatch(&ReaderCore::Command4_Click);
}

void VReader3::openFile(const QString& path) {
    if (maybeSaveChanges()) dispatch([this, path] { m_core.openFile(path); });
}

void VReader3::pumpEvents() {
    // Typing while a listing runs would be overwritten when it ends.
    if (!m_inputLocked) {
        m_inputLocked = true;
        m_text1->setLocked(true);
        if (m_text2) m_text2->setLocked(true);
    }
    mirror();
    QApplication::processEvents();
}

void VReader3::mirrorText(TextBox* box, MirroredText& shown, const QString& text) {
    const auto same = [](const QString& a, const QString& b) { return a.constData() == b.constData() && a.size() == b.size(); };
    if (box->editedByUser()) {
        // What the user typed stays until a handler gives the box a text of
        // its own: not on a zoom, nor when the handler kept what it was handed.
        if (!m_inHandler || same(text, box == m_text1 ? m_typed : m_handed2)) return;
        box->setContent(text);
        shown = {text, false};
        return;
    }
    const QString& content = box->content();
    if (m_core.listing() && box == m_text2) {
        // While a listing runs its text only grows: the box gets the new part,
        // without comparing what it has. No reference is kept, so that the
        // handler appends to its text without copying it.
        if (!shown.listing) {
            shown = {QString(), true};
            if (text.size() < content.size() || !QStringView(text).startsWith(content)) {
                // A copy of its own: shared, the handler's next line would
                // copy the whole listing and lose the room it reserved.
                box->setContent(QString(text.constData(), text.size()));
                return;
            }
        }
        if (text.size() > content.size()) box->appendContent(QStringView(text).mid(content.size()));
        return;
    }
    // The same shared text is the same text: nothing to compare.
    if (!shown.listing && same(text, shown.text)) return;
    // A listing that just ended: the box followed it part by part, so the
    // text starts with what the box holds unless the handler then put
    // another text in; the ends of the box's text tell, without comparing
    // a whole book's listing in the window's turn.
    const auto followedBy = [&](QStringView whole) {
        constexpr qsizetype Sample = 4096;
        const QStringView held(content);
        const qsizetype n = std::min(Sample, held.size());
        return whole.size() >= held.size() && whole.first(n) == held.first(n) &&
               whole.sliced(held.size() - n, n) == held.last(n);
    };
    const bool followed = shown.listing && followedBy(text);
    shown = {text, false};
    if (text.size() == content.size() && (followed || text.constData() == content.constData() || text == content)) return;
    // A grown listing gets only its new part. An empty box takes the text
    // whole instead: it shares it rather than copying it.
    if (!content.isEmpty() && text.size() > content.size() && (followed || QStringView(text).startsWith(content))) {
        box->appendContent(QStringView(text).mid(content.size()));
        return;
    }
    box->setContent(text);
}

void VReader3::mirrorTitle() {
    const Control& title = m_core.controls().LTitle;
    // The title shows whole when it fits inside the page frame, else it is
    // cut with "…" at the frame; its tooltip and accessible name hold it whole.
    const int left = m_ltitle->x();
    const int available = FrameRight * m_zoomFactor - left;
    const QFontMetrics metrics(m_ltitle->font());
    const int whole = metrics.horizontalAdvance(title.text);
    const QString shown = whole <= available ? title.text : metrics.elidedText(title.text, Qt::ElideRight, available);
    m_ltitle->setText(shown);
    m_ltitle->resize(std::clamp(metrics.horizontalAdvance(shown) + 2, 74 * m_zoomFactor, std::max(available, 74 * m_zoomFactor)),
                     16 * m_zoomFactor);
    m_ltitle->setToolTip(shown == title.text ? QString() : common::plainToolTip(title.text));
    m_ltitle->setAccessibleName(title.text);
    m_ltitle->setVisible(title.visible);
}

void VReader3::describePage() {
    // A screen reader reads along: the line just printed, then the page's rows.
    const ReaderState& s = m_core.state();
    QStringList rows;
    for (int r = 0; r < s.PageRowIndex && r < PageRowSlots; ++r) rows << s.PageRows[r];
    QString description;
    if (!m_core.printedLine().isEmpty() || s.PageRowIndex > 0)
        description = QStringLiteral("再生した行：%1\n").arg(m_core.printedLine());
    description += QStringLiteral("ページの行：\n") + rows.join(u'\n');
    m_pmain->setAccessibleDescription(description);
}

void VReader3::mirror() {
    const ReaderControls& c = m_core.controls();
    m_l1->setText(c.L1.text);
    m_l2->setText(c.L2.text);
    m_l1->setAutoFillBackground(c.L1.opaque);
    m_l2->setAutoFillBackground(c.L2.opaque);
    m_l1->update();
    m_l2->update();
    m_form->setLinesVisible(c.Lines.visible);
    mirrorMenus();

    // The file name grows to the right to show its whole text.
    m_lfname->setText(c.Lfname.text);
    m_lfname->resize(std::max(54 * m_zoomFactor, m_lfname->sizeHint().width()), 12 * m_zoomFactor);
    m_label1->setText(c.Label1.text);
    mirrorTitle();

    m_pmain->setVisible(c.Pmain.visible);
    m_pmain->update();
    describePage();
    mirrorPosition();
    m_pura2->setImage(m_core.pagePicture());
    mirrorText(m_text1, m_shown1, c.Text1.text);
    // The listing box exists once it has shown or held a text.
    if (m_text2 || c.Text2.visible || !c.Text2.text.isEmpty()) {
        TextBox* listing = listingBox();
        listing->setVisible(c.Text2.visible);
        mirrorText(listing, m_shown2, c.Text2.text);
    }

    const Control* commands[] = {&c.Command1, &c.Command2, &c.Command3, &c.Command4,
                                 &c.Command5, &c.Command6, &c.Command7};
    for (int i = 0; i < 7; ++i) {
        m_commands[i]->setText(commands[i]->text);
        m_commands[i]->setVisible(commands[i]->visible);
        m_commands[i]->setEnabled(commands[i]->enabled);
    }
}

QString VReader3::chooseFile(const FileDialogRequest& request) {
    switch (request.mode) {
    case FileDialogRequest::Mode::Save:
        // The core asks before it replaces another file.
        return QFileDialog::getSaveFileName(this, QStringLiteral("セーブ"),
                                            request.selected.isEmpty() ? request.startFolder : request.selected,
                                            request.filter, nullptr, QFileDialog::DontConfirmOverwrite);
    case FileDialogRequest::Mode::Open:
        return QFileDialog::getOpenFileName(this, QStringLiteral("ロード"), request.startFolder, request.filter);
    case FileDialogRequest::Mode::OpenText:
        return QFileDialog::getOpenFileName(this, QStringLiteral("テキストを開く"),
                                            request.startFolder.isEmpty() ? QDir::homePath() : request.startFolder,
                                            request.filter);
    }
    return {};
}

void VReader3::keyPressEvent(QKeyEvent* event) {
    // The keys of the player view, from the page or any control that does
    // not take them itself, never from a text box (typing there, even in
    // one that is read-only for a moment, never plays): Space, Enter, Right,
    // Down and Page Down play the next line, Left, Up, Page Up and Backspace
    // step back, Home rewinds, A starts and stops auto-play; none with Ctrl
    // or Alt. Ctrl+Home and Ctrl+End go to the first and the last step.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool player = command(2)->isVisible() && !qobject_cast<TextBox*>(focusWidget());
    if (player && modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Right:
        case Qt::Key_Down:
        case Qt::Key_PageDown: playNextLine(); return;
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_PageUp:
        case Qt::Key_Backspace: stepBack(); return;
        case Qt::Key_Home: rewind(); return;
        case Qt::Key_A: toggleAutoPlay(); return;
        default: break;
        }
    }
    if (player && modifiers == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Home: goToStep(0); return;
        case Qt::Key_End: goToStep(m_core.totalSteps()); return;
        default: break;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void VReader3::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!m_core.busy() && urls.size() == 1 && urls.first().isLocalFile()) event->acceptProposedAction();
}

void VReader3::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    openFile(urls.first().toLocalFile());
}

void VReader3::closeEvent(QCloseEvent* event) {
    if (m_closed && !isVisible()) return event->accept();
    // Closing while a handler runs: a listing stops, the handler finishes (a
    // book still being read is dropped), and the close comes again then. On
    // a stop signal the handler's dialog or question closes as cancelled.
    if (m_core.busy()) {
        m_core.abortListing();
        if (common::stopSignalReceived()) closeModalWidgets();
        m_closeAfterHandler = true;
        return event->ignore();
    }
    if (m_closing) {
        closeModalWidgets();
        return event->ignore();
    }
    // Unsaved work: the question, unless no one can answer it (a stop
    // signal), when it goes to the recovery file instead.
    bool goOn = true;
    if (!common::stopSignalReceived()) {
        m_closing = true;
        goOn = maybeSaveChanges();
        m_closing = false;
    }
    if (common::stopSignalReceived()) {
        closeModalWidgets();
        keepUnsavedWork();
    } else if (!goOn) {
        return event->ignore();
    } else {
        m_core.finishCleanClose();
    }
    // The place reached, the zoom and the books opened are kept, also when
    // a stop signal closes the window.
    m_autoPlay.stop();
    storeSettings();
    m_closed = true;
    if (m_help) m_help->close();
    if (m_aboutDialog) m_aboutDialog->close();
    event->accept();
}

}  // namespace velreader
