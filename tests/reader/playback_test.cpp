// Playing the text on the page ("再生", "巻き戻し") with words applied.
#include <QDir>

#include "reader/window/fonts.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

const QRgb Blank = qRgb(255, 240, 240);

class Playback : public ReaderTest {
protected:
    void play(int steps) {
        for (int i = 0; i < steps; ++i) reader.Command2_Click();
    }
    int h() const { return reader.page().lineHeight(); }
    // True when some pixel of the band of rows [top, top + height) of the
    // page's text area differs from `background`.
    bool inked(int top, int height, QRgb background) const {
        for (int y = top; y < top + height; ++y)
            for (int x = 10; x < 380; ++x)
                if (pagePixel(x, y) != background) return true;
        return false;
    }
    // Sets the lines directly, as a loaded book can hold them.
    void setLines(const QStringList& lines) {
        reader.state().DisplayLines = lines;
        reader.state().LineCount = int(lines.size() - 1);
    }
};

TEST_F(Playback, startsOnABlankPageWithTheTitle) {
    EXPECT_EQ(reader.page().image(), blankPicture(QColor(Blank)));
    EXPECT_EQ(reader.controls().LTitle.text, "No Title");
    EXPECT_TRUE(reader.controls().LTitle.visible);
    EXPECT_EQ(reader.page().foreColor(), DefaultTextColour);
}

TEST_F(Playback, withoutTextSaysSoAndChangesNothing) {
    const PageSurface page = reader.page();
    reader.Command2_Click();
    EXPECT_EQ(reader.controls().Text1.text, "再生する文章がありません。");
    EXPECT_EQ(reader.page(), page);
    EXPECT_TRUE(reader.controls().LTitle.visible);
}

TEST_F(Playback, printsOneRowPerLineTwoUnitsApart) {
    readIn(QStringLiteral("あいう\nえお"));
    play(1);
    EXPECT_FALSE(reader.controls().LTitle.visible);
    EXPECT_EQ(reader.state().PageRows[0], "あいう");
    EXPECT_EQ(reader.page().y(), 15 + 2 + h());
    EXPECT_TRUE(inked(17, h(), Blank));
    EXPECT_FALSE(inked(0, 17, Blank));
    EXPECT_FALSE(inked(17 + h(), 200 - 17 - h(), Blank));
    play(1);
    EXPECT_EQ(reader.page().y(), 15 + 2 * (2 + h()));
    EXPECT_EQ(reader.state().PageRowIndex, 2);
    EXPECT_EQ(reader.state().CurrentLine, 2);
}

TEST_F(Playback, theLastStepShowsTheEmptyEntryAndDisablesPlay) {
    readIn(QStringLiteral("a\nb"));
    play(2);
    EXPECT_TRUE(reader.controls().Command2.enabled);
    play(1);
    EXPECT_FALSE(reader.controls().Command2.enabled);
    EXPECT_EQ(reader.state().CurrentLine, 2);
    EXPECT_EQ(reader.state().PageRows[2], "");
}

TEST_F(Playback, theThirteenthStepStartsANewPage) {
    readIn(numberedLines(20));
    play(12);
    EXPECT_EQ(reader.state().PageLineCount, 12);
    EXPECT_TRUE(inked(17 + 5 * (2 + h()), h(), Blank));
    play(1);
    EXPECT_EQ(reader.state().PageLineCount, 1);
    EXPECT_EQ(reader.state().PageRowIndex, 1);
    EXPECT_EQ(reader.state().PageRows[0], "行12");
    EXPECT_EQ(reader.page().y(), 15 + 2 + h());
    EXPECT_TRUE(inked(17, h(), Blank));
    EXPECT_FALSE(inked(17 + h(), 200 - 17 - h(), Blank));
}

TEST_F(Playback, aLongLinePrintsAsSeveralRowsAndCountsAsOneLine) {
    const QString long45(45, u'x');
    const QString long75(75, u'y');
    setLines({long45, long75, "next", ""});
    play(1);
    EXPECT_EQ(reader.state().PageRows[0], long45.left(30));
    EXPECT_EQ(reader.state().PageRows[1], long45.mid(30));
    EXPECT_EQ(reader.state().PageRowIndex, 2);
    EXPECT_EQ(reader.state().PageLineCount, 1);
    // Continued rows have no gap before them.
    EXPECT_EQ(reader.page().y(), 15 + 2 * h());
    play(1);
    EXPECT_EQ(reader.state().PageRows[4], long75.mid(60));
    EXPECT_EQ(reader.state().PageRowIndex, 5);
    play(1);
    EXPECT_EQ(reader.state().PageRows[5], "next");
}

