// The listing boxes wrap and read a long paragraph as one, though they hold
// it in pieces: on screen, for assistive technology and for the keys.
#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"

namespace velreader {
namespace {

QFont listingFont(qreal points = 9) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSizeF(points);
    return font;
}

// Random prose: kana, kanji, full-width punctuation that may not start or
// end a line, Latin words with spaces, a word longer than a line, digits,
// and characters outside the basic plane.
QString randomText(QRandomGenerator& random, int length, int paragraphs) {
    static const QStringList pieces = {
        "あ", "い", "う", "ね", "の", "羊", "毛", "丘", "森", "海", "、", "。", "「", "」", "！", "？", "ー", "ッ",
        " ", "wool ", "sheep ", "meadow, ", "Woolmere ", "12345", "𠮷", "😀", "é", "\t",
        "Supercalifragilisticexpialidociouslyandthensomemoreletterswithoutanyspaceatall"};
    QString text;
    while (text.size() < length) {
        text += pieces[random.bounded(int(pieces.size()))];
        if (paragraphs > 1 && random.bounded(length / paragraphs + 1) == 0) text += QStringLiteral("\r\n");
    }
    return text;
}

// Where each line on screen starts, as text offsets.
std::vector<int> screenLineStarts(const TextBox& box) {
    std::vector<int> starts;
    for (QTextBlock block = box.document()->firstBlock(); block.isValid(); block = block.next()) {
        box.document()->documentLayout()->blockBoundingRect(block);
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            const int offset = box.textOffset(block.position() + block.layout()->lineAt(i).textStart());
            // The first line of a later piece starts where its paragraph's line does.
            if (starts.empty() || starts.back() != offset) starts.push_back(offset);
        }
    }
    return starts;
}

std::vector<int> screenLineStarts(const QPlainTextEdit& box) {
    std::vector<int> starts;
    for (QTextBlock block = box.document()->firstBlock(); block.isValid(); block = block.next()) {
        box.document()->documentLayout()->blockBoundingRect(block);
        for (int i = 0; i < block.layout()->lineCount(); ++i) starts.push_back(block.position() + block.layout()->lineAt(i).textStart());
    }
    return starts;
}

// A plain Qt box with the same text in whole paragraphs, as the reference.
struct Reference {
    explicit Reference(const TextBox& like, const QString& text) {
        box.setFont(like.font());
        box.setFrameShape(like.frameShape());
        box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box.resize(like.size());
        box.setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        box.show();
    }
    QPlainTextEdit box;
};

void expectPiecesAtMost(const TextBox& box, int length) {
    for (QTextBlock b = box.document()->firstBlock(); b.isValid(); b = b.next())
        ASSERT_LE(b.length() - 1, length) << "block " << b.blockNumber();
}

class WrappedBox : public ::testing::Test {
protected:
    WrappedBox() {
        box.setFont(listingFont());
        box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box.resize(316, 200);
        box.show();
    }
    TextBox box;
};

TEST_F(WrappedBox, piecesOfLongParagraphsWrapLikeTheUnbrokenParagraphAtEveryWidthAndFont) {
    QRandomGenerator random(15);
    for (int round = 0; round < 4; ++round) {
        // Long paragraphs that go in at once and ones that fill in slices.
        const QString text = randomText(random, round % 2 ? 45000 : 9000, round < 2 ? 1 : 6);
        box.resize(316, 200);
        box.setFont(listingFont());
        box.setContent(text);
        box.settle();
        EXPECT_GT(box.document()->blockCount(), 8) << "held in pieces";
        expectPiecesAtMost(box, TextBox::SoftBlockLength);
        EXPECT_EQ(box.text(0, box.textLength()), QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        {
            Reference reference(box, text);
            EXPECT_EQ(screenLineStarts(box), screenLineStarts(reference.box)) << "round " << round;
        }
        // Wider, and a zoom's larger font: the pieces move with the wrap.
        box.resize(400 + 37 * round, 200);
        box.settle();
        {
            Reference reference(box, text);
            EXPECT_EQ(screenLineStarts(box), screenLineStarts(reference.box)) << "round " << round << " wider";
        }
        box.setFont(listingFont(18));
        box.resize(632, 400);
        box.settle();
        {
            Reference reference(box, text);
            EXPECT_EQ(screenLineStarts(box), screenLineStarts(reference.box)) << "round " << round << " zoomed";
        }
        expectPiecesAtMost(box, TextBox::SoftBlockLength);
        EXPECT_EQ(box.currentText(), text);
    }
}

// Between events only what shows is settled at first; a text that grows at
// its end keeps its settled pieces and settles the new ones.
TEST_F(WrappedBox, aGrowingListingSettlesBetweenEventsFromTheTop) {
    QRandomGenerator random(16);
    const QString text = randomText(random, 60000, 1);
    box.setContent(text.left(3000));
    for (qsizetype at = 3000; at < text.size(); at += 1777) box.appendContent(QStringView(text).mid(at, 1777));
    while (!box.wrapSettled()) QApplication::processEvents();
    // The top is settled: the first screen's lines are those of the paragraph.
    Reference reference(box, text);
    const std::vector<int> screen = screenLineStarts(box);
    const std::vector<int> expected = screenLineStarts(reference.box);
    ASSERT_GT(screen.size(), 40u);
    EXPECT_TRUE(std::equal(screen.begin(), screen.begin() + 40, expected.begin()));
    // Scrolling to the end settles everything above it. The last line may
    // still differ: a listing's end may grow, so its last piece is final
    // only once the whole text is in (settle() below).
    box.verticalScrollBar()->setValue(box.verticalScrollBar()->maximum());
    while (!box.wrapSettled()) QApplication::processEvents();
    const std::vector<int> atEnd = screenLineStarts(box);
    ASSERT_GE(atEnd.size() + 1, expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end() - 1, atEnd.begin()));
    box.settle();
    EXPECT_EQ(screenLineStarts(box), expected);
    EXPECT_EQ(box.currentText(), text);
}

