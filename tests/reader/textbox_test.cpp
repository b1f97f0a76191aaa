// The reader's text boxes with texts of any size.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QTextBlock>
#include <QTest>
#include <gtest/gtest.h>

#include "reader/ui/textbox.h"

namespace velreader {
namespace {

QString longParagraph(qsizetype length) {
    QString text;
    text.reserve(length);
    const QString pool = QStringLiteral("ひつじの旅と朝の光、森の木と海の船。");
    for (qsizetype i = 0; i < length; ++i) text += pool[i % pool.size()];
    return text;
}

TEST(TextBox, aLargeTextFillsInSlicesAndCopiesExactlyWithoutItsPieces) {
    TextBox box;
    box.resize(316, 200);
    box.show();
    // A header line, then one paragraph of 3,000,000 characters with a
    // surrogate pair and a combining mark where the pieces would be cut.
    QString paragraph = longParagraph(3000000);
    paragraph.replace(999, 2, QStringLiteral("😀"));
    paragraph.insert(2000, QChar(0x3099));
    const QString text = QStringLiteral("全行数：1行\r\n") + paragraph;
    box.setContent(text);
    EXPECT_TRUE(box.filling()) << "large texts go in between events";
    EXPECT_TRUE(box.isReadOnly()) << "nobody types into a half-filled box";
    QElapsedTimer clock;
    clock.start();
    while (box.filling() && clock.elapsed() < 10000) QApplication::processEvents();
    EXPECT_FALSE(box.filling());
    EXPECT_FALSE(box.isReadOnly());
    EXPECT_GT(box.document()->blockCount(), 2900) << "the paragraph is held in pieces";
    for (QTextBlock b = box.document()->firstBlock(); b.isValid(); b = b.next()) {
        ASSERT_LE(b.length() - 1, TextBox::SoftBlockLength);
        ASSERT_FALSE(b.text().startsWith(QChar(0xDE00)) || b.text().startsWith(QChar(0x3099))) << "a piece starts mid-character";
    }
    EXPECT_EQ(box.currentText(), text);
    box.selectAll();
    box.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("全行数：1行\n") + paragraph);
}

TEST(TextBox, growsByItsNewPartAndKnowsWhenTheUserTyped) {
    TextBox box;
    box.setContent(QStringLiteral("ab\r\ncd"));
    box.appendContent(u"ef\r\n");
    box.appendContent(u"gh");
    EXPECT_EQ(box.toPlainText(), "ab\ncdef\ngh");
    EXPECT_EQ(box.currentText(), "ab\r\ncdef\r\ngh");
    EXPECT_FALSE(box.editedByUser());
    box.show();
    box.setFocus();
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, "!");
    EXPECT_TRUE(box.editedByUser());
    EXPECT_EQ(box.currentText(), "ab\r\ncdef\r\ngh!");
    box.setContent(QStringLiteral("new"));
    EXPECT_FALSE(box.editedByUser());
    EXPECT_EQ(box.toPlainText(), "new");
}

}  // namespace
}  // namespace velreader
