#include "reader/window/reader_core.h"

#include "reader/window/fonts.h"

namespace velreader {

ReaderCore::ReaderCore(QString applicationFolder)
    : m_applicationFolder(std::move(applicationFolder)),
      m_pura(blankPicture(DesignPictureColour)),
      m_pura2(m_pura),
      m_pictures(m_applicationFolder + QStringLiteral("E/")) {}

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

    m_controls.Pmain.visible = true;
    m_controls.Text2.visible = false;
    m_controls.Command1.visible = false;
    m_controls.Command2.visible = true;
    m_controls.Command3.visible = false;
    m_controls.Command4.visible = true;
    m_controls.Command5.visible = false;
    m_controls.Command6.visible = false;
    m_controls.Command7.visible = false;
    m_controls.L1.opaque = true;
    m_controls.L2.opaque = false;
}

void ReaderCore::L1_Click() {
    if (m_busy) return;
    m_controls.L1.opaque = true;
    m_controls.L2.opaque = false;
    m_controls.Lines.visible = true;
    m_controls.Text2.visible = false;
    m_controls.Pmain.visible = true;
    m_controls.Command1.visible = false;
    m_controls.Command2.visible = true;
    m_controls.Command3.visible = false;
    m_controls.Command4.visible = true;
    m_controls.Command5.visible = false;
    m_controls.Command6.visible = false;
    m_controls.Command7.visible = false;
}

void ReaderCore::L2_Click() {
    if (m_busy) return;
    m_controls.L1.opaque = false;
    m_controls.L2.opaque = true;
    m_controls.Lines.visible = false;
    m_controls.Text2.visible = true;
    m_controls.Pmain.visible = false;
    m_controls.Command1.visible = true;
    m_controls.Command2.visible = false;
    m_controls.Command3.visible = true;
    m_controls.Command4.visible = false;
    m_controls.Command5.visible = true;
    m_controls.Command6.visible = true;
    m_controls.Command7.visible = true;
}

void ReaderCore::startListing() {
    m_listingAborted = false;
    m_sincePump.start();
}

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
