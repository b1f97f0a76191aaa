// Stepping back and jumping reach "the page after N steps" exactly: the same
// page, state and controls as a rewind followed by N play steps.
#include <QPainter>
#include <QRandomGenerator>

#include "reader/rules/word_matcher.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

// Everything "the page after N steps" is made of.
struct Snapshot {
    ReaderState state;
    ReaderControls controls;
    QImage page;
    QList<PageDrawing> drawings;
    QImage picture;
    QString printed;
    int x, y;
    QRgb colour;

    explicit Snapshot(const ReaderCore& r)
        : state(r.state()), controls(r.controls()), page(r.page().image()), drawings(r.page().drawings()),
          picture(r.pagePicture()), printed(r.printedLine()), x(r.page().x()), y(r.page().y()),
          colour(r.page().foreColor().rgb()) {}
};

void expectSame(const Snapshot& a, const Snapshot& b, const char* how, int step) {
    SCOPED_TRACE(::testing::Message() << how << " to step " << step);
    EXPECT_EQ(a.state.CurrentLine, b.state.CurrentLine);
    EXPECT_EQ(a.state.PageRowIndex, b.state.PageRowIndex);
    EXPECT_EQ(a.state.PageLineCount, b.state.PageLineCount);
    for (int i = 0; i < PageRowSlots; ++i) EXPECT_EQ(a.state.PageRows[i], b.state.PageRows[i]) << "row slot " << i;
    EXPECT_TRUE(a.state == b.state);
    EXPECT_TRUE(a.controls == b.controls);
    EXPECT_TRUE(a.page == b.page) << "the page's pixels";
    EXPECT_TRUE(a.drawings == b.drawings) << "what the page shows when zoomed";
    EXPECT_TRUE(a.picture == b.picture);
    EXPECT_EQ(a.printed, b.printed);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.colour, b.colour);
}

class Navigation : public ReaderTest {
protected:
    // A second reader on the same folders, for the reference path.
    ReaderCore reference{appFolder()};

    Navigation() { reference.Form_Load(); }

