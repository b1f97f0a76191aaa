// Book files: the exact format, saving safely, and loading only whole,
// well-formed books.
#include <csignal>
#include <sys/resource.h>

#include "common/cp932.h"
#include "reader/rules/bookformat.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

QByteArray sjis(const QString& text) { return cp932::encode(text).bytes; }

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A book: line count, the word pair 猫 / neko.png, 20 empty pairs, display lines, word count.
QByteArray bookOf(const QByteArray& lineCount, const QList<QByteArray>& lines, const QByteArray& wordCount,
                  const QByteArray& firstWord = "\x94\x4c") {
    QList<QByteArray> out{lineCount, firstWord, "neko.png"};
    for (int i = 1; i < 21; ++i) out << "" << "";
    return (out + lines + QList<QByteArray>{wordCount}).join("\r\n") + "\r\n";
}

class Books : public ReaderTest {
protected:
    Books() {
        reader.setFileDialog([this](const FileDialogRequest& request) { return requests << request, chosen; });
    }
    void saveAs(const QString& path) { chosen = path, reader.AllSave_Click(); }
    void load(const QString& path) { chosen = path, reader.AllLoad_Click(); }

    QString chosen;
    QList<FileDialogRequest> requests;
};

TEST_F(Books, savesTheExactFormat) {
    readIn(QStringLiteral("ab\ncd"));
    designate(QStringLiteral("猫：neko.png＞赤"));
    saveAs(bookPath("b.vln"));
    QByteArray expected = " 2 \r\n" + sjis("猫") + "\r\n" + sjis("neko.png＞赤") + "\r\n";
    for (int i = 1; i < 21; ++i) expected += "\r\n\r\n";
    expected += "ab\r\ncd\r\n\r\n 1 \r\n";  // 1 + 42 + (2 + 1) + 1 lines
    EXPECT_EQ(readAll(bookPath("b.vln")), expected);
    EXPECT_EQ(reader.controls().Text1.text, "セーブ完了。");
    EXPECT_EQ(reader.controls().Lfname.text, "Filename:b.vln");
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(requests[0].startFolder, appFolder() + "Book");
    EXPECT_EQ(requests[0].filter, "Velinファイル (*.vln)");

    ReaderCore fresh(appFolder());
    fresh.Form_Load();
    fresh.setFileDialog([&](const FileDialogRequest&) { return bookPath("empty.vln"); });
    fresh.AllSave_Click();
    EXPECT_EQ(readAll(bookPath("empty.vln")), " 0 \r\n" + QByteArray("\r\n").repeated(42) + " 0 \r\n");
    load(bookPath("empty.vln"));
    EXPECT_EQ(reader.state().LineCount, 0);
    reader.Command2_Click();
    EXPECT_EQ(reader.controls().Text1.text, "再生する文章がありません。");
}

TEST_F(Books, roundTripRestoresLinesAndTheFirst21DesignationsWhole) {
    readIn(QStringLiteral("ひつじの旅\n") + QString(45, u'長') + "\nx, \"y\" z");
    designate(QStringLiteral("\"猫\",犬：a,b.png＞赤"));
    for (int i = 1; i < 25; ++i) designate(QStringLiteral("語%1：pic%1.png").arg(i));
    saveAs(bookPath("trip.vln"));
    ReaderCore other(appFolder());
    other.Form_Load();
    other.setFileDialog([&](const FileDialogRequest&) { return bookPath("trip.vln"); });
    other.state().WordTable[22] = "kept";
    other.Command2_Click();
    other.AllLoad_Click();
    const ReaderState& s = other.state();
    EXPECT_EQ(other.controls().Text1.text, "ロード完了。");
    EXPECT_EQ(s.DisplayLines, reader.state().DisplayLines);
    EXPECT_EQ(s.LineCount, 4);
    EXPECT_EQ(s.WordCount, 25);
    EXPECT_EQ(s.WordTable[0], "\"猫\",犬");  // commas and quotes are part of the field
    EXPECT_EQ(s.PictureTable[0], "a,b.png＞赤");
    EXPECT_EQ(s.WordTable[21], "");
    EXPECT_EQ(s.WordTable[22], "kept");
    EXPECT_EQ(other.controls().LTitle.text, "ひつじの旅");
    EXPECT_EQ(other.controls().Lfname.text, "Filename-trip.vln");
    EXPECT_TRUE(other.controls().Command2.enabled);
    EXPECT_TRUE(other.controls().Text2.text.startsWith("全行：4行\r\n\"猫\",犬語1語2"));
}

