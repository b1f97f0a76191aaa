#include "reader/core/reader_core.h"

#include "reader/drawing/fonts.h"

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
      m_pura(blankPicture(DesignPictureColour)),
      m_pura2(m_pura),
      m_pictures(m_folders.pictureFolders) {}

void ReaderCore::Form_Load() {
    if (m_busy) return;
    m_page.paintPicture(m_pura);
    m_page.clear();
    m_page.setX(10);
    m_page.setY(15);

    m_page.setForeColor(DefaultTextColour);
    m_page.paintPicture(m_pura);

    m_state.WordCount = 0;
    m_state.CurrentLine = 0;
    m_state.PageRowIndex = 0;
    m_state.PageLineCount = 0;
    m_state.BookFileName = QStringLiteral("*None");

    // The player view; the frame lines keep their design state (shown).
    showView(true);
}

void ReaderCore::L1_Click() {
    if (m_busy) return;
    showView(true);
    // A reading leaves the page and the place where the text before it was
    // left (the play step goes on from there, or not at all at its end):
    // the input box says how the new text starts, unless it holds the user's text.
    if (m_readSinceRewind && currentStep() > 0 && !m_controls.Text1.typed)
        m_controls.Text1.text = QStringLiteral("新しい文章は「巻き戻し」で始めから再生します。");
}

void ReaderCore::L2_Click() {
    if (m_busy) return;
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

void ReaderCore::startListing() { m_listing = true; }

bool ReaderCore::listingContinues() {
    if (m_listingAborted) return false;
    // Processing events after every line would make a long listing crawl;
    // a few times per frame is enough to show it growing.
    if (m_eventPump && m_sincePump.elapsed() >= m_pumpIntervalMs) {
        m_eventPump();
        m_sincePump.restart();
    }
    return !m_listingAborted;
}

}  // namespace velreader
