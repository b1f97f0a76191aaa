#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include "reader/core/designation_editor.h"
#include "reader/core/handler_gate.h"
#include "reader/core/page_navigator.h"
#include "reader/core/page_player.h"
#include "reader/core/reader_setup.h"
#include "reader/rules/aozora_notation.h"
#include "reader/rules/text_search.h"
#include "reader/services/pictures.h"
#include "reader/services/recovery.h"
#include "reader/services/recovery_keeper.h"
#include "reader/state/controls.h"
#include "reader/state/reader_state.h"

namespace velreader {

struct Book;

// The designations in slots 21 and above, which a book file does not hold,
// named ("本に入る指定は 0 から 20 までの 21 個です。次の指定は書かれて
// いません：「星」(21)。"); empty when there are none.
QString unwrittenNote(const ReaderState& state);


// The reader without its widgets: the state, the control record, the page
// and every handler of the window. The window forwards each event to the
// handler of the same name and then shows the control record and the page.
//
// Long listings let the window process its events through the event pump;
// while a handler runs, every other handler returns at once, so no click can
// run in the middle of another.
class ReaderCore {
public:
    // `applicationFolder` ends in "/"; pictures are looked up in its "E/"
    // folder and the book dialogs start in its "Book" folder.
    explicit ReaderCore(const QString& applicationFolder);
    explicit ReaderCore(ReaderFolders folders);

    void setFileDialog(FileDialog dialog) { m_fileDialog = std::move(dialog); }
    void setUnsavedQuestion(UnsavedQuestion question) { m_unsavedQuestion = std::move(question); }
    void setReplaceQuestion(ReplaceQuestion question) { m_replaceQuestion = std::move(question); }
    void setEventPump(std::function<void()> pump) { m_gate.setEventPump(std::move(pump)); }
    // How often a listing calls the event pump at most; 0 calls it after
    // every line.
    void setPumpInterval(int milliseconds) { m_gate.setPumpInterval(milliseconds); }

    ReaderState& state() { return m_state; }
    const ReaderState& state() const { return m_state; }
    ReaderControls& controls() { return m_controls; }
    const ReaderControls& controls() const { return m_controls; }
    const PageSurface& page() const { return m_player.page(); }
    // `Pura2`: the current page picture; `Pura`: the blank page background.
    const QImage& pagePicture() const { return m_player.pagePicture(); }
    const QImage& blankPage() const { return m_player.blankPage(); }
    PictureStore& pictures() { return m_pictures; }
    // The display line the last play step printed; empty after a rewind.
    const QString& printedLine() const { return m_player.printedLine(); }

    QString bookFolder() const { return m_folders.bookFolder; }
    const ReaderFolders& folders() const { return m_folders; }

    // True while a handler runs (it can only be seen from the event pump).
    bool busy() const { return m_gate.busy(); }
    // True while a listing runs (seen from the event pump): Text2 then only
    // grows, so the window can add just the new part.
    bool listing() const { return m_gate.listing(); }
    // Stops a running listing early, e.g. because the window is closing; a
    // load that is still reading its book ends without changing anything,
    // any other handler finishes its remaining steps.
    void abortListing() { m_gate.abortListing(); }

    // Start-up: the page, colours, state and the player view.
    void Form_Load();
    // The player view.
    void L1_Click();
    // The reading view.
    void L2_Click();
    // "読み込み": reads `Text1` into display lines, lists them, sets the title.
    void Command1_Click();
    // "再生": applies the designated words of the next line and prints it.
    void Command2_Click();
    // "単語指定": stores the designation typed into `Text1`.
    void Command3_Click();
    // "巻き戻し": a blank page and playback from line 0.
    void Command4_Click();
    // "単語表示": lists the designations in `Text2`.
    void Command5_Click();
    // "全文表示": lists the display lines in `Text2`.
    void Command6_Click();
    // "単語消す": empties the designations; `WordCount` stays.
    void Command7_Click();
    // "セーブ": writes the text and designations 0 to 20 to a chosen book file;
    // a file other than the open book is replaced only when the user agrees.
    void AllSave_Click();
    // "上書きセーブ": writes the open book without a dialog; "セーブ" when no
    // book is open.
    void AllOverwrite_Click();
    // The book being read and written: the last one loaded or saved (none
    // at start and after a text file is opened).
    const QString& openBook() const { return m_openBook; }
    // "ロード": reads a chosen book file, checked as a whole first, and rewinds.
    void AllLoad_Click();
    // "テキストを開く...": reads a chosen text file into `Text1` and reads it
    // in as "読み込み" does.
    void OpenText_Click();