TEST_F(Books, loadsLongBooksWithExactlyTheirLines) {
    QList<QByteArray> lines{sjis("a△b")};
    for (int i = 1; i < 30000; ++i) lines << "line " + QByteArray::number(i);
    writeFile(bookPath("long.vln"), bookOf(" 30000 ", lines << "", " 3 ").replace("\r\n", "\n"));
    load(bookPath("long.vln"));
    EXPECT_EQ(reader.controls().Text1.text, "ロード完了。");
    EXPECT_EQ(reader.state().DisplayLines.size(), 30001);
    EXPECT_EQ(reader.state().DisplayLines.at(0), "a△b");
    reader.Command6_Click();
    EXPECT_EQ(reader.state().LineCount, 30000);
}

TEST_F(Books, refusesToStoreWhatTheFileCannotHold) {
    writeFile(bookPath("old.vln"), "old");
    const char* cases[][3] = {
        {"ab\nあい😀う", "", "「😀」U+1F600（表示行 2 の 3 文字目）"},
        {"ab", "ネコ🐈：cat.png", "「🐈」U+1F408（指定 0 の単語の 3 文字目）"},
        {"ab", "猫：cat.png\r\n", "指定 0 の絵ファイル名の 8 文字目に改行があり"},
    };
    for (const auto& c : cases) {
        ReaderCore fresh(appFolder());
        fresh.Form_Load();
        fresh.setFileDialog([&](const FileDialogRequest&) { return bookPath("old.vln"); });
        fresh.controls().Text1.text = toCrLf(QString::fromUtf8(c[0]));
        fresh.Command1_Click();
        fresh.controls().Text1.text = QString::fromUtf8(c[1]);
        fresh.Command3_Click();
        fresh.AllSave_Click();
        const QString message = fresh.controls().Text1.text;
        EXPECT_TRUE(message.startsWith("セーブできません：") && message.contains(QString::fromUtf8(c[2])))
            << message.toStdString();
        EXPECT_EQ(readAll(bookPath("old.vln")), "old");
    }
    EXPECT_EQ(QDir(appFolder() + "Book").entryList(QDir::Files), QStringList{"old.vln"});
}

// A refusal names every distinct character that stops the save, once, at
// its first place: display lines counted from 1, designations by number.
TEST_F(Books, aRefusalListsEachOffendingCharacterAtItsFirstPlace) {
    readIn(QStringLiteral("ok line\nx😀y©\n") + QString(40, u'a') + QStringLiteral("😀é"));
    designate(QStringLiteral("猫：neko.png"));
    designate(QStringLiteral("犬ⅰ：ｉ.png"));
    designate(QStringLiteral("鳥：b\u0301.png"));
    saveAs(bookPath("refused.vln"));
    const QStringList lines = reader.controls().Text1.text.split("\r\n");
    ASSERT_EQ(lines.size(), 5) << reader.controls().Text1.text.toStdString();
    EXPECT_EQ(lines[0], "セーブできません：Shift-JIS で同じ文字として保存できない文字があります。");
    EXPECT_EQ(lines[1], "U+0301（指定 2 の絵ファイル名の 2 文字目）") << "a combining mark is named, not shown alone";
    EXPECT_EQ(lines[2], "「😀」U+1F600（表示行 2 の 2 文字目）");
    EXPECT_EQ(lines[3], "「©」U+00A9（表示行 2 の 4 文字目）") << "the emoji counts as one character";
    EXPECT_EQ(lines[4], "「é」U+00E9（表示行 4 の 12 文字目）");
    EXPECT_FALSE(QFile::exists(bookPath("refused.vln")));

    // More than ten: ten are named, the rest counted (13 emoji and the
    // combining mark still in designation 2).
    QString many;
    for (char32_t c = 0x1F600; c < 0x1F60D; ++c) many += QString::fromUcs4(&c, 1);
    readIn(many);
    saveAs(bookPath("refused.vln"));
    const QStringList more = reader.controls().Text1.text.split("\r\n");
    ASSERT_EQ(more.size(), 12);
    EXPECT_EQ(more[11], "ほかに 4 種類の文字があります。");
}

