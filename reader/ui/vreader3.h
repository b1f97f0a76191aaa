#pragma once

#include <QList>
#include <QMainWindow>
#include <QRect>

#include "common/ui/zoom_layout.h"

#include "reader/ui/widgets.h"
#include "reader/window/reader_core.h"

class QAction;
class QPushButton;

namespace common {
class WindowZoom;
}

namespace velreader {

class TextBox;

// The reader window "Velin-Reader Ver 1.0". It builds the controls, forwards
// every event to the handler of the same name in ReaderCore and then shows
// the control record and the page.
//
// Beyond the mouse: in the player view the page plays the next line on a
// left click, a wheel notch and Space, Enter, Right, Down or Page Down, and
// Home rewinds; Ctrl+S and Ctrl+O save and load, Ctrl+T opens a text,
// Ctrl+1 and Ctrl+2 (or Ctrl+Tab) switch the views; the window zooms by
// whole factors and goes full screen (F11). A text or book dropped on the
// window is opened.
class VReader3 : public QMainWindow {
    Q_OBJECT
public:
    // A portable copy: pictures and books in `applicationFolder` (ending in "/").
    explicit VReader3(const QString& applicationFolder, QWidget* parent = nullptr);
    explicit VReader3(ReaderFolders folders, QWidget* parent = nullptr);

    ReaderCore& core() { return m_core; }

    // Opens a book or a text, as a drop on the window does.
    void openFile(const QString& path);

    // Test access to the controls, by their names.
    TextBox* text1() const { return m_text1; }
    TextBox* text2() const { return m_text2; }
    QPushButton* command(int number) const { return m_commands.at(number - 1); }
    ClickableLabel* tab(int number) const { return number == 1 ? m_l1 : m_l2; }
    QLabel* label(const QString& name) const;
    PageView* pmain() const { return m_pmain; }
    FormSurface* form() const { return m_form; }
    QAction* saveAction() const { return m_save; }
    QAction* loadAction() const { return m_load; }
    QAction* openTextAction() const { return m_openText; }
    common::WindowZoom* zoom() const { return m_zoom; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectHandlers();
    void applyZoom(int zoom);
    // Runs `handler` unless another handler is running (a click during a
    // listing is ignored), then shows the result.
    void dispatch(const std::function<void()>& handler);
    void dispatch(void (ReaderCore::*handler)());
    // The play step and the rewind asked for by the page or the keys: only
    // while their buttons are shown and enabled.
    void playNextLine();
    void rewind();
    // Shows the control record and the page on the widgets.
    void mirror();
    void mirrorTitle();
    // What a text box last showed of the control record: a reference to the
    // very text (an unchanged text is the same shared data), or, during a
    // listing, only that the box follows it.
    struct MirroredText {
        QString text;
        bool listing = false;
    };
    void mirrorText(TextBox* box, MirroredText& shown, const QString& text);
    void describePage();
    // Lets the window process events in the middle of a listing.
    void pumpEvents();
    QString chooseFile(const FileDialogRequest& request);

    ReaderCore m_core;
    QWidget* m_holder = nullptr;
    FormSurface* m_form = nullptr;
    ClickableLabel* m_l1 = nullptr;
    ClickableLabel* m_l2 = nullptr;
    QLabel* m_lfname = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_ltitle = nullptr;
    PageView* m_pmain = nullptr;
    PictureView* m_pura = nullptr;
    PictureView* m_pura2 = nullptr;
    TextBox* m_text1 = nullptr;
    TextBox* m_text2 = nullptr;
    QList<QPushButton*> m_commands;
    QAction* m_save = nullptr;
    QAction* m_load = nullptr;
    QAction* m_openText = nullptr;
    common::WindowZoom* m_zoom = nullptr;
    common::ZoomLayout m_layout;
    int m_zoomFactor = 1;
    bool m_inputLocked = false;
    MirroredText m_shown1;
    MirroredText m_shown2;
    QString m_typed;          // what the user typed into Text1, handed to the running handler
    bool m_inHandler = false; // a handler runs (mirror() then shows its texts over typed ones)
};

}  // namespace velreader
