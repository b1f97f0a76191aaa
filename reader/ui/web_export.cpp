#include "reader/ui/web_export.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include "reader/core/reader_core.h"
#include "reader/core/web_book_of.h"
#include "reader/ui/replace_question.h"

namespace velreader {

WebExport::WebExport(ReaderCore& core, QWidget* dialogParent)
    : QObject(dialogParent), m_core(core), m_dialogParent(dialogParent) {
    m_action = new QAction(QStringLiteral("Webページとして書き出す..."), this);
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_action, &QAction::triggered, this, &WebExport::start);
}

WebExport::~WebExport() {
    if (!m_thread) return;
    m_cancel = true;
    m_thread->wait();
    delete m_thread;
}

void WebExport::start() {
    if (running() || m_core.busy()) return;
    if (m_core.state().LineCount == 0) {
        deliver(QStringLiteral("書き出す文章がありません。"));
        return;
    }
    // The dialog starts in the book folder, with the book's own name.
    QString folder = m_core.bookFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) folder = QDir::homePath();
    const QString book = m_core.state().BookFileName;
    const QString suggested =
        book == u"*None" ? QString() : QFileInfo(book).completeBaseName() + QStringLiteral(".html");
    const QString path = web::withHtmlSuffix(choosePath(QDir(folder).filePath(suggested)));
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path)) {
        const QString name = QFileInfo(path).fileName();
        if (!(m_replace ? m_replace(name) : askReplace(m_dialogParent, name))) return;
    }

    web::WebBook copy = web::webBookOf(m_core);
    m_cancel = false;
    m_thread = QThread::create([this, copy = std::move(copy), path] {
        m_result = web::exportWebBook(copy, path, &m_cancel);
    });
    connect(m_thread, &QThread::finished, this, &WebExport::done);
    m_action->setEnabled(false);
    deliver(QStringLiteral("書き出し中・・・"));
    m_thread->start();
}

QString WebExport::choosePath(const QString& startPath) {
    if (m_chooser) return m_chooser(startPath);
    QFileDialog dialog(m_dialogParent, QStringLiteral("Webページとして書き出す"), startPath,
                       QStringLiteral("Webページ (*.html *.htm)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The reader asks its own question before a file is replaced.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Added when no extension is typed.
    dialog.setDefaultSuffix(QStringLiteral("html"));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

void WebExport::done() {
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_action->setEnabled(true);
    deliver(web::exportReport(m_result));
    emit finished();
}

void WebExport::deliver(const QString& message) {
    // While a handler of the reader runs (a load listing its book), the
    // message waits for it to end.
    if (m_core.busy()) {
        QTimer::singleShot(20, this, [this, message] { deliver(message); });
        return;
    }
    emit report(message);
}

}  // namespace velreader