    void both(const std::function<void(ReaderCore&)>& f) {
        f(reader);
        f(reference);
    }
    void setText(const QStringList& lines) {
        both([&](ReaderCore& r) {
            r.state().DisplayLines = lines;
            r.state().LineCount = int(lines.size() - 1);
        });
    }
    void setWord(int slot, const QString& word, const QString& entry) {
        both([&](ReaderCore& r) {
            r.state().WordTable[slot] = word;
            r.state().PictureTable[slot] = entry;
        });
    }
    // The reference: a rewind and `step` play steps.
    Snapshot afterSteps(int step) {
        reference.Command4_Click();
        for (int i = 0; i < step; ++i) reference.Command2_Click();
        return Snapshot(reference);
    }
    void writeTranslucentPicture(const QString& name) {
        QImage image(40, 20, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter(&image).fillRect(0, 0, 20, 20, QColor(0, 0, 255, 120));
        ASSERT_TRUE(image.save(picturePath(name)));
    }
};

// Random books: lines of 0 to 75 characters (one to three rows, so pages of
// both kinds end), words that change pictures (opaque, translucent, missing)
// and colours (known and unknown words), several words in one line.
TEST_F(Navigation, everyWayToAStepGivesThePageThatPlayingThereGives) {
    writePicture("a.png", Qt::darkGreen);
    writePicture("b.jpg", Qt::yellow, "JPEG");
    writeTranslucentPicture("t.png");
    const QStringList entries = {"a.png", "b.jpg＞青", "t.png＞赤", "＞緑", "missing.png＞白", "＞紫色", "a.png＞オ",
                                 "t.png", "＞黒"};
    const QString alphabet = QStringLiteral("あいうえお羊毛丘森海夜 xyz");
    for (int book = 0; book < 6; ++book) {
        QRandomGenerator random(100 + book);
        QStringList lines;
        const int count = random.bounded(1, 90);
        for (int i = 0; i < count; ++i) {
            const int length = random.bounded(100) < 20 ? random.bounded(31, 76) : random.bounded(0, 31);
            QString line;
            for (int k = 0; k < length; ++k) line += alphabet[random.bounded(int(alphabet.size()))];
            lines << line;
        }
        lines << QString();
        setText(lines);
        for (int slot = 0; slot < WordSlots; ++slot) setWord(slot, {}, {});
        for (int w = 0; w < random.bounded(1, 9); ++w) {
            QString word;
            for (int k = 0; k < random.bounded(1, 3); ++k) word += alphabet[random.bounded(int(alphabet.size()))];
            setWord(random.bounded(WordSlots), word, entries[random.bounded(int(entries.size()))]);
        }
        both([](ReaderCore& r) { r.Command4_Click(); });
        const int total = reader.totalSteps();
        ASSERT_EQ(total, count + 1);

        for (int trial = 0; trial < 8; ++trial) {
            // Each move starts from the same state in both readers, since a
            // rewind keeps what the page row slots held.
            const int step = random.bounded(total + 1);
            const int ahead = std::min(step + 1, total);
            both([&](ReaderCore& r) {
                r.Command4_Click();
                for (int i = 0; i < ahead; ++i) r.Command2_Click();
            });
            if (step < total) {
                ASSERT_TRUE(reader.stepBack());
                expectSame(afterSteps(step), Snapshot(reader), "a step back", step);
            }
            const int from = random.bounded(total + 1);
            reader.goToStep(from);
            afterSteps(from);
            ASSERT_TRUE(reader.goToStep(step));
            expectSame(afterSteps(step), Snapshot(reader), "a jump", step);
            EXPECT_EQ(reader.currentStep(), step);

            // The next step from there is the next step of the reference.
            if (step < total) {
                reader.Command2_Click();
                reference.Command2_Click();
                expectSame(Snapshot(reference), Snapshot(reader), "a step after the jump", step + 1);
            }
            if (::testing::Test::HasFailure()) return;
        }
    }
}

TEST_F(Navigation, steppingBackOverAPageStartShowsThePreviousPageWhole) {
    writePicture("sea.png", Qt::blue);
    setText(QString(numberedLines(30)).split(u'\n') << QString());
    setWord(0, "行3", "sea.png＞白");
    setWord(1, "行14", "＞黄");
    both([](ReaderCore& r) {
        r.Command4_Click();
        for (int i = 0; i < 13; ++i) r.Command2_Click();  // the 13th step starts page 2
    });
    EXPECT_EQ(reader.state().PageLineCount, 1);
    ASSERT_TRUE(reader.stepBack());
    EXPECT_EQ(reader.state().PageLineCount, 12);
    EXPECT_EQ(reader.state().PageRows[11], "行11");
    expectSame(afterSteps(12), Snapshot(reader), "a step back over a page start", 12);
    // All the way back and no further.
    for (int step = 11; step >= 0; --step) {
        ASSERT_TRUE(reader.stepBack());
        expectSame(afterSteps(step), Snapshot(reader), "a step back", step);
    }
    EXPECT_EQ(reader.currentStep(), 0);
    EXPECT_FALSE(reader.stepBack());
    EXPECT_TRUE(reader.controls().LTitle.visible);
}

TEST_F(Navigation, theLastStepDisablesPlayingAndJumpsStayWithinTheText) {
    setText({"a", "b", ""});
    both([](ReaderCore& r) { r.Command4_Click(); });
    EXPECT_EQ(reader.totalSteps(), 3);
    ASSERT_TRUE(reader.goToStep(99));
    EXPECT_EQ(reader.currentStep(), 3);
    EXPECT_FALSE(reader.controls().Command2.enabled);
    expectSame(afterSteps(3), Snapshot(reader), "a jump past the end", 3);
    ASSERT_TRUE(reader.stepBack());
    EXPECT_TRUE(reader.controls().Command2.enabled);
    EXPECT_EQ(reader.currentStep(), 2);
    ASSERT_TRUE(reader.goToStep(-5));
    EXPECT_EQ(reader.currentStep(), 0);
}

TEST_F(Navigation, withoutATextNothingMoves) {
    EXPECT_EQ(reader.totalSteps(), 0);
    EXPECT_FALSE(reader.goToStep(3));
    EXPECT_FALSE(reader.stepBack());
}

TEST_F(Navigation, theRecordFollowsChangesToTheTextWordsAndPictures) {
    setText(QString(numberedLines(40)).split(u'\n') << QString());
    setWord(0, "行2", "pic.png");
    both([](ReaderCore& r) { r.Command4_Click(); });
    ASSERT_TRUE(reader.goToStep(30));
    expectSame(afterSteps(30), Snapshot(reader), "no picture yet", 30);
    writePicture("pic.png", Qt::red);  // added after the record was made
    ASSERT_TRUE(reader.goToStep(30));
    expectSame(afterSteps(30), Snapshot(reader), "the picture added", 30);
    setWord(1, "行2", "＞青");  // a new designation
    ASSERT_TRUE(reader.goToStep(31));
    expectSame(afterSteps(31), Snapshot(reader), "a word added", 31);
    setText(QString(numberedLines(20, "x")).split(u'\n') << QString());  // a new text
    ASSERT_TRUE(reader.goToStep(15));
    expectSame(afterSteps(15), Snapshot(reader), "a new text", 15);
}

TEST_F(Navigation, theRecordIsSmallAndBuiltInSlices) {
    const int count = 100000;
    QStringList lines = QString(numberedLines(count)).split(u'\n');
    lines << QString();
    setText(lines);
    setWord(0, "行77", "＞青");
    both([](ReaderCore& r) { r.Command4_Click(); });
    PageMap& map = reader.pageMap();
    EXPECT_FALSE(map.build(0)) << "a slice stops when its time is up";
    while (!reader.buildPageMap(5)) {
    }
    EXPECT_EQ(map.builtSteps(), count + 1);
    EXPECT_LE(map.memoryBytes(), 2 * count) << "well under 16 bytes a line";
    ASSERT_TRUE(reader.goToStep(count - 5));
    expectSame(afterSteps(count - 5), Snapshot(reader), "a jump far into a long text", count - 5);
}

TEST(WordMatcher, findsTheSlotsThePlayStepApplies) {
    std::array<QString, WordSlots> words, entries;
    words[0] = "海";
    entries[0] = "umi.png";
    words[3] = "海辺";
    entries[3] = "＞青";
    words[4] = "辺";
    entries[4] = {};  // no entry: never applies
    words[7] = "";
    entries[7] = "x.png";  // no word: never applies
    words[50] = "ab";
    entries[50] = "＞赤";
    words[9] = "海";  // the same word twice
    entries[9] = "＞白";
    const WordMatcher matcher(words, entries);
    EXPECT_EQ(matcher.matches(u"海辺の町"), (1ull << 0) | (1ull << 3) | (1ull << 9));
    EXPECT_EQ(matcher.matches(u"xxab"), 1ull << 50);
    EXPECT_EQ(matcher.matches(u"a"), 0u);
    EXPECT_EQ(matcher.matches(u""), 0u);
    EXPECT_EQ(matcher.matches(u"辺"), 0u);
}

}  // namespace
}  // namespace velreader::testing
