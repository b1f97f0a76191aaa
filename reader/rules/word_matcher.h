#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <QString>
#include <QStringView>

#include "reader/state/reader_state.h"

namespace velreader {

// Finds the designations that apply to a line exactly as the play step
// does (a non-empty word with a non-empty entry, found in the line as a
// substring, character for character), but with one pass over the line
// instead of one search per word: only where a line holds the first
// character of some word are the words starting with it compared. Made for
// going through a whole book quickly.
class WordMatcher {
public:
    using Slots = std::uint64_t;  // bit k: slot k applies (51 slots)
    static_assert(WordSlots <= 64);

    WordMatcher(const std::array<QString, WordSlots>& words, const std::array<QString, WordSlots>& entries);

    // The slots whose word occurs in `line`, as a set of bits.
    Slots matches(QStringView line) const;
    // True when no slot can ever apply.
    bool empty() const { return m_candidates.empty(); }

private:
    struct Candidate {
        char16_t first;
        int slot;
        QString word;
    };

    bool mayStart(char16_t c) const { return (m_firstChars[c >> 6] >> (c & 63)) & 1; }

    std::vector<std::uint64_t> m_firstChars;  // a bit for every UTF-16 unit that starts a word
    std::vector<Candidate> m_candidates;      // sorted by first character
};

}  // namespace velreader
