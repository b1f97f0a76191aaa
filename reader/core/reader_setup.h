#pragma once

#include <functional>

#include <QString>
#include <QStringList>

namespace velreader {

// What the book commands ask of the file dialog.
struct FileDialogRequest {
    enum class Mode { Save, Open, OpenText };
    Mode mode = Mode::Open;
    QString startFolder;  // the book folder; for texts the last folder a text came from, or empty
    QString filter;       // "Velinファイル (*.vln)"
    QString selected;     // saving: the open book, which the dialog starts on; else empty
};

// Where the reader finds its pictures and books.
struct ReaderFolders {
    QString bookFolder;          // where the book dialogs start (no trailing "/")
    QStringList pictureFolders;  // searched in order, each ending in "/"; pictures are added to the first
    // The user's data folder (ending in "/"): unsaved work is kept in its
    // "recovery/" folder as it goes, and what a reader stopped by a signal
    // could not show is kept there for the next start. Empty: nowhere.
    QString dataFolder;

    // A portable copy: "Book" and "E/" in the application folder.
    static ReaderFolders portable(const QString& applicationFolder);
    // An installed copy: the user's own "Book" and "E/" in `userFolder`, and
    // the installed pictures after the user's.
    static ReaderFolders installed(const QString& applicationFolder, const QString& userFolder);
};

// Gives a user the sample books: when `userBooks` does not exist yet, it is
// made and every ".vln" book of `sampleBooks` is copied into it. A folder
// that exists is left alone, so a user's own books are never touched.
void offerSampleBooks(const QString& sampleBooks, const QString& userBooks);

// Shows the dialog and returns the chosen path, or an empty text on Cancel.
using FileDialog = std::function<QString(const FileDialogRequest&)>;

// The answers to "変更を保存しますか？": 保存 / 保存しない / キャンセル.
enum class UnsavedAnswer { Save, Discard, Cancel };
// Asks the user whether to save unsaved work before it is replaced or lost.
using UnsavedQuestion = std::function<UnsavedAnswer()>;
// Asks "「NAME」はもうあります。置き換えますか？" for the file name (without its
// folder) of a file a save would replace; true to replace it.
using ReplaceQuestion = std::function<bool(const QString& fileName)>;

}  // namespace velreader
