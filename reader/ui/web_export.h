#pragma once

#include <atomic>
#include <functional>

#include <QObject>
#include <QString>

#include "reader/services/web_book.h"

class QAction;
class QThread;
class QWidget;

namespace velreader {

class ReaderCore;

// 記録 > "Webページとして書き出す..." (Ctrl+E): asks for a file name in the
// book folder (asking before a file there is replaced, as a save does) and
// writes the book as one web page. The page is built on a
// thread of its own from a copy of the reader's state, so the window goes on
// while a big book is written; the reader's state is never changed.
class WebExport : public QObject {
    Q_OBJECT
public:
    // Gets the file name, starting at `startPath`; empty on Cancel.
    using PathChooser = std::function<QString(const QString& startPath)>;

    WebExport(ReaderCore& core, QWidget* dialogParent);
    // A running export is stopped and waited for; it writes nothing then.
    ~WebExport() override;

    QAction* action() const { return m_action; }
    void setPathChooser(PathChooser chooser) { m_chooser = std::move(chooser); }
    // Asks before an existing file is replaced (the file name without its
    // folder); true to replace. The reader's own question unless set.
    using ReplaceQuestion = std::function<bool(const QString& fileName)>;
    void setReplaceQuestion(ReplaceQuestion question) { m_replace = std::move(question); }
    bool running() const { return m_thread != nullptr; }

    // What the menu item does.
    void start();

signals:
    // A message for the input box: the export started, ended or failed.
    void report(const QString& message);
    // The export has ended, written or not.
    void finished();

private:
    QString choosePath(const QString& startPath);
    void done();
    void deliver(const QString& message);

    ReaderCore& m_core;
    QWidget* m_dialogParent;
    QAction* m_action;
    PathChooser m_chooser;
    ReplaceQuestion m_replace;
    QThread* m_thread = nullptr;
    std::atomic<bool> m_cancel{false};
    web::WebExportResult m_result;
};

}  // namespace velreader
