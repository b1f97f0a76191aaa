// Reading a text into display lines ("読み込み") and listing it ("全文表示").
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

TEST(ReadText, cutsParagraphsIntoDisplayLines) {
    const QString a65(65, u'あ'), a29(29, u'a'), emoji = QStringLiteral("😀");
    const struct {
        const char* name;
        QString text;  // as the text box holds it (LF)
        QStringList lines;
    } cases[] = {
        {"65 characters", a65, {a65.left(30), a65.mid(30, 30), a65.mid(60), ""}},
        {"three breaks keep one blank paragraph", "ab\n\n\ncd", {"ab", "cd", ""}},
        {"four breaks fold to two", "ab\n\n\n\ncd", {"ab", "cd", ""}},
        {"triangle splits", "ab△cd", {"ab", "cd", ""}},
        {"triangle at a paragraph end", "ab△\ncd", {"ab", "", "cd", ""}},
        {"seven triangles end the text", "ab△△△△△△△cd\nef", {"ab", ""}},
        {"one character", "x", {"x", ""}},
        {"empty text", "", {"", ""}},
        {"leading spaces trimmed", "  ab \ncd", {"ab ", "cd", ""}},
        {"ideographic indentation kept", "　ab", {"　ab", ""}},
        {"surrogate pair stays whole", a29 + emoji + "b", {a29, emoji + "b", ""}},
        {"combining mark stays with its letter", a29 + "か\u3099b", {a29, "か\u3099b", ""}},
        {"mark at the very cut", QString(28, u'a') + "e\u0301\u0302x", {QString(28, u'a'), "e\u0301\u0302x", ""}},
        {"flag stays whole", a29 + "🇯🇵", {a29, "🇯🇵", ""}},
        {"a pair after a Malayalam digit stays whole", QString(28, u'a') + QChar(0x0D6F) + "𐀀", {QString(28, u'a') + QChar(0x0D6F), "𐀀", ""}},
        {"family emoji stays whole", QString(25, u'a') + "👨\u200D👩\u200D👧", {QString(25, u'a'), "👨\u200D👩\u200D👧", ""}},
        {"a cluster wider than a line is cut between code points",
         "e" + QString(40, QChar(0x0301)), {"e" + QString(29, QChar(0x0301)), QString(11, QChar(0x0301)), ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(readText(toCrLf(c.text)).displayLines, c.lines) << c.name;
}

// Blank paragraphs yield no lines either way, so the fold of line breaks is
// seen in the normalised text: a run of n breaks becomes ceil(n / 2).
TEST(ReadText, foldsEveryPairOfLineBreaksOnceFromTheLeft) {
    const struct {
        QString text;
        QString source;
    } cases[] = {
        {"ab\ncd", "ab\r\ncd\r\n"},
        {"ab\n\ncd", "ab\r\ncd\r\n"},
        {"ab\n\n\ncd", "ab\r\n\r\ncd\r\n"},
        {"ab\n\n\n\ncd", "ab\r\n\r\ncd\r\n"},
        {"ab\n\n\n\n\ncd", "ab\r\n\r\n\r\ncd\r\n"},
        {"ab\n", "ab\r\n"},  // with the appended break: two fold to one
        {"  ab", "ab\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(readText(toCrLf(c.text)).sourceText, c.source) << c.text.toStdString();
}

using Reading = ReaderTest;

TEST_F(Reading, setsTitleCountsListingAndMessages) {
    QString listing;
    reader.setPumpInterval(0);
    reader.setEventPump([&] { listing = reader.controls().Text2.text; });
    readIn(numberedLines(40, "long"));
    readIn(QStringLiteral("ひつじの旅\n\n朝の光。"));
    EXPECT_EQ(reader.state().DisplayLines, (QStringList{"ひつじの旅", "朝の光。", ""}));
    EXPECT_EQ(reader.state().LineCount, 2);
    EXPECT_EQ(listing, "全行数：2行\r\nひつじの旅朝の光。");
    const ReaderControls& c = reader.controls();
    EXPECT_EQ(c.Label1.text, "2");
    EXPECT_EQ(c.LTitle.text, "ひつじの旅");
    EXPECT_EQ(c.Text1.text, "読み込み完了。");
    EXPECT_EQ(c.Text2.text, "OK");
    reader.Command6_Click();
    EXPECT_EQ(reader.controls().Text2.text, "ひつじの旅朝の光。");
}

TEST_F(Reading, readsANovelOfThirtyThousandLinesCompletely) {
    QString warning;
    int pumps = 0;
    reader.setEventPump([&] {
        ++pumps;
        warning = reader.controls().Text1.text;
    });
    readIn(numberedLines(30000));
    ASSERT_EQ(reader.state().LineCount, 30000);
    EXPECT_EQ(reader.state().DisplayLines.at(29999), "行29999");
    EXPECT_EQ(reader.controls().Label1.text, "30000");
    EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。");
    // The window breathes a few times per frame, not after every line.
    EXPECT_LT(pumps, 300);
    reader.setPumpInterval(0);
    readIn(numberedLines(1000));
    EXPECT_EQ(warning, "分割行が1000行を越えました。このままではエラーとなります！文章を減らした上で､再度読み込んで下さい｡");
}

TEST_F(Reading, ignoresEveryHandlerWhileListing) {
    designate(QStringLiteral("猫：neko.png"));
    int dialogs = 0, checks = 0;
    reader.setFileDialog([&](const FileDialogRequest&) { return ++dialogs, QString(); });
    reader.setPumpInterval(0);
    reader.setEventPump([&] {
        if (checks++) return;
        EXPECT_TRUE(reader.busy());
        const ReaderState state = reader.state();
        const ReaderControls controls = reader.controls();
        const PageSurface page = reader.page();
        for (auto handler : {&ReaderCore::Command1_Click, &ReaderCore::Command2_Click, &ReaderCore::Command3_Click,
                             &ReaderCore::Command4_Click, &ReaderCore::Command5_Click, &ReaderCore::Command6_Click,
                             &ReaderCore::Command7_Click, &ReaderCore::L1_Click, &ReaderCore::L2_Click,
                             &ReaderCore::AllSave_Click, &ReaderCore::AllLoad_Click, &ReaderCore::Form_Load})
            (reader.*handler)();
        EXPECT_EQ(reader.state(), state);
        EXPECT_EQ(reader.controls(), controls);
        EXPECT_EQ(reader.page(), page);
        reader.abortListing();  // as closing the window does
    });
    readIn(numberedLines(50));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(reader.busy());
    EXPECT_EQ(reader.state().LineCount, 50);
    EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。");
}

}  // namespace
}  // namespace velreader::testing