// Characters whose bytes read back as a look-alike are saved as the
// look-alike; the text in memory becomes what the file holds, and Text1
// says what was replaced and how often.
TEST_F(Books, lookAlikesAreSavedReplacedInMemoryAndReported) {
    const QString all = QStringLiteral("〜−—‖¢£¬¥‾");
    const QString alike = QStringLiteral("～－―∥￠￡￢￥￣");
    readIn(all + "\n〜〜a");
    designate(QStringLiteral("—：¥.png"));
    reader.Command2_Click();
    saveAs(bookPath("alike.vln"));
    QByteArray expected = " 2 \r\n\x81\x5C\r\n\x81\x8F.png\r\n";
    for (int i = 1; i < 21; ++i) expected += "\r\n\r\n";
    expected += "\x81\x60\x81\x7C\x81\x5C\x81\x61\x81\x91\x81\x92\x81\xCA\x81\x8F\x81\x50\r\n"
                "\x81\x60\x81\x60" "a\r\n\r\n 1 \r\n";
    EXPECT_EQ(readAll(bookPath("alike.vln")), expected);
    const ReaderState& s = reader.state();
    EXPECT_EQ(s.DisplayLines, (QStringList{alike, "～～a", ""}));
    EXPECT_EQ(s.WordTable[0], "―");
    EXPECT_EQ(s.PictureTable[0], "￥.png");
    EXPECT_EQ(s.PageRows[0], alike) << "the row on the page too";
    EXPECT_EQ(reader.controls().LTitle.text, alike);
    const QString message = reader.controls().Text1.text;
    EXPECT_TRUE(message.startsWith("セーブ完了。\r\nShift-JIS で同じ文字に戻らない文字を、似た文字に置き換えて保存しました："))
        << message.toStdString();
    EXPECT_TRUE(message.contains("「〜」(U+301C) を「～」(U+FF5E) に 3 か所")) << message.toStdString();
    EXPECT_TRUE(message.contains("「—」(U+2014) を「―」(U+2015) に 2 か所"));
    EXPECT_TRUE(message.contains("「‾」(U+203E) を「￣」(U+FFE3) に 1 か所"));
    // What was saved loads back as exactly what the reader now holds.
    ReaderCore other(appFolder());
    other.Form_Load();
    other.setFileDialog([&](const FileDialogRequest&) { return bookPath("alike.vln"); });
    other.AllLoad_Click();
    EXPECT_EQ(other.state().DisplayLines, s.DisplayLines);
    EXPECT_EQ(other.state().WordTable[0], s.WordTable[0]);
    // A second save has nothing left to replace.
    saveAs(bookPath("alike.vln"));
    EXPECT_EQ(reader.controls().Text1.text, "セーブ完了。");
}

TEST_F(Books, aFailedSaveKeepsTheOldBookAndSaysWhy) {
    const QByteArray old = bookOf(" 0 ", {}, " 1 ");
    writeFile(bookPath("keep.vln"), old);
    readIn(numberedLines(200));
    // A full disk: writes beyond 300 bytes fail.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 300;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    saveAs(bookPath("keep.vln"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(readAll(bookPath("keep.vln")), old);
    EXPECT_EQ(reader.controls().Text1.text.left(reader.controls().Text1.text.indexOf("（")),
              "セーブできませんでした：" + bookPath("keep.vln") + "：ファイルが大きすぎます");
    EXPECT_EQ(QDir(appFolder() + "Book").entryList(QDir::Files), QStringList{"keep.vln"});
    saveAs(appFolder() + "missing/x.vln");
    EXPECT_EQ(reader.controls().Text1.text,
              "セーブできませんでした：" + appFolder() + "missing/x.vln：保存先のフォルダがありません");
}