    // Loads the book at `path` as "ロード" does, without the dialog.
    void openBook(const QString& path);
    // Opens the text file at `path` as "テキストを開く..." does, without the
    // dialog: decoded (UTF-8, UTF-16 with a byte-order mark, or code page
    // 932), put into `Text1` and read in; `Text1` then says which encoding
    // was found, or why the file cannot be opened.
    void openText(const QString& path);
    // A file given on the command line or dropped on the window: a ".vln"
    // book is loaded, anything else is opened as a text.
    void openFile(const QString& path);

    // Texts of the Aozora Bunko library. A text file opened with the marks
    // of such a text (its legend near the start, a "底本：" line near the
    // end) is read through the library's notation while `interpret` is on;
    // `ruby` says how ruby is shown. Typed or pasted texts never are.
    void setAozoraOptions(bool interpret, RubyStyle ruby) {
        m_interpretAozora = interpret;
        m_rubyStyle = ruby;
    }
    // "青空文庫のテキストとして開く...": a chosen text file read through the
    // notation, marks or not.
    void OpenAozora_Click();
    // The same without the dialog.
    void openAozoraText(const QString& path);

    // "検索...": goes to the first display line from the current step on
    // that holds `text` (also running across the cut between two lines),
    // showing its page as a jump does; "見つかりません。" when there is none.
    void Find_Click(const QString& text);
    // F3 and Shift+F3: the next and the previous passage of the same text.
    void FindNext_Click();
    void FindPrevious_Click();
    const QString& findText() const { return m_findText; }
    // The step the last find went to, while the text is the same; else -1.
    int foundStep() const;

    // Prints `DisplayLines`(`CurrentLine`) as 1, 2 or 3 rows and records the
    // rows in `PageRows`; used by the play step.
    void MojiWake();

    // Moving through the text, each move to "the page after N steps", as a
    // rewind and N steps made at that moment would give it (PageNavigator).
    // The moves do nothing while a handler runs.
    int totalSteps() const { return m_navigator.totalSteps(); }
    int currentStep() const { return m_navigator.currentStep(); }
    bool goToStep(int step) { return !busy() && m_navigator.goToStep(step); }
    bool stepBack() { return !busy() && m_navigator.stepBack(); }
    bool buildPageMap(int milliseconds) { return !busy() && m_navigator.build(milliseconds); }
    PageMap& pageMap() { return m_navigator.pageMap(); }
    // Where the rows of printedLine() begin in the page's drawings: every
    // drawing from this index on is one of those rows.
    int lineDrawingsStart() const { return m_player.lineDrawingsStart(); }

    // The book or text file being played (empty for a text typed or pasted
    // in): set by a load, a text opened from a file and a save.
    const QString& documentPath() const { return m_documentPath; }
    // How many books and texts have been opened from files: a change tells
    // the window that a new one was opened (and rewound).
    int openCount() const { return m_openCount; }

    // The folders playback looks for pictures in, in order, each ending in "/".
    const QStringList& pictureFolders() const { return m_folders.pictureFolders; }

    // True when the text or the designations changed (a reading, a
    // designation, an erase, an edit, an undo) since the last save or load.
    bool modified() const { return m_modified; }
    // Before unsaved work is replaced or lost: asks the unsaved question
    // (when there is unsaved work and a question is set) and saves when the
    // user wants it. True to go on; false when the user cancelled, or the
    // save was cancelled, failed or refused (its message then in `Text1`).
    bool maybeSaveChanges();
    // What the unsaved question says would be lost: that the work changed,
    // and the designations a save would leave out, named.
    QString whatWouldBeLost() const;

    // Why the last "単語指定" stored nothing although the table had room
    // (no "：", a half-width ":" or ">", a "＞" without a colour word), with
    // the colour words; empty when it stored the designation.
    const QString& designationNotice() const { return m_designations.notice(); }
    // Puts the typed `designation` into `slot` in place of what it held;
    // `WordCount` stays. Refused (with designationNotice()) as "単語指定"
    // refuses.
    void changeDesignation(int slot, const QString& designation);
    // Empties one slot, as "単語消す" empties them all; `WordCount` stays.
    void removeDesignation(int slot);
    // "元に戻す": takes back the last change to the designations since the
    // last load.
    void Undo_Click();
    bool canUndo() const { return m_designations.canUndo(); }
    // The name of the change "元に戻す" takes back ("単語消す").
    QString nextUndo() const { return m_designations.nextUndo(); }

