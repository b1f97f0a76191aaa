#include "reader/rules/word_matcher.h"

#include <algorithm>

namespace velreader {

WordMatcher::WordMatcher(const std::array<QString, WordSlots>& words, const std::array<QString, WordSlots>& entries)
    : m_firstChars(65536 / 64, 0) {
    for (int k = 0; k < WordSlots; ++k) {
        if (words[k].isEmpty() || entries[k].isEmpty()) continue;
        const char16_t first = words[k].at(0).unicode();
        m_candidates.push_back({first, k, words[k]});
        m_firstChars[first >> 6] |= std::uint64_t(1) << (first & 63);
    }
    std::stable_sort(m_candidates.begin(), m_candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.first < b.first; });
}

WordMatcher::Slots WordMatcher::matches(QStringView line) const {
    Slots found = 0;
    if (m_candidates.empty()) return found;
    const char16_t* text = reinterpret_cast<const char16_t*>(line.utf16());
    const qsizetype size = line.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i];
        if (!mayStart(c)) continue;
        auto it = std::lower_bound(m_candidates.begin(), m_candidates.end(), c,
                                   [](const Candidate& a, char16_t value) { return a.first < value; });
        for (; it != m_candidates.end() && it->first == c; ++it) {
            const Slots bit = Slots(1) << it->slot;
            if (found & bit) continue;
            if (it->word.size() <= size - i && line.mid(i, it->word.size()) == it->word) found |= bit;
        }
    }
    return found;
}

}  // namespace velreader