// Short paragraphs share blocks; on screen, for assistive technology, for
// copying and after typing they are the paragraphs of the text as given,
// whether the text went in at once, in slices or grew at its end.
TEST_F(WrappedBox, shortParagraphsShareBlocksYetReadAndWrapAsTheirOwn) {
    QRandomGenerator random(18);
    for (int round = 0; round < 3; ++round) {
        QString text;
        int paragraphs = 0;
        int shortOnes = 0;
        while (text.size() < (round == 1 ? 40000 : 12000)) {
            const int kind = random.bounded(20);
            shortOnes += kind != 1;
            // Empty lines, short lines, now and then one longer than a piece.
            text += kind == 0 ? QString() : randomText(random, kind == 1 ? 1500 + random.bounded(2000) : random.bounded(90), 1);
            text += QStringLiteral("\r\n");
            ++paragraphs;
        }
        if (round == 2) text += QStringLiteral("最後の段落は改行で終わらない");
        const QString read = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (round == 2) {
            box.setContent(text.left(700));
            for (qsizetype at = 700; at < text.size(); at += 3001) box.appendContent(QStringView(text).mid(at, 3001));
        } else {
            box.setContent(text);
        }
        box.settle();
        EXPECT_LE(box.document()->blockCount(), paragraphs - shortOnes / 2) << "round " << round;
        expectPiecesAtMost(box, TextBox::SoftBlockLength);
        EXPECT_EQ(box.text(0, box.textLength()), read);
        Reference reference(box, text);
        EXPECT_EQ(screenLineStarts(box), screenLineStarts(reference.box)) << "round " << round;
        QAccessibleTextInterface* a11y = QAccessible::queryAccessibleInterface(&box)->textInterface();
        QAccessibleTextInterface* plain = QAccessible::queryAccessibleInterface(&reference.box)->textInterface();
        for (int n = 0; n < 150; ++n) {
            const int offset = random.bounded(int(read.size()));
            for (const auto type : {QAccessible::LineBoundary, QAccessible::ParagraphBoundary}) {
                int s1, e1, s2, e2;
                EXPECT_EQ(a11y->textAtOffset(offset, type, &s1, &e1), plain->textAtOffset(offset, type, &s2, &e2))
                    << "at " << offset << " type " << type;
                EXPECT_EQ(std::pair(s1, e1), std::pair(s2, e2)) << "at " << offset << " type " << type;
            }
        }
        // A triple click takes the paragraph clicked, as in Qt's own box.
        const int clicked = int(read.indexOf(u'\n', random.bounded(int(read.size()) / 2))) + 1;
        for (QPlainTextEdit* each : {static_cast<QPlainTextEdit*>(&box), &reference.box}) {
            const int position = each == &box ? box.documentPosition(clicked) : clicked;
            QTextCursor at(each->document());
            at.setPosition(position);
            each->setTextCursor(at);
            each->ensureCursorVisible();
            const QPoint point = each->cursorRect().center() + QPoint(1, 0);
            QTest::mouseDClick(each->viewport(), Qt::LeftButton, {}, point);
            QTest::mousePress(each->viewport(), Qt::LeftButton, {}, point);
            QTest::mouseRelease(each->viewport(), Qt::LeftButton, {}, point);
        }
        EXPECT_EQ(box.textOffset(box.textCursor().selectionStart()), reference.box.textCursor().selectionStart());
        EXPECT_EQ(box.textOffset(box.textCursor().selectionEnd()), reference.box.textCursor().selectionEnd());
        // A selection over shared blocks copies with its line breaks.
        const int from = random.bounded(int(read.size()) / 2);
        a11y->setSelection(0, from, from + 2500);
        box.copy();
        EXPECT_EQ(QApplication::clipboard()->text(), read.mid(from, 2500));
        // Typing inside a shared block, and joining two paragraphs of one.
        a11y->setSelection(0, 0, 0);
        const int join = int(read.indexOf(u'\n', from));
        auto* editable = QAccessible::queryAccessibleInterface(&box)->editableTextInterface();
        editable->deleteText(join, join + 1);
        editable->insertText(from, QStringLiteral("羊"));
        QString edited = read;
        edited.remove(join, 1);
        edited.insert(from, QStringLiteral("羊"));
        EXPECT_EQ(box.currentText(), QString(edited).replace(u'\n', QStringLiteral("\r\n"))) << "round " << round;
    }
}

