#pragma once

#include <QString>

#include "reader/rules/history.h"
#include "reader/state/controls.h"
#include "reader/state/reader_state.h"

namespace velreader {

class PictureStore;

// The designations as the user edits them: storing one typed into `Text1`
// ("単語指定"), listing them ("単語表示"), erasing them ("単語消す"),
// changing or removing one, and taking changes back ("元に戻す") with the
// history it keeps. Each change says whether it changed anything, so that
// its owner knows the work is modified. Works on the reader's state and
// controls, which its owner keeps.
class DesignationEditor {
public:
    DesignationEditor(ReaderState& state, ReaderControls& controls, PictureStore& pictures);

    // "単語指定": stores the designation typed into `Text1`.
    bool store();
    // "単語表示": lists the designations in `Text2`.
    void list();
    // "単語消す": empties the designations; `WordCount` stays.
    bool eraseAll();
    // Puts the typed `designation` into `slot`, refused as store() refuses.
    bool change(int slot, const QString& designation);
    // Empties one slot.
    bool remove(int slot);
    // Takes back the last change since the history was last forgotten.
    bool undo();
    // Forgets the history (a load or a restore starts a new one).
    void forgetHistory() { m_history.clear(); }

    bool canUndo() const { return m_history.canUndo(); }
    QString nextUndo() const { return m_history.nextUndo(); }
    // Why the last store or change was refused; empty when it was taken.
    const QString& notice() const { return m_notice; }

private:
    // Keeps the designations as they are now, before a change named `what`.
    void record(const QString& what);
    // Text2's lines after the echo of a designation in `slot`: what it will
    // not do.
    QString warnings(const QString& entry, int slot);

    ReaderState& m_state;
    ReaderControls& m_controls;
    PictureStore& m_pictures;
    DesignationHistory m_history;
    QString m_notice;
};

}  // namespace velreader
