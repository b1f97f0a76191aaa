#include "reader/core/reader_core.h"


namespace velreader {

ReaderFolders ReaderFolders::portable(const QString& applicationFolder) {
    return {applicationFolder + QStringLiteral("Book"), {applicationFolder + QStringLiteral("E/")}, {}};
}

ReaderFolders ReaderFolders::installed(const QString& applicationFolder, const QString& userFolder) {
    return {userFolder + QStringLiteral("Book"),
            {userFolder + QStringLiteral("E/"), applicationFolder + QStringLiteral("E/")},
            {}};
}

ReaderCore::ReaderCore(const QString& applicationFolder) : ReaderCore(ReaderFolders::portable(applicationFolder)) {}

ReaderCore::ReaderCore(ReaderFolders folders)
    : m_folders(std::move(folders)),
      m_pictures(m_folders.pictureFolders),
      m_player(m_state, m_controls, m_pictures),
      m_navigator(m_state, m_controls, m_player, m_pictures),
      m_designations(m_state, m_controls, m_pictures),
      m_recovery(m_folders.dataFolder.isEmpty() ? QString() : m_folders.dataFolder + QStringLiteral("recovery/")) {}

void ReaderCore::Form_Load() {
    if (busy()) return;
    m_player.start();

    m_state.WordCount = 0;
    m_state.CurrentLine = 0;
    m_state.PageRowIndex = 0;
    m_state.PageLineCount = 0;
    m_state.BookFileName = QStringLiteral("*None");

    // The player view; the frame lines keep their design state (shown).
    showView(true);
}

void ReaderCore::L1_Click() {
    if (busy()) return;
    showView(true);
    // A reading leaves the page and the place where the text before it was
    // left (the play step goes on from there, or not at all at its end):
    // the input box says how the new text starts, unless it holds the user's text.
    if (m_player.readSinceRewind() && currentStep() > 0 && !m_controls.Text1.typed)
        m_controls.Text1.text = QStringLiteral("新しい文章は「巻き戻し」で始めから再生します。");
}

void ReaderCore::L2_Click() {
    if (busy()) return;
    showView(false);
}

void ReaderCore::showView(bool player) {
    // The opaque tab is the active one; each view shows its own controls.
    m_controls.L1.opaque = player;
    m_controls.L2.opaque = !player;
    m_controls.Lines.visible = player;
    m_controls.Pmain.visible = player;
    m_controls.Command2.visible = player;
    m_controls.Command4.visible = player;
    m_controls.Text2.visible = !player;
    m_controls.Command1.visible = !player;
    m_controls.Command3.visible = !player;
    m_controls.Command5.visible = !player;
    m_controls.Command6.visible = !player;
    m_controls.Command7.visible = !player;
}

// The handlers below do nothing while another handler runs; a change to
// the designations makes the work unsaved.

void ReaderCore::Command2_Click() {
    if (!busy()) m_player.step();
}

void ReaderCore::MojiWake() { m_player.printLine(); }

void ReaderCore::Command4_Click() {
    if (!busy()) m_player.rewind();
}

void ReaderCore::Command3_Click() {
    if (busy()) return;
    if (m_designations.store()) markUnsaved();
}

void ReaderCore::Command5_Click() {
    if (!busy()) m_designations.list();
}

void ReaderCore::Command7_Click() {
    if (busy()) return;
    if (m_designations.eraseAll()) markUnsaved();
}

void ReaderCore::changeDesignation(int slot, const QString& designation) {
    if (busy()) return;
    if (m_designations.change(slot, designation)) markUnsaved();
}

void ReaderCore::removeDesignation(int slot) {
    if (busy()) return;
    if (m_designations.remove(slot)) markUnsaved();
}

void ReaderCore::Undo_Click() {
    if (busy()) return;
    if (m_designations.undo()) markUnsaved();
}

}  // namespace velreader
