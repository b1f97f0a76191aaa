#pragma once

#include <QList>
#include <QMainWindow>
#include <QRect>
#include <QTimer>
#include <future>
#include <memory>
#include <optional>

#include "common/settings.h"
#include "common/ui/zoom_layout.h"

#include "reader/services/autoplay.h"
#include "reader/services/preferences.h"
#include "reader/ui/widgets.h"
#include "reader/core/reader_core.h"

class QAction;
class QMenu;
class QPushButton;
class QWidget;

namespace common {
class WindowZoom;
}

namespace velreader {

class RecoveryList;

class PositionBar;
class StayingNotice;
class TextBox;
class WebExport;

// The reader window "Velin-Reader Ver 1.0". It builds the controls, forwards
// every event to the handler of the same name in ReaderCore and then shows
// the control record and the page.
//
// Beyond the mouse: in the player view the page plays the next line on a
// left click, a wheel notch towards the user and Space, Enter, Right, Down
// or Page Down; Left, Up, Page Up, Backspace and the wheel turned away step
// back a line; Home rewinds, Ctrl+Home and Ctrl+End go to the first and the
// last step, A starts and stops auto-play; Ctrl+G jumps to a step, Ctrl+R
// goes back to where the book was left; Ctrl+S writes the open book again
// ("上書きセーブ"), Ctrl+Shift+S saves under a chosen name, Ctrl+O loads,
// Ctrl+T opens a text, Ctrl+1 and Ctrl+2 (or Ctrl+Tab) switch the views; the
// window zooms by whole factors and goes full screen (F11). A text or book
// dropped on the window is opened. Ctrl+D designates a word in a dialog,
// Ctrl+Z (outside the text boxes) takes back a change to the designations,
// Ctrl+Q closes, F1 shows the guide. Nothing replaces or closes unsaved work
// without the question "変更を保存しますか？", but a stop signal, which keeps
// it in the recovery file instead. The preferences, the zoom, the place
// reached in every book and the books opened last are kept in the user's
// settings file.
class VReader3 : public QMainWindow {
    Q_OBJECT
public:
    // A portable copy: pictures and books in `applicationFolder` (ending in "/").
    explicit VReader3(const QString& applicationFolder, QWidget* parent = nullptr);
    explicit VReader3(ReaderFolders folders, QWidget* parent = nullptr);
    ~VReader3() override;

    ReaderCore& core() { return m_core; }

    // Opens a book or a text, as a drop on the window does (after the
    // unsaved-changes question).
    void openFile(const QString& path);

    // Before anything replaces the text or closes the window: with unsaved
    // changes, asks "変更を保存しますか？" and saves when the user wants.
    // True to go on; false when the user cancelled or the save did not
    // happen (its message then in Text1).
    bool maybeSaveChanges();

    // Test access to the controls, by their names (asking for Text2 makes it).
    TextBox* text1() const { return m_text1; }
    TextBox* text2() { return listingBox(); }
    QPushButton* command(int number) const { return m_commands.at(number - 1); }
    ClickableLabel* tab(int number) const { return number == 1 ? m_l1 : m_l2; }
    QLabel* label(const QString& name) const;
    PageView* pmain() const { return m_pmain; }
    FormSurface* form() const { return m_form; }
    QAction* saveAction() const { return m_save; }
    QAction* overwriteAction() const { return m_overwrite; }
    QAction* loadAction() const { return m_load; }
    QAction* openTextAction() const { return m_openText; }
    QAction* openAozoraAction() const { return m_openAozora; }
    QAction* findAction() const { return m_find; }
    QAction* findNextAction() const { return m_findNext; }
    QAction* findPreviousAction() const { return m_findPrevious; }
    common::WindowZoom* zoom() const { return m_zoom; }
    PositionBar* positionBar() const { return m_positionBar; }
    // Why a typed designation did nothing.
    StayingNotice* notice() const { return m_notice; }
    AutoPlay& autoPlay() { return m_autoPlay; }
    TextReveal& reveal() { return m_reveal; }
    QAction* resumeAction() const { return m_resume; }
    QAction* jumpAction() const { return m_jump; }
    QAction* autoPlayAction() const { return m_autoPlayAction; }
    QAction* preferencesAction() const { return m_preferencesAction; }
    QMenu* recentMenu() const { return m_recentMenu; }