TEST_F(Books, aMalformedBookLeavesTheReaderAsItWas) {
    const QList<QByteArray> two{"a", "b", ""};
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"empty", "", "空のファイルです。"},
        {"only a line end", "\r\n", "1 行目の行数「」が数字ではありません。"},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "9 バイト目に NUL があります。"},
        {"NUL in a word", bookOf(" 0 ", {}, " 0 ", QByteArray("a\0b", 3)), "NUL"},
        {"invalid bytes", bookOf(" 2 ", {"a", QByteArray("\x82\x20", 2), ""}, " 0 "), "45 行目"},
        {"lone lead byte at the end", bookOf(" 0 ", {}, " 0 ") + "\x82", "Shift-JIS のテキストではありません"},
        {"line count not a number", bookOf("abc", two, " 0 "), "行数「abc」が数字ではありません"},
        {"line count with a comma", bookOf(" 2,3 ", two, " 0 "), "「 2,3 」"},
        {"line count with a plus", bookOf("+2", two, " 0 "), "「+2」"},
        {"full-width digit", bookOf(sjis("２"), two, " 0 "), "数字ではありません"},
        {"line count beyond int", bookOf(" 99999999999 ", two, " 0 "), "数字ではありません"},
        {"negative line count", bookOf(" -1 ", two, " 0 "), "行数 -1 が負の数です。"},
        {"line count beyond the lines", bookOf(" 5 ", two, " 0 "), "行数 5 に対して表示行が足りません（4 行しかありません）"},
        {"cut in the words", bookOf(" 0 ", {}, " 0 ").left(30), "指定語の途中でファイルが終わっています"},
        {"no word count", bookOf(" 2 ", two, "").chopped(2), "最後の単語数の行がありません"},
        {"word count not a number", bookOf(" 2 ", two, "x"), "47 行目の単語数「x」が数字ではありません。"},
        {"word count above 50", bookOf(" 2 ", two, " 51 "), "単語数 51 が 0 から 50 の範囲にありません。"},
        {"negative word count", bookOf(" 0 ", {}, " -1 "), "単語数 -1 が"},
        {"lines after the word count", bookOf(" 2 ", two, " 1 ") + "more\r\n", "48 行目に余分な行があります"},
        {"line count below the lines", bookOf(" 1 ", two, " 0 "), "46 行目の単語数「」"},
    };
    writePicture("sea.png", QColor(0, 0, 255));
    readIn(QStringLiteral("海の前の文章\n二行目"));
    designate(QStringLiteral("海：sea.png＞白"));
    reader.Command2_Click();
    reader.L2_Click();
    const auto check = [&](const QString& path, const QString& reason) {
        const ReaderState state = reader.state();
        ReaderControls controls = reader.controls();
        const PageSurface page = reader.page();
        const QImage picture = reader.pagePicture();
        load(path);
        const QString message = reader.controls().Text1.text;
        EXPECT_TRUE(message.startsWith("ロードできません：" + path + "：") && message.contains(reason)) << message.toStdString();
        controls.Text1.text = message;
        EXPECT_EQ(reader.controls(), controls) << path.toStdString();
        EXPECT_TRUE(reader.state() == state && reader.page() == page && reader.pagePicture() == picture)
            << path.toStdString();
    };
    for (const auto& c : cases) {
        writeFile(bookPath(QString::fromUtf8(c.name)), c.bytes);
        check(bookPath(QString::fromUtf8(c.name)), QString::fromUtf8(c.reason));
    }
    check(appFolder() + "Book", "ファイルではなくフォルダです");
    check(bookPath("missing.vln"), "ファイルがありません");
}

// An installed copy's folders: the user's own books and pictures, the
// installed pictures after the user's, and the sample book offered once.
TEST(InstalledReader, usesTheUsersFoldersFirstAndOffersTheSampleBookOnce) {
    QTemporaryDir app, user;
    QDir(app.path()).mkpath(QStringLiteral("E"));
    QDir(app.path()).mkpath(QStringLiteral("Book"));
    QFile sample(app.filePath(QStringLiteral("Book/sample.vln")));
    ASSERT_TRUE(sample.open(QIODevice::WriteOnly));
    sample.write(" 0 \r\n" + QByteArray("\r\n").repeated(42) + " 0 \r\n");
    sample.close();
    const auto picture = [](const QString& path, QRgb colour) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path));
    };
    picture(app.filePath(QStringLiteral("E/both.png")), qRgb(255, 0, 0));
    picture(app.filePath(QStringLiteral("E/installed.png")), qRgb(0, 255, 0));
    const QString userFolder = user.path() + QStringLiteral("/org.woolmere.Velreader/");
    const ReaderFolders folders = ReaderFolders::installed(app.path() + u'/', userFolder);
    offerSampleBooks(app.filePath(QStringLiteral("Book")), folders.bookFolder);
    EXPECT_TRUE(QFile::exists(folders.bookFolder + QStringLiteral("/sample.vln")));
    QDir(userFolder).mkpath(QStringLiteral("E"));
    picture(userFolder + QStringLiteral("E/both.png"), qRgb(0, 0, 255));

    ReaderCore reader(folders);
    reader.Form_Load();
    EXPECT_EQ(reader.bookFolder(), userFolder + QStringLiteral("Book"));
    EXPECT_EQ(reader.pictures().load(QStringLiteral("both.png"), {8, 8}).pixel(0, 0), qRgb(0, 0, 255)) << "the user's own first";
    EXPECT_EQ(reader.pictures().load(QStringLiteral("installed.png"), {8, 8}).pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_TRUE(reader.pictures().load(QStringLiteral("../E/installed.png"), {8, 8}).isNull()) << "plain names only";

    // The user's folder, once there, is the user's: removing the sample
    // does not bring it back.
    QFile::remove(folders.bookFolder + QStringLiteral("/sample.vln"));
    offerSampleBooks(app.filePath(QStringLiteral("Book")), folders.bookFolder);
    EXPECT_FALSE(QFile::exists(folders.bookFolder + QStringLiteral("/sample.vln")));
}

}  // namespace
}  // namespace velreader::testing
