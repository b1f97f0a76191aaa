#include "reader/rules/play_rule.h"

#include "reader/rules/colours.h"
#include "reader/rules/designation_text.h"
#include "reader/rules/lines.h"

namespace velreader {

EntryEffect entryEffect(const QString& entry) {
    const DesignationParts parts = splitDesignation(QString(), entry);
    EntryEffect effect{std::nullopt, parts.picture};
    if (const auto colour = textColourFor(parts.colour)) effect.colour = colour->rgb();
    return effect;
}

PlayRule::PlayRule(const std::array<QString, WordSlots>& words, const std::array<QString, WordSlots>& entries)
    : m_words(words), m_entries(entries), m_matcher(words, entries) {
    for (int k = 0; k < WordSlots; ++k)
        if (!words[k].isEmpty() && !entries[k].isEmpty()) m_effects[size_t(k)] = entryEffect(entries[k]);
}

int PlayRule::rowsOf(const QString& line) {
    return line.size() <= ChunkWidth ? 1 : int(pageRows(line).size());
}

LinePlace PlayRule::place(const QString& line, int pageRows, int pageLines) {
    const int rows = rowsOf(line);
    return {pageLines >= PageLines || pageRows + rows > PageRowSlots, rows};
}

}  // namespace velreader
