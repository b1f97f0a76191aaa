// Texts and books opened from files: "テキストを開く...", a file dropped on
// the window, or one named on the command line.
#include <QFileInfo>

#include "reader/rules/bookformat.h"
#include "reader/services/reader_files.h"
#include "reader/services/textfile.h"
#include "reader/core/reader_core.h"

namespace velreader {

void ReaderCore::OpenText_Click() {
    if (busy()) return;
    if (!m_fileDialog) return;
    const QString path = m_fileDialog(FileDialogRequest{FileDialogRequest::Mode::OpenText, m_textFolder,
                                                        QStringLiteral("テキストファイル (*.txt *.text);;すべてのファイル (*)"), {}});
    if (path.isEmpty()) return;
    openText(path);
}

void ReaderCore::openText(const QString& path) {
    if (busy()) return;
    HandlerGate::Busy running(m_gate);
    const QString name = QFileInfo(path).fileName();
    // Texts are held to the size of the largest book.
    QString why;
    const QByteArray bytes = readReaderFile(path, why);
    if (!why.isEmpty()) {
        m_controls.Text1.text = QStringLiteral("テキストを開けません：%1：%2。").arg(path, why);
        return;
    }
    const DecodedText decoded = decodeTextFile(bytes);
    if (!decoded.ok()) {
        m_controls.Text1.text = QStringLiteral("テキストを開けません：%1：%2").arg(path, decoded.error);
        return;
    }
    m_textFolder = QFileInfo(path).absolutePath();
    m_controls.Text1.text = decoded.text;
    readText1();
    // Opening a text is a new start, like a load: the page is rewound and
    // the file name shows the text, never the book played before.
    m_player.rewind();
    m_documentPath = path;
    // A text file is no book: "上書きセーブ" asks for one rather than write
    // over the book read before. Nothing is unsaved yet.
    m_openBook.clear();
    m_modified = false;
    ++m_openCount;
    m_controls.Lfname.text = QStringLiteral("Filename-") + name;
    m_controls.Text1.text += QStringLiteral("\r\n「%1」を %2 のテキストとして開きました。").arg(name, encodingName(decoded.encoding));
}

void ReaderCore::openFile(const QString& path) {
    if (path.endsWith(QStringLiteral(".vln"), Qt::CaseInsensitive))
        openBook(path);
    else
        openText(path);
}

}  // namespace velreader
