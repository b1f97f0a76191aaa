// Playing the text on the page ("再生", "巻き戻し") with words applied.
#include <QPainter>
#include "reader/drawing/fonts.h"
#include "reader_fixture.h"
#include <sys/stat.h>

namespace velreader::testing {
namespace {

const QRgb Blank = qRgb(255, 240, 240);

class Playback : public ReaderTest {
protected:
    void play(int steps) {
        for (int i = 0; i < steps; ++i) reader.Command2_Click();
    }
    int h() const { return reader.page().lineHeight(); }
    // Whether some pixel of the rows [top, top + height) of the text area has `colour`
    // (or, with `differs`, any other colour).
    bool has(int top, int height, QRgb colour, bool differs = false) const {
        for (int y = top; y < top + height; ++y)
            for (int x = 10; x < 380; ++x)
                if ((pagePixel(x, y) == colour) != differs) return true;
        return false;
    }
    void setLines(const QStringList& lines) {
        reader.state().DisplayLines = lines;
        reader.state().LineCount = int(lines.size() - 1);
    }
    void setWord(int slot, const QString& word, const QString& entry) {
        reader.state().WordTable[slot] = word;
        reader.state().PictureTable[slot] = entry;
    }
};

TEST_F(Playback, printsRowsTwelveLinesAPageUntilTheEmptyLastLine) {
    reader.Command2_Click();
    EXPECT_EQ(reader.controls().Text1.text, "再生する文章がありません。");
    EXPECT_EQ(reader.page().image(), blankPicture(QColor(Blank)));
    readIn(numberedLines(13));
    play(1);
    EXPECT_FALSE(reader.controls().LTitle.visible);
    EXPECT_EQ(reader.page().y(), 15 + 2 + h());
    EXPECT_TRUE(has(17, h(), Blank, true));
    EXPECT_FALSE(has(0, 17, Blank, true));
    play(11);
    EXPECT_EQ(reader.state().PageLineCount, 12);
    EXPECT_EQ(reader.page().y(), 15 + 12 * (2 + h()));
    play(1);  // the 13th line starts a new page
    EXPECT_EQ(reader.state().PageLineCount, 1);
    EXPECT_EQ(reader.state().PageRows[0], "行12");
    EXPECT_FALSE(has(17 + h(), 200 - 17 - h(), Blank, true));
    EXPECT_TRUE(reader.controls().Command2.enabled);
    play(1);  // the empty last entry ends the playback
    EXPECT_FALSE(reader.controls().Command2.enabled);
    EXPECT_EQ(reader.state().CurrentLine, 13);
}

TEST_F(Playback, longLinesTakeSeveralRowsAndPagesNeverOverflow) {
    const QString long45(45, u'x'), long75(75, u'y');
    setLines(QStringList{long45, long75} + QStringList(10, long75) << "");
    play(1);
    EXPECT_EQ(reader.state().PageRows[1], long45.mid(30));
    EXPECT_EQ(reader.state().PageRowIndex, 2);
    EXPECT_EQ(reader.state().PageLineCount, 1);
    EXPECT_EQ(reader.page().y(), 15 + 2 * h());  // continued rows have no gap
    play(1);
    EXPECT_EQ(reader.state().PageRows[4], long75.mid(60));
    play(8);  // 2 + 9 x 3 = 29 rows; the next three would not fit into 31
    EXPECT_EQ(reader.state().PageRowIndex, 29);
    play(1);
    EXPECT_EQ(reader.state().PageLineCount, 1);
    EXPECT_EQ(reader.state().PageRowIndex, 3);
}

TEST_F(Playback, aStepBeyondAShorterTextEndsThePlayback) {
    readIn(numberedLines(20));
    play(10);
    readIn(QStringLiteral("short"));
    play(1);
    EXPECT_EQ(reader.state().CurrentLine, 1);
    EXPECT_FALSE(reader.controls().Command2.enabled);
}

TEST_F(Playback, colourWordsMustMatchExactly) {
    const std::pair<const char*, QColor> cases[] = {
        {"＞赤", QColor(255, 0, 0)},     {"＞オ", QColor(255, 192, 128)}, {"＞緑", QColor(0, 128, 0)},
        {"＞赤い", DefaultTextColour},   {"＞ピンク", DefaultTextColour}, {"missing.png＞白", Qt::white},
    };
    readIn(QStringLiteral("子猫がいる"));
    for (const auto& [entry, colour] : cases) {
        setWord(0, "猫", QString::fromUtf8(entry));
        reader.Command4_Click();
        play(1);
        EXPECT_EQ(reader.page().foreColor(), colour) << entry;
        EXPECT_EQ(reader.pagePicture(), reader.blankPage()) << entry;
    }
}

TEST_F(Playback, aPictureChangeReprintsTheRowsInTheCurrentColour) {
    writePicture("a.png", QColor(0, 255, 0));
    writePicture("b.png", QColor(0, 0, 255));
    readIn(QStringLiteral("一\n怒る\n森と海へ"));
    setWord(0, "怒", "＞赤");
    setWord(4, "森", "a.png＞黄");
    setWord(7, "海", "b.png＞白");
    setWord(8, "", "a.png");  // an empty word never applies
    play(2);
    EXPECT_TRUE(has(17, h(), qRgb(136, 0, 0)));
    EXPECT_TRUE(has(17 + 2 + h(), h(), qRgb(255, 0, 0)));
    play(1);
    EXPECT_EQ(pagePixel(399, 199), qRgb(0, 0, 255));  // the last picture of the line wins
    EXPECT_TRUE(has(17, h(), qRgb(255, 255, 255)));
    EXPECT_FALSE(has(17, h(), qRgb(136, 0, 0)));
    EXPECT_EQ(reader.page().y(), 15 + 3 * (2 + h()));
    reader.Command4_Click();
    EXPECT_EQ(reader.page().image(), blankPicture(QColor(Blank)));
    EXPECT_EQ(reader.pagePicture(), reader.blankPage());
    EXPECT_EQ(reader.page().foreColor(), DefaultTextColour);
    EXPECT_TRUE(reader.controls().LTitle.visible);
    EXPECT_EQ(reader.state().CurrentLine, 0);
}

TEST_F(Playback, readsPngJpegBmpAndGifAndSkipsEverythingElse) {
    // Qt writes no GIF: a 1 x 1 GIF whose only colour is blue.
    writeFile(picturePath("g.gif"), QByteArray("GIF89a\x01\0\x01\0\x80\0\0\0\0\xff\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;", 35));
    for (const char* format : {"PNG", "JPEG", "BMP"})
        writePicture(QString(format).toLower(), QColor(0, 0, 255), format, {1920, 1080});
    QImage(8, 8, QImage::Format_RGB32).save(appFolder() + "outside.png");
    QDir(appFolder() + "E").mkpath("sub/folder.png");
    writePicture("sub/inner.png", Qt::blue);
    writeFile(picturePath("text.png"), "this is not a picture");
    QImage(8, 8, QImage::Format_RGB32).save(picturePath("pixmap.png"), "PPM");
    readIn(QStringLiteral("猫\n猫"));
    for (const char* name : {"png", "jpeg", "bmp", "g.gif"}) {
        setWord(0, "猫", name);
        reader.Command4_Click();
        play(1);
        const QColor corner = reader.page().image().pixelColor(399, 199);
        EXPECT_TRUE(corner.red() < 16 && corner.blue() > 240) << name;
    }
    for (const QString& name : QStringList{"../outside.png", appFolder() + "outside.png", "sub/inner.png", "sub\\inner.png", "..",
                                "sub", "text.png", "pixmap.png", "none.png", "png\n"}) {
        setWord(0, "猫", name + "＞青");
        reader.Command4_Click();
        play(1);
        EXPECT_EQ(reader.pagePicture(), reader.blankPage()) << name.toStdString();
        EXPECT_EQ(reader.page().foreColor(), QColor(0, 0, 255)) << name.toStdString();
    }
    // A picture file changed on disk is read again, not taken from the cache.
    setWord(0, "猫", "png");
    reader.Command4_Click();
    play(1);
    writePicture("png", QColor(255, 0, 0), "PNG", {65, 33});
    play(1);
    EXPECT_EQ(pagePixel(399, 199), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace velreader::testing

namespace velreader::testing {
namespace {

// Pictures and books that the world outside spoils: no "E" or "Book" folder,
// a pipe or a device where a picture should be. Each ends in silence or a
// message, never a hang or a crash.
// A "Book" that cannot be made (a file of that name is in the way) is said
// in Text1; the dialog still opens, in the folder above.
TEST(FaultsFromOutside, aBookFolderThatCannotBeMadeIsReported) {
    QTemporaryDir folder;
    const QString app = folder.path() + u'/';
    QFile blocker(app + QStringLiteral("Book"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ReaderCore reader(app);
    reader.Form_Load();
    QString start;
    reader.setFileDialog([&](const FileDialogRequest& request) { return start = request.startFolder, QString(); });
    reader.AllLoad_Click();
    EXPECT_TRUE(reader.controls().Text1.text.startsWith(QStringLiteral("「Book」フォルダを作れませんでした")))
        << reader.controls().Text1.text.toStdString();
    EXPECT_EQ(start, folder.path());
}

TEST(FaultsFromOutside, missingFoldersDevicesAndPipesAreSkippedOrReported) {
    QTemporaryDir folder;
    const QString app = folder.path() + u'/';
    ReaderCore reader(app);
    reader.Form_Load();
    reader.controls().Text1.text = QStringLiteral("海と森");
    reader.Command1_Click();
    reader.controls().Text1.text = QStringLiteral("海：umi.png＞青");
    reader.Command3_Click();
    reader.Command4_Click();
    reader.Command2_Click();  // no "E" folder at all
    EXPECT_EQ(reader.pagePicture(), reader.blankPage());
    EXPECT_EQ(reader.page().foreColor(), QColor(0, 0, 255));

    ASSERT_TRUE(QDir(app).mkpath(QStringLiteral("E")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(app + QStringLiteral("E/pipe.png")).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), app + QStringLiteral("E/zero.png")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), app + QStringLiteral("E/null.png")));
    for (const char* name : {"pipe.png", "zero.png", "null.png"}) {
        reader.controls().Text1.text = QStringLiteral("森：%1＞赤").arg(QLatin1String(name));
        reader.Command3_Click();
        reader.Command4_Click();
        reader.Command2_Click();
        EXPECT_EQ(reader.pagePicture(), reader.blankPage()) << name;
        EXPECT_EQ(reader.page().foreColor(), QColor(255, 0, 0)) << name;
    }

    // No "Book" folder: the first dialog makes it, so a book saved there
    // lands in it and loads back.
    const QString book = app + QStringLiteral("Book/story.vln");
    QStringList starts;
    reader.setFileDialog([&](const FileDialogRequest& request) { return starts << request.startFolder, book; });
    reader.AllSave_Click();
    EXPECT_EQ(reader.controls().Text1.text, QStringLiteral("セーブ完了。"));
    EXPECT_EQ(starts, QStringList{app + QStringLiteral("Book")});
    EXPECT_TRUE(QFileInfo(book).isFile());
    reader.AllLoad_Click();
    EXPECT_EQ(reader.controls().Text1.text, QStringLiteral("ロード完了。"));
}

}  // namespace
}  // namespace velreader::testing

namespace velreader {
namespace {

// A picture painted on the page gives the pixels of drawing it over the
// page, whether the page takes it whole (opaque, its own size and format) or
// draws it: pictures of every kind, over a page with text on it.
TEST(PagePictures, aPaintedPictureGivesThePixelsOfDrawingItOverThePage) {
    QImage noisy(PageSurface::Width, PageSurface::Height, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x) noisy.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    QImage translucent(PageSurface::Width, PageSurface::Height, QImage::Format_ARGB32);
    translucent.fill(qRgba(0, 128, 255, 90));
    QImage doubled = noisy.copy();
    doubled.setDevicePixelRatio(2);
    const QImage pictures[] = {blankPicture(QColor(255, 240, 240)), noisy,
                               noisy.scaled(100, 50), noisy.convertToFormat(QImage::Format_RGB888),
                               noisy.convertToFormat(QImage::Format_ARGB32), translucent, doubled};
    for (const QImage& picture : pictures) {
        PageSurface page;
        page.setX(10);
        page.setY(15);
        page.print(QStringLiteral("ひつじの丘"));
        QImage expected = page.image().copy();
        {
            QPainter painter(&expected);
            painter.drawImage(QRect(0, 0, PageSurface::Width, PageSurface::Height), picture);
        }
        page.paintPicture(picture);
        EXPECT_EQ(page.image(), expected) << picture.width() << " " << picture.format();
        // The page goes on printing over it, and the picture itself stays as it was.
        const QImage before = picture.copy();
        page.print(QStringLiteral("羊"));
        EXPECT_EQ(picture, before);
    }
}

}  // namespace
}  // namespace velreader
