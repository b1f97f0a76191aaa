#pragma once

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "reader/rules/designation_text.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace velreader {

// A small square of `colour` in a grey frame, `side` pixels wide, for the
// colour buttons and the list of designations.
QIcon colourSwatch(const QColor& colour, int side);

// "単語を指定...": a designation made without knowing its syntax. The word
// is typed; the picture is chosen from the pictures the reader finds (shown
// as thumbnails, or none) or added with "絵を追加..."; the colour is one of
// the eleven colour words shown in their colours, or none. A preview shows
// the page once the word applies, and the typed form of the designation is
// shown too. OK is disabled, with the reason in the dialog, while the parts
// make no usable designation.
class DesignationDialog : public QDialog {
    Q_OBJECT
public:
    // `pictureFolders` as the reader searches them; pictures are added to
    // the first. `initial` fills the dialog (a designation being changed).
    DesignationDialog(QStringList pictureFolders, const DesignationParts& initial, int zoom, QWidget* parent);

    DesignationParts parts() const;
    // The text "単語指定" takes for the chosen parts.
    QString designation() const { return composeDesignation(parts()); }

    // Says in the dialog that the table is full (OK then only shows the
    // message "単語指定" gives).
    void setTableFull(bool full);
    // Replaces the file dialog of "絵を追加..." (returns a path, or empty)
    // and the question before a picture of the same name is replaced.
    void setPictureChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }
    void setReplaceQuestion(std::function<bool(const QString& name)> ask) { m_askReplace = std::move(ask); }

    // Adds the picture file at `path` as "絵を追加..." does after its dialog.
    void addPicture(const QString& path);
    // Chooses a picture by name (empty: none) or a colour word (empty: none).
    void choosePicture(const QString& name);
    void chooseColour(const QString& word);

    // For tests and screenshots.
    QLineEdit* wordEdit() const { return m_word; }
    QListWidget* pictureList() const { return m_pictures; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* addButton() const { return m_add; }
    QLabel* reasonLabel() const { return m_reason; }
    QLabel* messageLabel() const { return m_message; }
    const QImage& previewImage() const { return m_previewImage; }
    // True once every thumbnail is drawn.
    bool thumbnailsDone() const { return m_nextThumbnail >= m_thumbnailQueue.size(); }

private:
    void fillPictures(const QString& select);
    void loadThumbnails();
    void refresh();
    QImage pagePicture(const QString& name);
    QString chosenPicture() const;
    QString choosePictureFile();
    bool askReplace(const QString& name);

    QStringList m_folders;
    int m_zoom = 1;
    QLineEdit* m_word = nullptr;
    QListWidget* m_pictures = nullptr;
    QPushButton* m_add = nullptr;
    QButtonGroup* m_colours = nullptr;
    QLabel* m_preview = nullptr;
    QLabel* m_typed = nullptr;
    QLabel* m_reason = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_full = nullptr;
    QPushButton* m_ok = nullptr;
    QImage m_previewImage;
    QHash<QString, QImage> m_pages;  // page-sized pictures by name
    QList<QListWidgetItem*> m_thumbnailQueue;
    int m_nextThumbnail = 0;
    QTimer m_thumbnails;
    std::function<QString()> m_chooseFile;
    std::function<bool(const QString&)> m_askReplace;
};

}  // namespace velreader
