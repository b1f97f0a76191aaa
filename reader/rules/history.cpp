#include "reader/rules/history.h"

namespace velreader {

DesignationSnapshot DesignationSnapshot::of(const ReaderState& state) {
    return {state.WordTable, state.PictureTable, state.WordCount};
}

void DesignationSnapshot::restoreInto(ReaderState& state) const {
    state.WordTable = words;
    state.PictureTable = entries;
    state.WordCount = wordCount;
}

void DesignationHistory::record(QString what, DesignationSnapshot before) {
    if (int(m_steps.size()) >= MaxSteps) m_steps.erase(m_steps.begin());
    m_steps.push_back({std::move(what), std::move(before)});
}

QString DesignationHistory::nextUndo() const { return m_steps.empty() ? QString() : m_steps.back().what; }

QString DesignationHistory::undo(ReaderState& state) {
    if (m_steps.empty()) return {};
    Step step = std::move(m_steps.back());
    m_steps.pop_back();
    step.before.restoreInto(state);
    return step.what;
}

}  // namespace velreader
