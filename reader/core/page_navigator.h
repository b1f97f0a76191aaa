#pragma once

#include <optional>
#include <vector>

#include <QStringList>

#include "reader/rules/page_map.h"
#include "reader/state/controls.h"
#include "reader/state/reader_state.h"

namespace velreader {

class PagePlayer;
class PictureStore;

// Moving through the text. "The page after N steps" is the page, state and
// controls that a rewind followed by N play steps gives, for N from 0 to
// totalSteps(); every move goes to one of them exactly, printing at most one
// page, with the help of the record of the pages (PageMap), which it keeps
// for the present text and designations.
class PageNavigator {
public:
    PageNavigator(ReaderState& state, ReaderControls& controls, PagePlayer& player, PictureStore& pictures);

    // The steps of the text: LineCount + 1, or 0 when there is no text.
    int totalSteps() const;
    // The N of the page shown: the play steps since the last rewind.
    int currentStep() const;
    // Goes to the page after `step` steps (kept within 0 to totalSteps()).
    // False when there is no text.
    bool goToStep(int step);
    // The page after one step fewer; nothing at step 0.
    bool stepBack();
    // Builds the record of the pages for about `milliseconds`; true once it
    // is complete for the present text.
    bool build(int milliseconds);
    // The record of the pages of the present text, made when needed.
    PageMap& pageMap();

private:
    ReaderState& m_state;
    ReaderControls& m_controls;
    PagePlayer& m_player;
    PictureStore& m_pictures;
    std::optional<PageMap> m_pageMap;
    // Texts of earlier maps, freed a slice at a time while the record is
    // built (freeing 660,000 lines at once would stall the window).
    std::vector<QStringList> m_retiredLines;
};

}  // namespace velreader
