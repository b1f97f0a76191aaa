// Stepping back, jumping and resuming, each to "the page after N steps",
// built from the record of the pages.
#include "reader/core/page_navigator.h"

#include <QElapsedTimer>

#include "reader/core/page_player.h"
#include "reader/drawing/fonts.h"
#include "reader/services/pictures.h"

namespace velreader {

PageNavigator::PageNavigator(ReaderState& state, ReaderControls& controls, PagePlayer& player,
                             PictureStore& pictures)
    : m_state(state), m_controls(controls), m_player(player), m_pictures(pictures) {}

int PageNavigator::totalSteps() const {
    if (m_state.LineCount <= 0 || m_state.DisplayLines.isEmpty()) return 0;
    return int(std::min<qsizetype>(m_state.LineCount, m_state.DisplayLines.size() - 1)) + 1;
}

int PageNavigator::currentStep() const {
    // A rewind leaves CurrentLine at 0 with "再生" enabled; each step moves
    // CurrentLine on, except the last, which disables "再生" instead.
    const int step = m_state.CurrentLine + (m_controls.Command2.enabled ? 0 : 1);
    return std::clamp(step, 0, totalSteps());
}

PageMap& PageNavigator::pageMap() {
    if (!m_pageMap || !m_pageMap->describes(m_state)) {
        const QSize size(PageSurface::Width, PageSurface::Height);
        PictureProbe probe{[this, size](const QString& name) { return !m_pictures.load(name, size).isNull(); },
                           [this](const QString& name) { return m_pictures.stamp(name); }};
        if (m_pageMap) m_retiredLines.push_back(m_pageMap->releaseLines());
        m_pageMap.emplace(m_state, std::move(probe), DefaultTextColour.rgb());
    }
    return *m_pageMap;
}

bool PageNavigator::build(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    PageMap& map = pageMap();
    // A text no one else holds any more goes from the end, a piece at a time.
    while (!m_retiredLines.empty() && clock.elapsed() < milliseconds) {
        QStringList& old = m_retiredLines.back();
        if (!old.isDetached()) {
            m_retiredLines.pop_back();  // still in use elsewhere: only our share goes
            continue;
        }
        const qsizetype piece = std::min<qsizetype>(old.size(), 20000);
        old.remove(old.size() - piece, piece);
        // Giving back the list's own array when half of it is free lets the
        // allocator tidy up a few times on the way (a large free makes it
        // merge what the pieces gave back), rather than all at once at the
        // end, without ever holding much more than the list held.
        if (old.size() <= old.capacity() / 2) old.squeeze();
        if (old.isEmpty()) m_retiredLines.pop_back();
    }
    const qint64 left = qint64(milliseconds) * 1000000 - clock.nsecsElapsed();
    return map.build(std::max<qint64>(left, 0)) && m_retiredLines.empty();
}

bool PageNavigator::goToStep(int step) {
    const int total = totalSteps();
    if (total == 0) return false;
    step = std::clamp(step, 0, total);

    PageMap& map = pageMap();
    // A rewind leaves the page rows as they are, and the steps after it
    // overwrite only the slots their pages reach.
    const std::array<QString, PageRowSlots> rowsBefore = m_state.PageRows;
    int first = 1;
    int page = 0;
    if (step > 0) page = map.pageOf(step);
    if (page == 0) {
        m_player.rewind();
    } else {
        // The state just before the page's first step: its colour and
        // picture, and a full page, so that the step starts a new one.
        const PageStart& start = map.page(page);
        first = start.step;
        const QImage picture = start.picture < 0 ? QImage()
                                                 : m_pictures.load(map.pictureName(start.picture),
                                                                   QSize(PageSurface::Width, PageSurface::Height));
        m_player.startPageAt(first, start.colour, picture);
    }
    for (int s = first; s <= step; ++s) m_player.step();

    // Slots the page has not reached hold what earlier pages left there.
    int rowsPage = -1;
    QStringList rows;
    for (int slot = m_state.PageRowIndex; slot < PageRowSlots; ++slot) {
        const int writer = map.lastPageReaching(page, slot);
        if (writer < 0) {
            m_state.PageRows[slot] = rowsBefore[slot];
            continue;
        }
        if (writer != rowsPage) {
            rowsPage = writer;
            rows = map.rowsOfPage(writer);
        }
        m_state.PageRows[slot] = rows.at(slot);
    }
    return true;
}

bool PageNavigator::stepBack() {
    const int step = currentStep();
    if (step == 0) return false;
    return goToStep(step - 1);
}

}  // namespace velreader
