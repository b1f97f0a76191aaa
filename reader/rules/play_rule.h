#pragma once

#include <array>
#include <bit>
#include <optional>

#include <QRgb>
#include <QString>
#include <QStringView>

#include "reader/rules/word_matcher.h"
#include "reader/state/reader_state.h"

namespace velreader {

// What a play step makes of one picture entry ("picture＞colour"): the text
// colour its colour word names (none when the entry has no colour word or
// one that is not among the eleven) and its picture name (empty when the
// entry names none).
struct EntryEffect {
    std::optional<QRgb> colour;
    QString picture;
};
EntryEffect entryEffect(const QString& entry);

// Where a display line goes on the page.
struct LinePlace {
    bool newPage = false;  // the page starts anew before the line prints
    int rows = 1;          // the page rows the line takes: 1, 2 or 3
};

// What the designations of one display line leave behind.
struct AppliedDesignations {
    QRgb colour = 0;                   // the text colour after them
    const QString* picture = nullptr;  // the last picture that showed; null when none did
};

// The rule of one play step, the one the window's play step, the record of
// the pages and the export follow: the designations whose word occurs in
// the line apply in slot order, each first setting the text colour its
// colour word names, then showing its picture when the picture can be
// shown; then the line goes on the page, on a new page after 12 lines or
// when its rows would not fit the page's 31 row slots.
//
// A rule is made for one set of designations (cheap to keep: the texts are
// shared) and reads their entries once.
class PlayRule {
public:
    PlayRule(const std::array<QString, WordSlots>& words, const std::array<QString, WordSlots>& entries);

    // True when the rule was made from exactly these designations.
    bool madeFrom(const std::array<QString, WordSlots>& words, const std::array<QString, WordSlots>& entries) const {
        return words == m_words && entries == m_entries;
    }

    // The slots whose designations apply to `line`, as bits.
    WordMatcher::Slots applying(QStringView line) const { return m_matcher.matches(line); }
    const EntryEffect& effect(int slot) const { return m_effects[size_t(slot)]; }

    // Applies the designations of `line` in slot order to the text colour
    // `colour`. Each picture an applied entry names is offered to
    // `show(name, colour)` with the colour in force at that moment;
    // `show` returns whether it could show it (a missing or unreadable
    // picture is skipped, the colour of its entry still applies).
    template <typename Show>
    AppliedDesignations apply(QStringView line, QRgb colour, Show&& show) const {
        AppliedDesignations out{colour, nullptr};
        for (WordMatcher::Slots found = applying(line); found; found &= found - 1) {
            const EntryEffect& e = m_effects[size_t(std::countr_zero(found))];
            if (e.colour) out.colour = *e.colour;
            if (!e.picture.isEmpty() && show(e.picture, out.colour)) out.picture = &e.picture;
        }
        return out;
    }

    // The page rows of `line`: 1 up to 30 units, 2 up to 60, else 3.
    static int rowsOf(const QString& line);
    // Where `line` goes on a page that holds `pageRows` rows of
    // `pageLines` display lines.
    static LinePlace place(const QString& line, int pageRows, int pageLines);

private:
    std::array<QString, WordSlots> m_words;
    std::array<QString, WordSlots> m_entries;
    std::array<EntryEffect, WordSlots> m_effects;
    WordMatcher m_matcher;
};

}  // namespace velreader