TEST_F(Playback, startsANewPageWhenTheRowsWouldNotFit) {
    // Ten three-row lines fill 30 of the 31 row slots; the eleventh needs three.
    setLines(QStringList(12, QString(75, u'z')) << "");
    play(10);
    EXPECT_EQ(reader.state().PageRowIndex, 30);
    play(1);
    EXPECT_EQ(reader.state().PageLineCount, 1);
    EXPECT_EQ(reader.state().PageRowIndex, 3);
}

TEST_F(Playback, aStepBeyondAShorterTextEndsThePlayback) {
    readIn(numberedLines(20));
    play(10);
    readIn(QStringLiteral("short"));
    ASSERT_TRUE(reader.controls().Command2.enabled);
    play(1);
    EXPECT_EQ(reader.state().CurrentLine, 1);
    EXPECT_FALSE(reader.controls().Command2.enabled);
    EXPECT_EQ(reader.state().PageRows[reader.state().PageRowIndex - 1], "");
}

TEST_F(Playback, colourWordsSetTheTextColourExactly) {
    const struct {
        const char* entry;
        QColor colour;
    } cases[] = {
        {"＞赤", QColor(255, 0, 0)},       {"＞青", QColor(0, 0, 255)},   {"＞オ", QColor(255, 192, 128)},
        {"＞灰", QColor(192, 192, 192)},   {"＞緑", QColor(0, 128, 0)},   {"＞赤い", DefaultTextColour},
        {"＞ピンク", DefaultTextColour},   {"missing.png＞白", QColor(255, 255, 255)},
    };
    readIn(QStringLiteral("猫がいる"));
    for (const auto& c : cases) {
        reader.state().WordTable[0] = "猫";
        reader.state().PictureTable[0] = QString::fromUtf8(c.entry);
        reader.Command4_Click();
        play(1);
        EXPECT_EQ(reader.page().foreColor(), c.colour) << c.entry;
        EXPECT_EQ(reader.pagePicture(), reader.blankPage()) << c.entry;
    }
}

TEST_F(Playback, aColourChangeLeavesPrintedRowsUntilAPictureChange) {
    writePicture("green.png", QColor(0, 255, 0));
    readIn(QStringLiteral("一\n怒る\n森へ"));
    reader.state().WordTable[0] = "怒";
    reader.state().PictureTable[0] = "＞赤";
    reader.state().WordTable[1] = "森";
    reader.state().PictureTable[1] = "green.png";
    const auto hasColour = [&](int top, QRgb colour) {
        for (int y = top; y < top + h(); ++y)
            for (int x = 10; x < 60; ++x)
                if (pagePixel(x, y) == colour) return true;
        return false;
    };
    play(2);
    EXPECT_TRUE(hasColour(17, qRgb(136, 0, 0)));
    EXPECT_TRUE(hasColour(17 + 2 + h(), qRgb(255, 0, 0)));
    play(1);
    // The new picture, and every row printed again in red.
    EXPECT_EQ(reader.page().image().pixel(395, 195), qRgb(0, 255, 0));
    EXPECT_TRUE(hasColour(17, qRgb(255, 0, 0)));
    EXPECT_FALSE(hasColour(17, qRgb(136, 0, 0)));
    EXPECT_EQ(reader.page().y(), 15 + 3 * (2 + h()));
}

