// Reading a text into display lines ("読み込み") and listing it ("全文表示").
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

struct SplitCase {
    const char* name;
    QString text;  // as the text box holds it (LF)
    QStringList lines;
};

TEST(ReadText, cutsParagraphsIntoDisplayLines) {
    const QString a65(65, u'あ');
    const QString a29(29, u'a');
    const QString emoji = QStringLiteral("😀");
    const SplitCase cases[] = {
        {"65 characters", a65, {a65.left(30), a65.mid(30, 30), a65.mid(60), ""}},
        {"three breaks keep one blank paragraph", "ab\n\n\ncd", {"ab", "cd", ""}},
        {"four breaks fold to two", "ab\n\n\n\ncd", {"ab", "cd", ""}},
        {"one blank line", "ab\n\ncd", {"ab", "cd", ""}},
        {"triangle splits", "ab△cd", {"ab", "cd", ""}},
        {"triangle at a paragraph end", "ab△\ncd", {"ab", "", "cd", ""}},
        {"seven triangles end the text", "ab△△△△△△△cd\nef", {"ab", ""}},
        {"one character", "x", {"x", ""}},
        {"empty text", "", {"", ""}},
        {"leading spaces trimmed", "  ab \ncd", {"ab ", "cd", ""}},
        {"ideographic indentation kept", "　ab", {"　ab", ""}},
        {"surrogate pair stays whole", a29 + emoji + "b", {a29, emoji + "b", ""}},
        {"trailing break", "ab\n", {"ab", ""}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(readText(toCrLf(c.text)).displayLines, c.lines) << c.name;
}

TEST(ReadText, pageRowsCutAt30And60) {
    const QString line(75, u'x');
    EXPECT_EQ(pageRows(line.left(30)), QStringList{line.left(30)});
    EXPECT_EQ(pageRows(line.left(45)), (QStringList{line.left(30), line.mid(30, 15)}));
    EXPECT_EQ(pageRows(line.left(60)), (QStringList{line.left(30), line.mid(30, 30)}));
    EXPECT_EQ(pageRows(line), (QStringList{line.left(30), line.mid(30, 30), line.mid(60)}));
}

TEST(ReadText, lineBreakConversionsRoundTrip) {
    EXPECT_EQ(toCrLf(QStringLiteral("a\nb\r\nc\n")), QStringLiteral("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(toLf(QStringLiteral("a\r\nb\r\n")), QStringLiteral("a\nb\n"));
}

using Reading = ReaderTest;

TEST_F(Reading, setsTitleCountsAndMessages) {
    QStringList listings;
    reader.setPumpInterval(0);
    reader.setEventPump([&] { listings << reader.controls().Text2.text; });
    readIn(QStringLiteral("ひつじの旅\n\n朝の光。"));

    const ReaderState& s = reader.state();
    EXPECT_EQ(s.DisplayLines, (QStringList{"ひつじの旅", "朝の光。", ""}));
    EXPECT_EQ(s.LineCount, 2);
    EXPECT_EQ(reader.controls().Label1.text, "2");
    EXPECT_EQ(reader.controls().LTitle.text, "ひつじの旅");
    EXPECT_TRUE(reader.controls().LTitle.visible);
    EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。");
    EXPECT_EQ(reader.controls().Text2.text, "OK");
    ASSERT_FALSE(listings.isEmpty());
    EXPECT_EQ(listings.last(), "全行数：2行\r\nひつじの旅朝の光。");
    // Reading does not move the playback.
    EXPECT_EQ(s.CurrentLine, 0);
    EXPECT_TRUE(reader.controls().Command2.enabled);
}

TEST_F(Reading, readsANovelOfThirtyThousandLinesCompletely) {
    QString warningSeen;
    reader.setEventPump([&] { warningSeen = reader.controls().Text1.text; });
    reader.setPumpInterval(0);
    readIn(numberedLines(30000));

    const ReaderState& s = reader.state();
    ASSERT_EQ(s.LineCount, 30000);
    EXPECT_EQ(s.DisplayLines.at(29999), "行29999");
    EXPECT_EQ(s.DisplayLines.at(30000), "");
    EXPECT_EQ(reader.controls().Label1.text, "30000");
    EXPECT_EQ(warningSeen,
              "分割行が1000行を越えました。このままではエラーとなります！文章を減らした上で､再度読み込んで下さい｡");
    EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。");
}

TEST_F(Reading, warnsOnlyFromAThousandLines) {
    for (const auto& [lines, warns] : {std::pair{999, false}, std::pair{1000, true}}) {
        bool warned = false;
        reader.setPumpInterval(0);
        reader.setEventPump([&] { warned = warned || reader.controls().Text1.text.startsWith("分割行"); });
        // n lines of text plus the empty entry give LineCount n.
        readIn(numberedLines(lines));
        EXPECT_EQ(reader.state().LineCount, lines);
        EXPECT_EQ(warned, warns) << lines;
    }
}

TEST_F(Reading, aShortTextReplacesALongOne) {
    readIn(numberedLines(40, QStringLiteral("long")));
    readIn(QStringLiteral("short"));
    EXPECT_EQ(reader.state().DisplayLines, (QStringList{"short", ""}));
    EXPECT_EQ(reader.state().ChunkTable, QStringList{"short"});
}

TEST_F(Reading, pumpsEventsOnlyNowAndThen) {
    int pumps = 0;
    reader.setEventPump([&] { ++pumps; });
    readIn(numberedLines(30000));
    // The default pace is a few times per frame, not once per line.
    EXPECT_LT(pumps, 300);
}

TEST_F(Reading, ignoresEveryHandlerWhileListing) {
    designate(QStringLiteral("猫：neko.png"));
    readIn(QStringLiteral("old"));
    int dialogs = 0;
    reader.setFileDialog([&](const FileDialogRequest&) {
        ++dialogs;
        return QString();
    });
    bool checked = false;
    reader.setPumpInterval(0);
    reader.setEventPump([&] {
        if (checked) return;
        checked = true;
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
    });
    readIn(numberedLines(50));
    EXPECT_TRUE(checked);
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(reader.busy());
    EXPECT_EQ(reader.state().LineCount, 50);
}

TEST_F(Reading, anAbortedListingStillFinishesTheReading) {
    reader.setPumpInterval(0);
    reader.setEventPump([&] { reader.abortListing(); });
    readIn(numberedLines(100));
    EXPECT_EQ(reader.state().LineCount, 100);
    EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。");
    EXPECT_EQ(reader.controls().Label1.text, "100");
}

TEST_F(Reading, fullTextListsEveryLine) {
    reader.Command6_Click();
    EXPECT_EQ(reader.controls().Text2.text, "文章がありません。");

    readIn(QStringLiteral("ab\ncd"));
    reader.Command6_Click();
    EXPECT_EQ(reader.controls().Text2.text, "abcd");
    EXPECT_EQ(reader.state().LineCount, 2);
}

}  // namespace
}  // namespace velreader::testing
