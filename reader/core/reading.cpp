// "読み込み" and "全文表示": reading a text into display lines and listing them.
#include "reader/rules/lines.h"
#include "reader/core/reader_core.h"

namespace velreader {

void ReaderCore::Command1_Click() {
    if (busy()) return;
    // A text the user put into the listing box, with nothing in the input
    // box, was meant to be read: reading the empty input box would replace
    // it with "OK" and an empty book. Nothing is read and the text stays.
    const Control& listing = m_controls.Text2;
    // (Looked at as views: QString::trimmed() copies a text that ends in a
    // line break, 19 MB and 15 ms for a text of 660,000 lines.)
    const auto blank = [](QStringView text) { return text.trimmed().isEmpty(); };
    if (listing.typed && blank(m_controls.Text1.text) && !blank(listing.text)) {
        m_controls.Text1.text = QStringLiteral("読み込む文章は下の入力欄に入れてください（上の欄は一覧です）。");
        return;
    }
    HandlerGate::Busy running(m_gate);
    readText1();
    m_player.markTextRead();
    // The text read in is the one typed or pasted, no longer a file's.
    m_documentPath.clear();
}

void ReaderCore::readText1() {
    // A long text is read in steps between which the window breathes (the
    // listing box stays as it is meanwhile); a close lets the reading finish
    // and ends the listing.
    Reading reading = readText(m_controls.Text1.text, [this] {
        m_gate.listingContinues();
        return true;
    });
    m_state.SourceText = std::move(reading.sourceText);
    m_state.ChunkTable = std::move(reading.chunks);
    m_state.DisplayLines = std::move(reading.displayLines);
    m_state.LineCount = int(m_state.DisplayLines.size() - 1);
    markUnsaved();

    // The reader holds texts of any length; past 1000 lines it still says so.
    if (m_state.LineCount >= 1000)
        m_controls.Text1.text = QStringLiteral("分割行が1000行を越えました。このままではエラーとなります！"
                                               "文章を減らした上で､再度読み込んで下さい｡");

    QString& listing = m_controls.Text2.text;
    listing = QStringLiteral("全行数：%1行\r\n").arg(m_state.LineCount);
    {
        HandlerGate::Listing scope(m_gate);
        reserveListing(listing);
        for (int i = 0; i <= m_state.LineCount; ++i) {
            listing += m_state.DisplayLines.at(i);
            if (!m_gate.lineListed()) break;
        }
    }

    m_controls.LTitle.text = m_state.DisplayLines.at(0);
    m_controls.LTitle.visible = true;
    m_controls.Label1.text = QString::number(m_state.LineCount);
    m_controls.Text1.text = QStringLiteral("読み込み完了。");
    m_controls.Text2.text = QStringLiteral("OK");
    m_controls.Text1.typed = m_controls.Text2.typed = false;
}

void ReaderCore::reserveListing(QString& listing) const {
    // Room for every line at once: a listing grown line by line would hold
    // up to half as much again in spare capacity.
    qsizetype size = listing.size();
    for (const QString& line : m_state.DisplayLines) size += line.size();
    listing.reserve(size);
}

void ReaderCore::Command6_Click() {
    if (busy()) return;
    HandlerGate::Busy running(m_gate);

    if (m_state.LineCount == 0) {
        m_controls.Text2.text = QStringLiteral("文章がありません。");
        return;
    }
    QString& listing = m_controls.Text2.text;
    listing.clear();
    m_state.LineCount = int(m_state.DisplayLines.size() - 1);
    HandlerGate::Listing scope(m_gate);
    reserveListing(listing);
    for (int i = 0; i <= m_state.LineCount; ++i) {
        listing += m_state.DisplayLines.at(i);
        if (!m_gate.lineListed()) break;
    }
}

}  // namespace velreader
