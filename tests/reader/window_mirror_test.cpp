// The window shows what the handlers changed and nothing else: what the user
// typed survives a zoom, and an unchanged listing is not touched again.
#include <QPushButton>
#include <QTextDocument>
#include <QTest>
#include <gtest/gtest.h>

#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

class Mirror : public ReaderTest {
protected:
    Mirror() : window(appFolder()) {
        window.show();
        window.activateWindow();
    }
    VReader3 window;
};

TEST_F(Mirror, whatTheUserTypedSurvivesAZoomAndHandlersThatKeepIt) {
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    window.text1()->setFocus();
    QTest::keyClicks(window.text1(), "half typed");
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(window.text1()->toPlainText(), "half typed") << "a zoom never replaces typed text";
    const int caret = window.text1()->textCursor().position();
    QTest::mouseClick(window.tab(1), Qt::LeftButton);
    EXPECT_EQ(window.text1()->toPlainText(), "half typed");
    EXPECT_EQ(window.text1()->textCursor().position(), caret) << "a handler that kept the text keeps the caret";
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    EXPECT_EQ(window.text1()->toPlainText(), "読み込み完了。") << "a handler's own text replaces it";
    EXPECT_EQ(window.core().state().DisplayLines.first(), "half typed");
}

TEST_F(Mirror, aListingGrowsByItsNewPartsAndAnUnchangedOneIsLeftAlone) {
    window.core().setPumpInterval(0);
    window.text1()->setPlainText(numberedLines(600));
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    QTest::mouseClick(window.command(6), Qt::LeftButton);
    window.text2()->finishFilling();
    const QString listing = window.core().controls().Text2.text;
    EXPECT_EQ(window.text2()->content(), listing);
    // A second full listing of the same text starts from an empty box.
    QTest::mouseClick(window.command(6), Qt::LeftButton);
    window.text2()->finishFilling();
    EXPECT_EQ(window.text2()->content(), listing);
    // Playing leaves the listing box alone: the same document, untouched.
    QTest::mouseClick(window.tab(1), Qt::LeftButton);
    int changes = 0;
    QObject::connect(window.text2()->document(), &QTextDocument::contentsChange, [&] { ++changes; });
    for (int i = 0; i < 20; ++i) QTest::mouseClick(window.command(2), Qt::LeftButton);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(window.text2()->content(), listing);
}

}  // namespace
}  // namespace velreader::testing