TEST_F(Playback, readsPngJpegBmpAndGifPictures) {
    const struct {
        const char* name;
        const char* format;
    } cases[] = {{"p.png", "PNG"}, {"j.jpg", "JPEG"}, {"b.bmp", "BMP"}, {"g.gif", "GIF"}, {"noext", "PNG"}};
    readIn(QStringLiteral("猫"));
    // Qt writes no GIF: a 1 x 1 GIF whose only colour is blue.
    writeFile(picturePath("g.gif"), QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\xff\x00\x00\x00"
                                               "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                                               35));
    for (const auto& c : cases) {
        if (QByteArray(c.format) != "GIF") writePicture(c.name, QColor(0, 0, 255), c.format, QSize(1920, 1080));
        reader.state().WordTable[0] = "猫";
        reader.state().PictureTable[0] = c.name;
        reader.Command4_Click();
        play(1);
        const QColor corner = reader.page().image().pixelColor(399, 199);
        EXPECT_LT(corner.red(), 16) << c.name;
        EXPECT_GT(corner.blue(), 240) << c.name;
        EXPECT_EQ(reader.pagePicture().size(), QSize(400, 200)) << c.name;
    }
}

TEST_F(Playback, skipsPicturesOutsideThePictureFolderOrUnreadable) {
    writePicture("ok.png", QColor(0, 0, 255));
    QImage(8, 8, QImage::Format_RGB32).save(appFolder() + "outside.png");
    QDir(appFolder() + "E").mkpath("sub");
    QDir(appFolder() + "E").mkpath("folder.png");
    writePicture("sub/inner.png", QColor(0, 0, 255));
    writeFile(picturePath("text.png"), "this is not a picture");
    writeFile(picturePath("empty.png"), "");
    QImage(8, 8, QImage::Format_RGB32).save(picturePath("pixmap.png"), "PPM");
    const QString names[] = {"../outside.png", appFolder() + "outside.png", "sub/inner.png", "sub\\inner.png",
                             "..", ".", "folder.png", "text.png", "empty.png", "pixmap.png", "none.png",
                             "ok.png\n"};
    readIn(QStringLiteral("猫"));
    for (const QString& name : names) {
        reader.state().WordTable[0] = "猫";
        reader.state().PictureTable[0] = name + "＞青";
        reader.Command4_Click();
        play(1);
        EXPECT_EQ(reader.pagePicture(), reader.blankPage()) << name.toStdString();
        EXPECT_EQ(reader.page().foreColor(), QColor(0, 0, 255)) << name.toStdString();
    }
}

TEST_F(Playback, wordsApplyAsSubstringsInIndexOrder) {
    writePicture("a.png", QColor(255, 0, 0));
    writePicture("b.png", QColor(0, 0, 255));
    readIn(QStringLiteral("子ひつじと海"));
    reader.state().WordTable[3] = "ひつじ";
    reader.state().PictureTable[3] = "a.png＞黄";
    reader.state().WordTable[7] = "海";
    reader.state().PictureTable[7] = "b.png＞白";
    reader.state().WordTable[8] = "";  // an empty word never applies
    reader.state().PictureTable[8] = "a.png＞黒";
    reader.state().WordTable[9] = "子";  // an empty entry does nothing
    play(1);
    EXPECT_EQ(reader.page().image().pixel(399, 199), qRgb(0, 0, 255));
    EXPECT_EQ(reader.page().foreColor(), QColor(255, 255, 255));
}

TEST_F(Playback, aChangedPictureFileIsReadAgain) {
    readIn(QStringLiteral("猫\n猫"));
    reader.state().WordTable[0] = "猫";
    reader.state().PictureTable[0] = "cat.png";
    writePicture("cat.png", QColor(255, 0, 0));
    play(1);
    EXPECT_EQ(reader.page().image().pixel(399, 199), qRgb(255, 0, 0));
    writePicture("cat.png", QColor(0, 255, 0), "PNG", QSize(65, 33));
    play(1);
    EXPECT_EQ(reader.page().image().pixel(399, 199), qRgb(0, 255, 0));
}

TEST_F(Playback, rewindGivesABlankPageAndTheDefaultColour) {
    writePicture("sea.png", QColor(0, 0, 255));
    readIn(QStringLiteral("海\nb\nc"));
    designate(QStringLiteral("海：sea.png＞白"));
    play(4);
    ASSERT_FALSE(reader.controls().Command2.enabled);
    reader.Command4_Click();
    EXPECT_TRUE(reader.controls().Command2.enabled);
    EXPECT_TRUE(reader.controls().LTitle.visible);
    EXPECT_EQ(reader.state().CurrentLine, 0);
    EXPECT_EQ(reader.state().PageRowIndex, 0);
    EXPECT_EQ(reader.state().PageLineCount, 0);
    EXPECT_EQ(reader.page().image(), blankPicture(QColor(Blank)));
    EXPECT_EQ(reader.pagePicture(), reader.blankPage());
    EXPECT_EQ(reader.page().foreColor(), DefaultTextColour);
    EXPECT_EQ(reader.page().y(), 15);
}

TEST_F(Playback, viewsSwitchExactlyOneButtonOfEachPair) {
    const auto check = [&](bool player) {
        const ReaderControls& c = reader.controls();
        EXPECT_EQ(c.L1.opaque, player);
        EXPECT_EQ(c.L2.opaque, !player);
        EXPECT_EQ(c.Lines.visible, player);
        EXPECT_EQ(c.Pmain.visible, player);
        EXPECT_EQ(c.Text2.visible, !player);
        EXPECT_EQ(c.Command2.visible, player);
        EXPECT_EQ(c.Command4.visible, player);
        for (const Control* reading : {&c.Command1, &c.Command3, &c.Command5, &c.Command6, &c.Command7})
            EXPECT_EQ(reading->visible, !player);
    };
    check(true);
    reader.L2_Click();
    check(false);
    const ReaderControls inReadingView = reader.controls();
    reader.L2_Click();
    EXPECT_EQ(reader.controls(), inReadingView);
    reader.L1_Click();
    check(true);
}

}  // namespace
}  // namespace velreader::testing