// What assistive technology reads, selects and points at is the text as
// given, wherever the pieces meet.
TEST_F(WrappedBox, assistiveTechnologyReadsTheTextAsGiven) {
    QRandomGenerator random(17);
    const QString paragraph = randomText(random, 7000, 1);
    const QString text = QStringLiteral("見出し\r\n") + paragraph + QStringLiteral("\r\n最後の段落");
    const QString read = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setContent(text);
    box.settle();
    Reference reference(box, text);
    QAccessibleInterface* boxInterface = QAccessible::queryAccessibleInterface(&box);
    ASSERT_TRUE(boxInterface);
    QAccessibleTextInterface* a11y = boxInterface->textInterface();
    QAccessibleTextInterface* plain = QAccessible::queryAccessibleInterface(&reference.box)->textInterface();
    ASSERT_TRUE(a11y && plain);
    EXPECT_EQ(a11y->characterCount(), read.size());
    EXPECT_EQ(a11y->text(0, a11y->characterCount()), read);
    EXPECT_EQ(boxInterface->text(QAccessible::Value), read);

    // Around every meeting of two pieces: words, lines, paragraphs as Qt's
    // own box reads them from the unbroken text, and the same places.
    int checked = 0;
    for (QTextBlock block = box.document()->firstBlock().next(); block.isValid(); block = block.next()) {
        const int meeting = box.textOffset(block.position());
        if (meeting != box.textOffset(block.position() - 1)) continue;  // a paragraph break
        ++checked;
        for (int offset = meeting - 2; offset <= meeting + 1; ++offset) {
            for (const auto type : {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
                                    QAccessible::LineBoundary, QAccessible::ParagraphBoundary}) {
                int s1, e1, s2, e2;
                EXPECT_EQ(a11y->textAtOffset(offset, type, &s1, &e1), plain->textAtOffset(offset, type, &s2, &e2))
                    << "at " << offset << " type " << type;
                EXPECT_EQ(std::pair(s1, e1), std::pair(s2, e2)) << "at " << offset << " type " << type;
                EXPECT_EQ(a11y->textBeforeOffset(offset, type, &s1, &e1), plain->textBeforeOffset(offset, type, &s2, &e2))
                    << "before " << offset << " type " << type;
                // Qt's box answers a paragraph's own text for the one after it.
                if (type != QAccessible::ParagraphBoundary) {
                    EXPECT_EQ(a11y->textAfterOffset(offset, type, &s1, &e1), plain->textAfterOffset(offset, type, &s2, &e2))
                        << "after " << offset << " type " << type;
                }
            }
            // The same place on screen as the unbroken paragraph's character
            // (heights count only from the first line in view).
            const QRect rect = a11y->characterRect(offset);
            QTextCursor at(reference.box.document());
            at.setPosition(offset);
            const QPoint expected = reference.box.viewport()->mapToGlobal(reference.box.cursorRect(at).topLeft());
            EXPECT_EQ(rect.left() - box.viewport()->mapToGlobal(QPoint()).x(),
                      expected.x() - reference.box.viewport()->mapToGlobal(QPoint()).x())
                << "at " << offset;
            if (rect.top() - box.viewport()->mapToGlobal(QPoint()).y() < box.viewport()->height()) {
                EXPECT_EQ(rect.top() - box.viewport()->mapToGlobal(QPoint()).y(),
                          expected.y() - reference.box.viewport()->mapToGlobal(QPoint()).y());
            }
            // Scrolled into view, the character's place leads back to it.
            a11y->scrollToSubstring(offset, offset + 1);
            const QRect shown = a11y->characterRect(offset);
            EXPECT_TRUE(box.viewport()->rect().contains(QRect(box.viewport()->mapFromGlobal(shown.topLeft()), shown.size())));
            if (shown.width() >= 4 && a11y->text(offset, offset + 1) != "\t") {  // a character of its own
                EXPECT_EQ(a11y->offsetAtPoint(QPoint(shown.left() + shown.width() / 4, shown.center().y())), offset)
                    << "at " << offset;
            }
            box.verticalScrollBar()->setValue(0);
        }
    }
    EXPECT_GT(checked, 5);
    int s1, e1;
    EXPECT_EQ(a11y->textAfterOffset(3000, QAccessible::ParagraphBoundary, &s1, &e1), "最後の段落");
    EXPECT_EQ(a11y->textBeforeOffset(3000, QAccessible::ParagraphBoundary, &s1, &e1), "見出し");
    EXPECT_EQ(a11y->textAtOffset(1, QAccessible::ParagraphBoundary, &s1, &e1), "見出し");

    // Selection and caret in text offsets; copying gives the same text.
    a11y->setSelection(0, 995, 2210);
    int start, end;
    a11y->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(995, 2210));
    EXPECT_EQ(a11y->selectionCount(), 1);
    box.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), read.mid(995, 2210 - 995));
    a11y->removeSelection(0);
    EXPECT_EQ(a11y->selectionCount(), 0);
    a11y->setCursorPosition(4001);
    EXPECT_EQ(a11y->cursorPosition(), 4001);
    EXPECT_EQ(box.textOffset(box.textCursor().position()), 4001);

    // Editing through assistive technology changes the text as given.
    auto* editable = boxInterface->editableTextInterface();
    ASSERT_TRUE(editable);
    editable->replaceText(1990, 2010, QStringLiteral("X"));
    editable->insertText(5, QStringLiteral("\n改行"));
    QString edited = read;
    edited.replace(1990, 20, QStringLiteral("X"));
    edited.insert(5, QStringLiteral("\n改行"));
    EXPECT_EQ(a11y->text(0, a11y->characterCount()), edited);
    EXPECT_EQ(box.currentText(), QString(edited).replace(u'\n', QStringLiteral("\r\n")));
}

