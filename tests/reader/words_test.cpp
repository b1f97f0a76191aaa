// Designations ("単語指定", "単語表示", "単語消す").
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

using Words = ReaderTest;

TEST_F(Words, storesAWordAndItsEntry) {
    designate(QStringLiteral("朝：asa.png＞青"));
    const ReaderState& s = reader.state();
    EXPECT_EQ(s.WordTable[0], "朝");
    EXPECT_EQ(s.PictureTable[0], "asa.png＞青");
    EXPECT_EQ(s.WordCount, 1);
    EXPECT_EQ(reader.controls().Text2.text, "指定語＞朝\r\n絵ファイルの名前＞asa.png＞青(0)");
    EXPECT_EQ(reader.controls().Text1.text, "");
}

TEST_F(Words, splitsAtTheFirstColonOnly) {
    const struct {
        const char* text;
        const char* word;
        const char* entry;
    } cases[] = {
        {"a：b：c", "a", "b：c"},
        {"：asa.png", "", "asa.png"},
        {"猫：", "猫", ""},
        {"怒：＞赤", "怒", "＞赤"},
    };
    for (const auto& c : cases) {
        designate(QString::fromUtf8(c.text));
        const int slot = reader.state().WordCount - 1;
        EXPECT_EQ(reader.state().WordTable[slot], QString::fromUtf8(c.word)) << c.text;
        EXPECT_EQ(reader.state().PictureTable[slot], QString::fromUtf8(c.entry)) << c.text;
    }
}

TEST_F(Words, refusesWithoutAMessage) {
    for (const char* text : {"no colon", "猫:ascii colon", "：＞", "猫：asa.png＞", ""}) {
        reader.controls().Text2.text = "before";
        designate(QString::fromUtf8(text));
        EXPECT_EQ(reader.state().WordCount, 0) << text;
        EXPECT_EQ(reader.controls().Text1.text, QString::fromUtf8(text));
        EXPECT_EQ(reader.controls().Text2.text, "before");
    }
}

TEST_F(Words, holdsFiftyDesignationsEvenAfterAnErase) {
    for (int i = 0; i < 50; ++i) designate(QStringLiteral("w%1：p.png").arg(i));
    ASSERT_EQ(reader.state().WordCount, 50);
    EXPECT_EQ(reader.state().WordTable[49], "w49");
    designate(QStringLiteral("extra：p.png"));
    EXPECT_EQ(reader.controls().Text1.text, "これ以上保存できません");
    EXPECT_EQ(reader.state().WordTable[50], "");

    reader.Command7_Click();
    EXPECT_EQ(reader.controls().Text2.text, "全て消しました。");
    EXPECT_EQ(reader.state().WordCount, 50);
    for (int i = 0; i < WordSlots; ++i) EXPECT_TRUE(reader.state().WordTable[i].isEmpty());
    designate(QStringLiteral("again：p.png"));
    EXPECT_EQ(reader.controls().Text1.text, "これ以上保存できません");
}

TEST_F(Words, erasedSlotsAreNotReusedBelowWordCount) {
    designate(QStringLiteral("a：1.png"));
    designate(QStringLiteral("b：2.png"));
    reader.Command7_Click();
    designate(QStringLiteral("c：3.png"));
    EXPECT_EQ(reader.state().WordTable[0], "");
    EXPECT_EQ(reader.state().WordTable[2], "c");
}

TEST_F(Words, listsEverySlotUpToWordCount) {
    reader.Command5_Click();
    EXPECT_EQ(reader.controls().Text2.text, "\r\n指定語＞\r\n絵＞");
    designate(QStringLiteral("朝：asa.png"));
    designate(QStringLiteral("怒：＞赤"));
    reader.Command5_Click();
    EXPECT_EQ(reader.controls().Text2.text,
              "\r\n指定語＞朝\r\n絵＞asa.png\r\n指定語＞怒\r\n絵＞＞赤\r\n指定語＞\r\n絵＞");
}

}  // namespace
}  // namespace velreader::testing