    // Asks for the step to jump to (current, total); nothing on Cancel.
    using StepAsker = std::function<std::optional<int>(int current, int total)>;
    void setStepAsker(StepAsker asker) { m_askStep = std::move(asker); }
    // Shows the preferences for editing; nothing on Cancel.
    using PreferencesEditor = std::function<std::optional<ReaderPreferences>(const ReaderPreferences&)>;
    void setPreferencesEditor(PreferencesEditor editor) { m_editPreferences = std::move(editor); }
    // Asks for the text to find, offering the last one; nothing on Cancel.
    using FindAsker = std::function<std::optional<QString>(const QString& last)>;
    void setFindAsker(FindAsker asker) { m_askFind = std::move(asker); }

    const ReaderPreferences& preferences() const { return m_preferences; }
    // Takes new preferences, as the dialog's OK does, and keeps them.
    void setPreferences(const ReaderPreferences& preferences);
    const ReadingPlaces& places() const { return m_places; }
    const RecentFiles& recentFiles() const { return m_recent; }
    // Writes the preferences, places and recent files to the settings file;
    // a file that cannot be written is said once in Text1.
    void storeSettings();
    QAction* quitAction() const { return m_quit; }
    QAction* restoreAction() const { return m_restore; }
    // The list "復元" opens (null before it is first opened).
    RecoveryList* recoveryList() const { return m_recoveryList; }
    QAction* designateAction() const { return m_designate; }
    QAction* listAction() const { return m_list; }
    QAction* undoAction() const { return m_undo; }
    QAction* guideAction() const { return m_guide; }
    QAction* aboutAction() const { return m_about; }
    QWidget* helpWindow() const { return m_help; }
    QWidget* aboutDialog() const { return m_aboutDialog; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct StartUpReads;
    VReader3(ReaderFolders folders, QWidget* parent, std::future<StartUpReads> reads);
    static std::future<StartUpReads> startReading();

    void buildControls();
    // The listing box (Text2), made when it is first shown or given a text:
    // hidden in the player view the window opens in, it costs nothing
    // before the first frame.
    TextBox* listingBox();
    void setUpTextBox(TextBox* box);
    void buildMenus();
    // 記録 > "続きから読む", "最近開いた本"; 表示 > "行へ移動...", "自動再生", "設定...".
    void buildRecordMenu(QMenu* kiroku);
    void buildPlayerMenu(QMenu* hyouji);
    void connectHandlers();
    // 表示 > "検索..." (Ctrl+F), "次を検索" (F3), "前を検索" (Shift+F3), and
    // 記録 > "青空文庫のテキストとして開く...".
    void buildFindMenu(QMenu* hyouji);
    void connectFinding();
    void askToFind();
    void findAgain(bool forward);
    void connectReading();
    void loadSettings(ReaderSettings settings);
    void applyZoom(int zoom);
    // Runs `handler` unless another handler is running (a click during a
    // listing is ignored), then shows the result.
    void dispatch(const std::function<void()>& handler);
    void dispatch(void (ReaderCore::*handler)());
    // The play step and the rewind asked for by the page or the keys: only
    // while their buttons are shown and enabled.
    void playNextLine();
    void rewind();
    // Moving through the text from the player view.
    void stepBack();
    void goToStep(int step);
    void askForStep();
    void resumeReading();
    void toggleAutoPlay();
    void autoPlayStep();
    void editPreferences();
    void showRecentFiles();
    void openRecentFile(const QString& path);
    // After every handler: the page's reveal, the place in the book, a book
    // just opened, the record of the pages.
    void afterHandler();
    void mirrorPosition();
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
    // The menus 編集 and ヘルプ, and 記録's "復元" and "終了".
    void buildEditMenus(QMenu* kiroku);
    void connectEditHandlers();
    void mirrorMenus();
    // "変更を保存しますか？" with 保存 / 保存しない / キャンセル.
    UnsavedAnswer askUnsaved();
    // "単語を指定...", "指定単語の一覧..." and changing one designation.
    void designateWord();
    void showDesignationList();
    void editDesignation(int slot, QWidget* parent);
    // Why a typed designation did nothing, in a note over Text1 that stays.
    void showDesignationNotice();
    void showGuide();
    void showAbout();
    // On a stop signal: the dialogs and questions on screen close as cancelled.
    void closeModalWidgets();
    void keepUnsavedWork();
    // 記録 > "復元": the list of work left unsaved by readers that are gone.
    void showRecoveryList();
    // On the window's thread after each write of the recovery file.
    void recoveryWritten(const QString& problem);
    // Says `message` in Text1 (after the running handler's own message, or
    // once the user's typing is taken); on a stop signal, keeps it for the
    // next start instead.
    void sayNotice(const QString& message);

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
    TextBox* m_text2 = nullptr;  // through listingBox()
    QList<QPushButton*> m_commands;
    QAction* m_save = nullptr;
    QAction* m_overwrite = nullptr;
    QAction* m_load = nullptr;
    QAction* m_openText = nullptr;
    QAction* m_openAozora = nullptr;
    QAction* m_find = nullptr;
    QAction* m_findNext = nullptr;
    QAction* m_findPrevious = nullptr;
    FindAsker m_askFind;
    WebExport* m_webExport = nullptr;
    QAction* m_restore = nullptr;
    QAction* m_quit = nullptr;
    QAction* m_designate = nullptr;
    QAction* m_list = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_guide = nullptr;
    QAction* m_about = nullptr;
    QWidget* m_help = nullptr;
    QWidget* m_aboutDialog = nullptr;
    common::WindowZoom* m_zoom = nullptr;
    common::ZoomLayout m_layout;
    int m_zoomFactor = 1;
    bool m_inputLocked = false;
    MirroredText m_shown1;
    MirroredText m_shown2;
    QString m_typed;          // what the user typed into Text1, handed to the running handler
    QString m_handed2;        // Text2 as the running handler was given it
    bool m_inHandler = false; // a handler runs (mirror() then shows its texts over typed ones)

    PositionBar* m_positionBar = nullptr;
    StayingNotice* m_notice = nullptr;
    QAction* m_resume = nullptr;
    QAction* m_jump = nullptr;
    QAction* m_autoPlayAction = nullptr;
    QAction* m_preferencesAction = nullptr;
    QMenu* m_recentMenu = nullptr;
    StepAsker m_askStep;
    PreferencesEditor m_editPreferences;

    std::unique_ptr<common::SettingsStore> m_settings;
    ReaderPreferences m_preferences;
    ReadingPlaces m_places;
    RecentFiles m_recent;
    QString m_documentPath;           // the file being played, as the core names it
    QString m_documentKey;            // the same file, as places know it
    std::optional<int> m_resumeStep;  // where it was left when it was opened
    int m_seenOpenCount = 0;
    int m_lastStep = 0;

    AutoPlay m_autoPlay;
    TextReveal m_reveal;
    bool m_playing = false;       // a forward play step runs
    bool m_autoStepping = false;  // auto-play's own play step runs
    QTimer m_mapBuilder;          // builds the record of the pages between events
    QTimer m_settingsSaver;       // keeps the place now and then
    bool m_closeAfterHandler = false;  // a close came while a handler ran
    bool m_closing = false;            // the close is asking its question
    bool m_closed = false;
    bool m_settingsFailureSaid = false;
    bool m_recoveryFailureSaid = false;
    RecoveryList* m_recoveryList = nullptr;
    QString m_pendingNotice;  // waits for Text1 (see sayNotice)
};

}  // namespace velreader
