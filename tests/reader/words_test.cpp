// Designations ("単語指定", "単語表示", "単語消す").
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

using Words = ReaderTest;

TEST_F(Words, storesWordAndEntrySplitAtTheFirstColon) {
    writePicture("asa.png", Qt::blue);
    designate(QStringLiteral("朝：asa.png＞青"));
    EXPECT_EQ(reader.controls().Text2.text, "指定語＞朝\r\n絵ファイルの名前＞asa.png＞青(0)");
    EXPECT_EQ(reader.controls().Text1.text, "");
    const char* cases[][3] = {{"a：b：c", "a", "b：c"}, {"：asa.png", "", "asa.png"}, {"怒：＞赤", "怒", "＞赤"}};
    for (const auto& c : cases) designate(QString::fromUtf8(c[0]));
    const ReaderState& s = reader.state();
    EXPECT_EQ(s.WordCount, 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.WordTable[i + 1], QString::fromUtf8(cases[i][1]));
        EXPECT_EQ(s.PictureTable[i + 1], QString::fromUtf8(cases[i][2]));
    }
    // Refused without a message: no "：", or a colour marker without a colour.
    for (const char* text : {"猫:ascii colon", "：＞", "猫：asa.png＞"}) {
        designate(QString::fromUtf8(text));
        EXPECT_EQ(reader.state().WordCount, 4) << text;
        EXPECT_EQ(reader.controls().Text1.text, QString::fromUtf8(text));
    }
}

TEST_F(Words, holdsFiftyDesignationsEvenAfterAnErase) {
    for (int i = 0; i < 50; ++i) designate(QStringLiteral("w%1：p.png").arg(i));
    designate(QStringLiteral("extra：p.png"));
    EXPECT_EQ(reader.controls().Text1.text, "これ以上保存できません");
    EXPECT_EQ(reader.state().WordTable[50], "");
    reader.Command7_Click();
    EXPECT_EQ(reader.controls().Text2.text, "全て消しました。");
    EXPECT_EQ(reader.state().WordCount, 50);
    for (const QString& word : reader.state().WordTable) EXPECT_TRUE(word.isEmpty());
    designate(QStringLiteral("again：p.png"));
    EXPECT_EQ(reader.controls().Text1.text, "これ以上保存できません");
}

TEST_F(Words, listsEverySlotUpToWordCount) {
    designate(QStringLiteral("朝：asa.png"));
    designate(QStringLiteral("怒：＞赤"));
    reader.Command5_Click();
    EXPECT_EQ(reader.controls().Text2.text, "\r\n指定語＞朝\r\n絵＞asa.png\r\n指定語＞怒\r\n絵＞＞赤\r\n指定語＞\r\n絵＞");
}

}  // namespace
}  // namespace velreader::testing