    // Unsaved work is kept as it goes, each window in a recovery file of its
    // own in the data folder's "recovery/" (nowhere without a data folder).
    // At start: finds the work that readers which are gone left unsaved and
    // says in `Text1` how many there are. The search (and the clean-up of
    // what killed writes left in the reader's folders) runs on a thread of
    // its own from lookForEarlierWork(), called first, to the offer.
    void lookForEarlierWork();
    void offerRecovery();
    // True while such work was found and not opened.
    bool recoveryAvailable() const { return m_recovery.available(); }
    // The work left by readers that are gone, oldest first, with what the
    // list of "復元" shows of each (looked for again).
    QList<RecoveryListEntry> recoveryList() { return m_recovery.list(); }
    // "復元" without a choice: opens the work kept last.
    void Restore_Click();
    // Opens the work kept in `path` as unsaved work, without a book name:
    // the places reached in it are kept only once it is saved. The file goes
    // once this window's own file holds the work.
    void restoreRecovery(const QString& path);
    // Removes the kept work at `path` (never one a running reader holds).
    bool discardRecovery(const QString& path);
    // After every handler: unsaved work that changed is handed to this
    // window's recovery file (on disk within a second, written off the
    // window's thread); work saved, loaded or let go removes the file.
    void keepRecoveryCurrent();
    // Told on the writer's thread after each write: empty, or why it failed.
    void setRecoveryReport(std::function<void(const QString&)> report) { m_recovery.setReport(std::move(report)); }
    // This window's recovery file (empty before it first wrote one).
    const QString& recoveryFile() const { return m_recovery.ownFile(); }
    // On a stop signal: makes sure the unsaved work is on disk. An empty
    // text when done or nothing was unsaved, else why it failed.
    QString keepUnsavedWork();
    // A clean close (nothing unsaved, or the user let it go): this window's
    // recovery file goes.
    void finishCleanClose();

    ReaderCore(const ReaderCore&) = delete;
    ReaderCore& operator=(const ReaderCore&) = delete;

private:
    // Shows the player view (true) or the reading view (false).
    void showView(bool player);
    // The steps of "読み込み" on the text in `Text1`.
    void readText1();
    void loadBook(const QString& path);
    // Opens a text file, through the library's notation when `aozora` says
    // so or the file carries its marks.
    enum class Notation { Recognised, Aozora };
    void openTextFile(const QString& path, Notation notation);
    // The text file chosen in the dialog; empty on Cancel or while busy.
    QString chooseTextFile();
    void findFrom(bool forward);
    // After a save that replaced look-alike characters: the reader's text
    // becomes what the file holds.
    void applySavedText(const Book& book);
    // Makes room in `listing` for all of `DisplayLines` after what it holds.
    void reserveListing(QString& listing) const;
    QString chooseBookFile(FileDialogRequest::Mode mode);
    // "セーブ" without the busy check: the dialog, then the file. True when
    // the file was written.
    bool saveBook();
    // "上書きセーブ" without the busy check.
    bool overwriteBook();
    // Writes the book to `path`; true when it was written. A failure changes
    // neither the book's name nor the saved state.
    bool writeBook(const QString& path);
    // Marks the work unsaved after a change.
    void markUnsaved();
    void finishLoad(const QString& path, const Book& book);

    // The parts below hold references to the state, the controls and the
    // pictures, so those come first.
    ReaderFolders m_folders;
    ReaderState m_state;
    ReaderControls m_controls;
    PictureStore m_pictures;
    PagePlayer m_player;
    PageNavigator m_navigator;
    DesignationEditor m_designations;
    RecoveryKeeper m_recovery;
    HandlerGate m_gate;

    FileDialog m_fileDialog;
    UnsavedQuestion m_unsavedQuestion;
    ReplaceQuestion m_replaceQuestion;
    QString m_openBook;
    bool m_modified = false;
    quint64 m_unsavedRevision = 1;  // counts the changes to the work
    QString m_textFolder;  // where the last text file was opened from
    QString m_documentPath;
    int m_openCount = 0;
    bool m_interpretAozora = true;
    RubyStyle m_rubyStyle = RubyStyle::Parentheses;
    QString m_findText;
    mutable FoundPassage m_found;
    int m_foundStep = 0;
    mutable QStringList m_foundIn;  // the display lines the passage was found in
};

}  // namespace velreader
