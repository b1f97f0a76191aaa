#pragma once

#include <array>
#include <vector>

#include <QString>

#include "reader/state/reader_state.h"

namespace velreader {

// The designations as they stood before one change: both tables and the
// next free slot.
struct DesignationSnapshot {
    std::array<QString, WordSlots> words;
    std::array<QString, WordSlots> entries;
    int wordCount = 0;

    static DesignationSnapshot of(const ReaderState& state);
    void restoreInto(ReaderState& state) const;
    bool operator==(const DesignationSnapshot&) const = default;
};

// The undo history of the designations: before each change, the state it
// changes is kept with a name for the change, and undoing puts the last
// kept state back. Texts are shared, so a step costs a few kilobytes.
class DesignationHistory {
public:
    // The oldest steps are forgotten beyond this many.
    static constexpr int MaxSteps = 10000;

    // Keeps `before`, the state a change named `what` ("単語消す") replaces.
    void record(QString what, DesignationSnapshot before);
    bool canUndo() const { return !m_steps.empty(); }
    // The name of the change the next undo takes back.
    QString nextUndo() const;
    // Puts the state before the last change back into `state`; returns the
    // change's name, or an empty text when there is nothing to undo.
    QString undo(ReaderState& state);
    void clear() { m_steps.clear(); }
    int size() const { return int(m_steps.size()); }

private:
    struct Step {
        QString what;
        DesignationSnapshot before;
    };
    std::vector<Step> m_steps;
};

}  // namespace velreader