// Where two pieces meet there is one place for the caret, as inside any
// wrapped paragraph: Left, Right, Backspace and Delete each take one
// character, and a break the user types is a break.
TEST_F(WrappedBox, keysTreatTheMeetingOfTwoPiecesAsOnePlace) {
    const QString paragraph = QString(3000, u'羊');
    QString text = paragraph;
    for (int i = 0; i < text.size(); ++i) text[i] = QChar(u'ぁ' + i % 80);
    box.setContent(text);
    box.settle();
    const QTextBlock second = box.document()->firstBlock().next();
    ASSERT_TRUE(second.isValid());
    const int meeting = box.textOffset(second.position());
    box.setFocus();
    const auto caret = [&] { return box.textOffset(box.textCursor().position()); };
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(box.documentPosition(meeting - 1));
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Right);
    EXPECT_EQ(caret(), meeting);
    QTest::keyClick(&box, Qt::Key_Right);
    EXPECT_EQ(caret(), meeting + 1);
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Left);
    EXPECT_EQ(caret(), meeting - 1);
    QTest::keyClick(&box, Qt::Key_Right);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Delete);
    QString expected = text;
    expected.remove(meeting - 1, 2);
    EXPECT_EQ(box.currentText(), expected);
    QTest::keyClick(&box, Qt::Key_Return);
    expected.insert(meeting - 1, QStringLiteral("\r\n"));
    EXPECT_EQ(box.currentText(), expected);
    box.undo();
    box.undo();
    EXPECT_EQ(box.currentText(), text.left(meeting - 1) + text.mid(meeting)) << "the user's own steps undo";
}

}  // namespace

namespace testing {
namespace {

// The listing after "全文表示" of a 7,200-character text reads as exactly
// that text.
TEST_F(ReaderTest, theFullListingReadsAsExactlyTheTextForAssistiveTechnology) {
    VReader3 window(appFolder());
    window.show();
    QString text;
    for (int i = 0; text.size() < 7200; ++i) text += QStringLiteral("ひつじの旅と朝の光、森の木と海の船。").at(i % 18);
    window.text1()->setPlainText(text);
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    QTest::mouseClick(window.command(6), Qt::LeftButton);
    window.text2()->settle();
    QAccessibleTextInterface* a11y = QAccessible::queryAccessibleInterface(window.text2())->textInterface();
    ASSERT_TRUE(a11y);
    EXPECT_EQ(a11y->characterCount(), 7200);
    EXPECT_EQ(a11y->text(0, 7200), text);
    EXPECT_GE(window.text2()->document()->blockCount(), 8) << "still in pieces";
    // A zoom keeps the listing and wraps it anew.
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    window.text2()->settle();
    EXPECT_EQ(a11y->text(0, a11y->characterCount()), text);
}

}  // namespace
}  // namespace testing
}  // namespace velreader
