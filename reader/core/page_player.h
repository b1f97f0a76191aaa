#pragma once

#include <optional>

#include <QImage>
#include <QRgb>
#include <QString>

#include "reader/drawing/page.h"
#include "reader/rules/play_rule.h"
#include "reader/state/controls.h"
#include "reader/state/reader_state.h"

namespace velreader {

class PictureStore;

// The page `Pmain` with its pictures `Pura` (the blank background) and
// `Pura2` (the page picture), and the play step that prints the text on it
// line by line as the play rule says. Works on the reader's state and
// controls, which its owner keeps.
class PagePlayer {
public:
    PagePlayer(ReaderState& state, ReaderControls& controls, PictureStore& pictures);

    const PageSurface& page() const { return m_page; }
    const QImage& pagePicture() const { return m_pura2; }
    const QImage& blankPage() const { return m_pura; }
    // The display line the last play step printed; empty after a rewind.
    const QString& printedLine() const { return m_printedLine; }
    // Where the rows of printedLine() begin in the page's drawings.
    int lineDrawingsStart() const { return m_lineDrawingsStart; }

    // Start-up: the blank page in the default text colour, the print
    // position at the first row.
    void start();
    // Makes clearing the page show the blank background (after a load).
    void showBlankWhenCleared() { m_page.setBasePicture(m_pura); }

    // One play step: the designations of the line at `CurrentLine`, then the
    // line itself, on a new page when the rule says so.
    void step();
    // Prints `DisplayLines`(`CurrentLine`) as 1, 2 or 3 rows and records
    // them in `PageRows` (`MojiWake`).
    void printLine();
    // A blank page and playback from line 0.
    void rewind();
    // A reading came after the last rewind: the page still shows the text
    // before it, and the play step goes on from where that text was left.
    void markTextRead() { m_readSinceRewind = true; }
    bool readSinceRewind() const { return m_readSinceRewind; }
    // Readies the page for playing the steps of a page from its first step
    // `firstStep`: the text colour and page picture it starts with (a null
    // picture: the blank one) and a full page, so that the step starts anew.
    void startPageAt(int firstStep, QRgb colour, const QImage& picture);

private:
    const PlayRule& playRule();
    // Makes `picture` the page picture and prints the page's rows over it.
    void showPicture(const QImage& picture);

    ReaderState& m_state;
    ReaderControls& m_controls;
    PictureStore& m_pictures;
    PageSurface m_page;
    QImage m_pura;
    QImage m_pura2;
    std::optional<PlayRule> m_rule;
    QString m_printedLine;
    int m_lineDrawingsStart = 0;
    bool m_readSinceRewind = false;
};

}  // namespace velreader
