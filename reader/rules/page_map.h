#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <array>
#include <vector>

#include <QHash>
#include <QRgb>
#include <QString>
#include <QStringList>

#include "reader/rules/play_rule.h"
#include "reader/state/reader_state.h"

namespace velreader {

// What the map needs to know of the picture folders: whether a picture
// named in a designation shows when playback applies it, and a stamp of the
// file behind the name (its path, size and time; empty when there is none),
// so that a map made before a picture was added, changed or removed is
// known to be out of date.
struct PictureProbe {
    std::function<bool(const QString& name)> shows;
    std::function<QString(const QString& name)> stamp;
};

// One page of the text: the play step that prints its first line, and the
// text colour and page picture in force as that step begins.
struct PageStart {
    std::int32_t step = 1;
    QRgb colour = 0;
    std::int16_t picture = -1;  // index into PageMap::pictureName(); -1: the blank page
    std::uint8_t rows = 0;      // rows on the page once it is full (0 while it is the last page)
};

// The record of where the pages of a text start and which text colour and
// page picture each page starts with. With it, the page after any number
// of play steps is reached by printing at most one page: start the page
// with its colour and picture, then play its steps.
//
// The map is made for one text and one set of designations (a snapshot of
// the reader's state, which costs nothing: Qt's texts and lists are shared
// until changed) and knows when the reader's state no longer matches. It is
// built from the first step on, a slice at a time or up to a given step;
// it follows the play step's own rule (PlayRule): the words of a line
// applied in slot order, a picture only when it shows, a new page after 12
// lines or when the rows of the next line would not fit the page's 31 row
// slots.
class PageMap {
public:
    PageMap() = default;
    PageMap(const ReaderState& state, PictureProbe probe, QRgb defaultColour);

    // True when the map was made for exactly this text (the same shared
    // list), these designations and these picture files.
    bool describes(const ReaderState& state) const;

    // The play steps of a rewound text: LineCount + 1 (0 without a text).
    int totalSteps() const { return m_totalSteps; }
    // The steps known so far; every step up to here has its page.
    int builtSteps() const { return m_next - 1; }
    bool complete() const { return m_next > m_totalSteps; }

    // Goes on building for about `nanoseconds`; true once complete.
    bool build(qint64 nanoseconds);
    // Builds at least up to `step`.
    void buildThrough(int step);

    // The page on which play step `step` (1 to totalSteps()) prints, built
    // up to there first.
    int pageOf(int step);
    const PageStart& page(int index) const { return m_pages[size_t(index)]; }
    int pageCount() const { return int(m_pages.size()); }
    const QString& pictureName(int index) const { return m_pictureNames[index]; }

    // The last page before `page` whose rows reached row slot `slot`, or -1
    // when none since the rewind did: that page's row is what the slot holds
    // when `page` begins.
    int lastPageReaching(int page, int slot) const;
    // Every row of a page already built, in order.
    QStringList rowsOfPage(int page) const;

    // Gives up the map's share of the text (the map is done with then), so
    // that its last owner can free it a slice at a time.
    QStringList releaseLines() { return std::move(m_lines); }

    // Bytes the map holds beyond the shared snapshot.
    qsizetype memoryBytes() const;

private:
    struct PictureRecord {
        int index = -1;  // into m_pictureNames, when the picture shows
        QString stamp;
    };

    void scanStep();
    int pictureIndex(const QString& name);

    QStringList m_lines;
    int m_lineCount = 0;
    int m_totalSteps = 0;
    PictureProbe m_probe;
    std::optional<PlayRule> m_rule;
    QHash<QString, PictureRecord> m_pictures;  // every picture name met so far
    QStringList m_pictureNames;                // the ones that show, by index

    // The scan: the next step and the state before it.
    int m_next = 1;
    QRgb m_colour = 0;
    int m_picture = -1;
    int m_rowIndex = 0;
    int m_lineCountOnPage = 0;
    std::vector<PageStart> m_pages;
    // For each row slot beyond a page's 12 lines: the full pages that
    // reached it, in order (a full page always fills slots 0 to 11).
    std::array<std::vector<std::int32_t>, PageRowSlots> m_reached;
};

}  // namespace velreader
