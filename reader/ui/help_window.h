#pragma once

#include <QDialog>
#include <QStringList>
#include <QWidget>

class QTextBrowser;

namespace velreader {

// "使い方": the guide in a window of its own, with its pictures drawn for
// the screen it shows on.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(QString bookFolder, QStringList pictureFolders, QWidget* parent);

    QTextBrowser* browser() const { return m_browser; }
    // Builds the guide again, e.g. for a screen of another pixel density.
    void rebuild();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_bookFolder;
    QStringList m_pictureFolders;
    QTextBrowser* m_browser = nullptr;
    qreal m_builtFor = 0;
};

// "バージョン情報": the version, the licences and the credits.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent);
};

}  // namespace velreader
