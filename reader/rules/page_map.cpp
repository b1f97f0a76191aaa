#include "reader/rules/page_map.h"

#include <algorithm>

#include <QElapsedTimer>

#include "reader/rules/lines.h"

namespace velreader {

PageMap::PageMap(const ReaderState& state, PictureProbe probe, QRgb defaultColour)
    : m_lines(state.DisplayLines),
      m_lineCount(state.LineCount),
      m_probe(std::move(probe)),
      m_colour(defaultColour) {
    if (m_lineCount > 0 && !m_lines.isEmpty())
        m_totalSteps = std::min<qsizetype>(m_lineCount, m_lines.size() - 1) + 1;
    m_rule.emplace(state.WordTable, state.PictureTable);
    m_pages.push_back({1, defaultColour, -1, 0});
}

bool PageMap::describes(const ReaderState& state) const {
    if (state.LineCount != m_lineCount || state.DisplayLines.size() != m_lines.size()) return false;
    // The text is the map's only while it is the very list the map was made
    // from (shared, so unchanged): comparing a long text line by line would
    // stall the window, and a text read or loaded again is a new list.
    if (state.DisplayLines.constData() != m_lines.constData()) return false;
    if (!m_rule || !m_rule->madeFrom(state.WordTable, state.PictureTable)) return false;
    for (auto it = m_pictures.begin(); it != m_pictures.end(); ++it)
        if (m_probe.stamp(it.key()) != it->stamp) return false;
    return true;
}

int PageMap::pictureIndex(const QString& name) {
    auto it = m_pictures.find(name);
    if (it == m_pictures.end()) {
        PictureRecord record;
        record.stamp = m_probe.stamp(name);
        if (m_probe.shows(name)) {
            record.index = int(m_pictureNames.size());
            m_pictureNames << name;
        }
        it = m_pictures.insert(name, record);
    }
    return it->index;
}

void PageMap::scanStep() {
    const QString& line = m_lines.at(m_next - 1);
    const QRgb colourBefore = m_colour;
    const int pictureBefore = m_picture;
    const AppliedDesignations applied =
        m_rule->apply(line, m_colour, [this](const QString& name, QRgb) { return pictureIndex(name) >= 0; });
    m_colour = applied.colour;
    if (applied.picture) m_picture = pictureIndex(*applied.picture);
    const LinePlace place = PlayRule::place(line, m_rowIndex, m_lineCountOnPage);
    if (place.newPage) {
        m_pages.back().rows = std::uint8_t(m_rowIndex);
        for (int slot = PageLines; slot < m_rowIndex; ++slot) m_reached[slot].push_back(std::int32_t(m_pages.size() - 1));
        m_pages.push_back({m_next, colourBefore, std::int16_t(pictureBefore), 0});
        m_lineCountOnPage = 0;
        m_rowIndex = 0;
    }
    m_rowIndex += place.rows;
    ++m_lineCountOnPage;
    ++m_next;
}

bool PageMap::build(qint64 nanoseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!complete()) {
        // The clock is read only now and then: a step costs far less.
        for (int i = 0; i < 512 && !complete(); ++i) scanStep();
        if (clock.nsecsElapsed() >= nanoseconds) break;
    }
    return complete();
}

void PageMap::buildThrough(int step) {
    while (m_next <= std::min(step, m_totalSteps)) scanStep();
}

int PageMap::pageOf(int step) {
    buildThrough(step);
    const auto it = std::upper_bound(m_pages.begin(), m_pages.end(), step,
                                     [](int s, const PageStart& p) { return s < p.step; });
    return std::max(0, int(it - m_pages.begin()) - 1);
}

int PageMap::lastPageReaching(int page, int slot) const {
    // The slots every full page fills were written by the page just before;
    // the others by the last page that went beyond 12 rows and that far.
    if (slot < PageLines) return page - 1;
    const std::vector<std::int32_t>& reached = m_reached[size_t(slot)];
    const auto it = std::lower_bound(reached.begin(), reached.end(), page);
    return it == reached.begin() ? -1 : *(it - 1);
}

QStringList PageMap::rowsOfPage(int page) const {
    QStringList rows;
    const int first = m_pages[size_t(page)].step;
    const int end = size_t(page) + 1 < m_pages.size() ? m_pages[size_t(page) + 1].step : m_next;
    for (int step = first; step < end; ++step) rows += pageRows(m_lines.at(step - 1));
    return rows;
}

qsizetype PageMap::memoryBytes() const {
    qsizetype bytes = qsizetype(m_pages.capacity() * sizeof(PageStart));
    for (const QString& name : m_pictureNames) bytes += name.capacity() * 2;
    return bytes + m_pictures.capacity() * qsizetype(sizeof(PictureRecord) + sizeof(QString));
}

}  // namespace velreader
