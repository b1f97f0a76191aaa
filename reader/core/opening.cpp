// Texts and books opened from files: "テキストを開く...", "青空文庫のテキスト
// として開く...", a file dropped on the window, or one named on the command
// line.
#include <QFileInfo>

#include "reader/rules/aozora_notation.h"
#include "reader/rules/bookformat.h"
#include "reader/rules/lines.h"
#include "reader/services/reader_files.h"
#include "reader/services/textfile.h"
#include "reader/core/reader_core.h"

namespace velreader {
namespace {

// "青空文庫の記法で開きました（ルビ 2229、注記 489、外字 3）", and what
// was left as written.
QString aozoraNotice(const AozoraCounts& counts) {
    QString notice = QStringLiteral("青空文庫の記法で開きました（ルビ %1、注記 %2、外字 %3）")
                         .arg(counts.ruby)
                         .arg(counts.annotations)
                         .arg(counts.characters);
    if (counts.kept > 0)
        notice += QStringLiteral("\r\n解釈できない記法 %1 か所は書かれたままです（最初は %2 行目の「%3」）。")
                      .arg(counts.kept)
                      .arg(counts.firstKeptLine)
                      .arg(counts.firstKept);
    return notice;
}

}  // namespace

void ReaderCore::OpenText_Click() {
    const QString path = chooseTextFile();
    if (!path.isEmpty()) openText(path);
}

void ReaderCore::OpenAozora_Click() {
    const QString path = chooseTextFile();
    if (!path.isEmpty()) openAozoraText(path);
}

QString ReaderCore::chooseTextFile() {
    if (busy() || !m_fileDialog) return {};
    return m_fileDialog(FileDialogRequest{FileDialogRequest::Mode::OpenText, m_textFolder,
                                          QStringLiteral("テキストファイル (*.txt *.text);;すべてのファイル (*)"), {}});
}

void ReaderCore::openText(const QString& path) { openTextFile(path, Notation::Recognised); }

void ReaderCore::openAozoraText(const QString& path) { openTextFile(path, Notation::Aozora); }

void ReaderCore::openTextFile(const QString& path, Notation notation) {
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
    // A long text is decoded, interpreted and cut in slices between which
    // the window breathes, as during a long reading.
    const auto breathe = [this] { m_gate.listingContinues(); };
    const DecodedText decoded = decodeTextFile(bytes, breathe);
    if (!decoded.ok()) {
        m_controls.Text1.text = QStringLiteral("テキストを開けません：%1：%2").arg(path, decoded.error);
        return;
    }
    m_textFolder = QFileInfo(path).absolutePath();

    const bool aozora = notation == Notation::Aozora || (m_interpretAozora && isAozoraText(decoded.text));
    QString notice;
    if (aozora) {
        // The text is interpreted and cut here, then read in as it stands:
        // the reading keeps lines of at most 30 characters as they are.
        AozoraText interpreted = interpretAozora(decoded.text, m_rubyStyle, breathe);
        const AozoraCounts counts = interpreted.counts;
        QStringList lines = aozoraDisplayLines(std::move(interpreted), ChunkWidth, breathe);
        // Joined apart from Text1, which takes the text whole at the end:
        // a Text1 that grew while the window breathed would be compared
        // and shown again at every breath.
        QString joined;
        joined.reserve(decoded.text.size() + decoded.text.size() / 4);
        for (qsizetype n = 0; n < lines.size(); ++n) {
            if (n > 0) joined += QStringLiteral("\r\n");
            joined += lines[n];
            lines[n] = QString();  // freed a line at a time, not all at once
            if (n % 16384 == 16383) breathe();
        }
        m_controls.Text1.text = std::move(joined);
        notice = QStringLiteral("\r\n") + aozoraNotice(counts);
    } else {
        m_controls.Text1.text = decoded.text;
    }
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
    m_controls.Text1.text += notice;
}

void ReaderCore::openFile(const QString& path) {
    if (path.endsWith(QStringLiteral(".vln"), Qt::CaseInsensitive))
        openBook(path);
    else
        openText(path);
}

}  // namespace velreader
