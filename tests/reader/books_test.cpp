// Book files: the exact format, saving safely, and loading only whole,
// well-formed books.
#include <csignal>
#include <sys/resource.h>

#include <QFileInfo>

#include "common/cp932.h"
#include "reader/books/bookformat.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

QByteArray sjis(const QString& text) {
    const cp932::EncodeResult r = cp932::encode(text);
    EXPECT_TRUE(r.ok);
    return r.bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A well-formed book: line count, 42 word lines, display lines, word count.
QByteArray bookOf(const QByteArray& lineCount, const QList<QByteArray>& lines, const QByteArray& wordCount,
                  const QByteArray& firstWord = "猫") {
    QList<QByteArray> out{lineCount, sjis(QString::fromUtf8(firstWord)), "neko.png"};
    for (int i = 1; i < 21; ++i) out << "" << "";
    out << lines << wordCount;
    return out.join("\r\n") + "\r\n";
}

class Books : public ReaderTest {
protected:
    Books() {
        reader.setFileDialog([this](const FileDialogRequest& request) {
            requests.append(request);
            return chosen;
        });
    }
    void saveAs(const QString& path) {
        chosen = path;
        reader.AllSave_Click();
    }
    void load(const QString& path) {
        chosen = path;
        reader.AllLoad_Click();
    }

    QString chosen;
    QList<FileDialogRequest> requests;
};

TEST_F(Books, savesTheExactFormat) {
    readIn(QStringLiteral("ab\ncd"));
    designate(QStringLiteral("猫：neko.png＞赤"));
    saveAs(bookPath("b.vln"));

    QByteArray expected = " 2 \r\n" + sjis("猫") + "\r\n" + sjis("neko.png＞赤") + "\r\n";
    for (int i = 1; i < 21; ++i) expected += "\r\n\r\n";
    expected += "ab\r\ncd\r\n\r\n 1 \r\n";
    EXPECT_EQ(readAll(bookPath("b.vln")), expected);
    EXPECT_EQ(expected.count("\r\n"), 1 + 42 + 3 + 1);
    EXPECT_EQ(reader.controls().Text1.text, "セーブ完了。");
    EXPECT_EQ(reader.controls().Lfname.text, "Filename:b.vln");
    EXPECT_EQ(reader.state().BookFileName, bookPath("b.vln"));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(requests[0].startFolder, appFolder() + "Book");
    EXPECT_EQ(requests[0].filter, "Velinファイル (*.vln)");
}

TEST_F(Books, aBookWithoutTextHas44LinesAndLoadsAsNoText) {
    saveAs(bookPath("empty.vln"));
    const QByteArray bytes = readAll(bookPath("empty.vln"));
    EXPECT_EQ(bytes, " 0 \r\n" + QByteArray(42 * 2, 0).replace('\0', "\r\n").left(84) + " 0 \r\n");
    EXPECT_EQ(bytes.count("\r\n"), 44);

    readIn(QStringLiteral("old text"));
    load(bookPath("empty.vln"));
    EXPECT_EQ(reader.controls().Text1.text, "ロード完了。");
    EXPECT_EQ(reader.state().LineCount, 0);
    reader.Command2_Click();
    EXPECT_EQ(reader.controls().Text1.text, "再生する文章がありません。");
}

TEST_F(Books, roundTripRestoresLinesAndTheFirst21Designations) {
    readIn(QStringLiteral("ひつじの旅\n") + QString(45, u'長') + "\n終わり");
    for (int i = 0; i < 25; ++i) designate(QStringLiteral("語%1：pic%1.png＞青").arg(i));
    saveAs(bookPath("trip.vln"));
    EXPECT_FALSE(readAll(bookPath("trip.vln")).contains(sjis("語21")));

    ReaderCore other(appFolder());
    other.Form_Load();
    other.setFileDialog([&](const FileDialogRequest&) { return bookPath("trip.vln"); });
    other.state().WordTable[22] = "kept";
    other.Command2_Click();
    other.AllLoad_Click();
    EXPECT_EQ(other.controls().Text1.text, "ロード完了。");
    EXPECT_EQ(other.state().DisplayLines, reader.state().DisplayLines);
    EXPECT_EQ(other.state().LineCount, reader.state().LineCount);
    EXPECT_EQ(other.state().WordCount, 25);
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(other.state().WordTable[i], reader.state().WordTable[i]);
        EXPECT_EQ(other.state().PictureTable[i], reader.state().PictureTable[i]);
    }
    EXPECT_EQ(other.state().WordTable[21], "");
    EXPECT_EQ(other.state().WordTable[22], "kept");
    EXPECT_EQ(other.controls().LTitle.text, "ひつじの旅");
    EXPECT_EQ(other.controls().Lfname.text, "Filename-trip.vln");
    EXPECT_TRUE(other.controls().LTitle.visible);
    EXPECT_TRUE(other.controls().Command2.enabled);
    EXPECT_EQ(other.state().CurrentLine, 0);
    EXPECT_EQ(other.page().image(), blankPicture(QColor(255, 240, 240)));
    EXPECT_TRUE(other.controls().Text2.text.startsWith("全行：4行\r\n語0語1語2"));
    EXPECT_TRUE(other.controls().Text2.text.endsWith("語20ひつじの旅" + QString(45, u'長') + "終わり"));
}

TEST_F(Books, fieldsWithCommasQuotesAndSpacesComeBackWhole) {
    designate(QStringLiteral("\"猫\",犬：a,b.png＞赤"));
    designate(QStringLiteral("  空白 ：\"q.png"));
    readIn(QStringLiteral("x, \"y\" z"));
    saveAs(bookPath("c.vln"));
    reader.state().WordTable[0].clear();
    load(bookPath("c.vln"));
    EXPECT_EQ(reader.state().WordTable[0], "\"猫\",犬");
    EXPECT_EQ(reader.state().PictureTable[0], "a,b.png＞赤");
    // Leading spaces of a word are dropped, as books have always been read.
    EXPECT_EQ(reader.state().WordTable[1], "空白 ");
    EXPECT_EQ(reader.state().PictureTable[1], "\"q.png");
    EXPECT_EQ(reader.state().DisplayLines.at(0), "x, \"y\" z");
}

TEST_F(Books, afterALoadTheLinesAreExactlyTheStoredOnes) {
    writeFile(bookPath("t.vln"), bookOf(" 2 ", {sjis("a△b"), "c", ""}, " 0 "));
    load(bookPath("t.vln"));
    EXPECT_EQ(reader.state().DisplayLines, (QStringList{"a△b", "c", ""}));
    reader.Command6_Click();
    EXPECT_EQ(reader.state().LineCount, 2);
    EXPECT_EQ(reader.controls().Text2.text, "a△bc");
}

TEST_F(Books, loadsABookOfThirtyThousandLines) {
    QList<QByteArray> lines;
    for (int i = 0; i < 30000; ++i) lines << sjis(QStringLiteral("第%1行").arg(i));
    lines << "";
    // LF line ends load too.
    writeFile(bookPath("long.vln"), bookOf(" 30000 ", lines, " 3 ").replace("\r\n", "\n"));
    load(bookPath("long.vln"));
    EXPECT_EQ(reader.controls().Text1.text, "ロード完了。");
    EXPECT_EQ(reader.state().DisplayLines.size(), 30001);
    EXPECT_EQ(reader.state().DisplayLines.at(29999), "第29999行");
    EXPECT_EQ(reader.state().WordCount, 3);
}

TEST_F(Books, refusesToStoreWhatTheFileCannotHold) {
    writeFile(bookPath("old.vln"), "old");
    const struct {
        const char* text;
        const char* designation;
        const char* expected;
    } cases[] = {
        {"ab\nあい😀う", "", "表示行 1 の 3 文字目の「😀」(U+1F600) は Shift-JIS で保存できない文字です。"},
        {"ab", "ネコ🐈：cat.png", "指定語 0 の 3 文字目の「🐈」(U+1F408)"},
        {"ab", "猫：cat.png\r\n", "指定語 0 の絵ファイルの名前 の 8 文字目に改行があり"},
    };
    for (const auto& c : cases) {
        ReaderCore fresh(appFolder());
        fresh.Form_Load();
        fresh.setFileDialog([&](const FileDialogRequest&) { return bookPath("old.vln"); });
        fresh.controls().Text1.text = toCrLf(QString::fromUtf8(c.text));
        fresh.Command1_Click();
        fresh.controls().Text1.text = QString::fromUtf8(c.designation);
        fresh.Command3_Click();
        fresh.AllSave_Click();
        EXPECT_TRUE(fresh.controls().Text1.text.startsWith("セーブできません："));
        EXPECT_TRUE(fresh.controls().Text1.text.contains(QString::fromUtf8(c.expected)))
            << fresh.controls().Text1.text.toStdString();
        EXPECT_EQ(readAll(bookPath("old.vln")), "old");
        EXPECT_EQ(fresh.controls().Lfname.text, "Filename:");
    }
    EXPECT_EQ(QDir(appFolder() + "Book").entryList(QDir::Files), QStringList{"old.vln"});
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
    EXPECT_TRUE(reader.controls().Text1.text.startsWith("セーブできませんでした：" + bookPath("keep.vln")))
        << reader.controls().Text1.text.toStdString();
    EXPECT_EQ(QDir(appFolder() + "Book").entryList(QDir::Files), QStringList{"keep.vln"});

    saveAs(appFolder() + "no such folder/x.vln");
    EXPECT_TRUE(reader.controls().Text1.text.startsWith("セーブできませんでした：" + appFolder() + "no such folder/x.vln（"));
}

TEST_F(Books, cancelChangesNothing) {
    readIn(QStringLiteral("text"));
    const ReaderState state = reader.state();
    const ReaderControls controls = reader.controls();
    saveAs(QString());
    load(QString());
    EXPECT_EQ(reader.state(), state);
    EXPECT_EQ(reader.controls(), controls);
    EXPECT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[1].mode, FileDialogRequest::Mode::Open);
}

struct Malformed {
    const char* name;
    QByteArray bytes;
    const char* reason;
};

TEST_F(Books, aMalformedBookLeavesTheReaderAsItWas) {
    const QList<QByteArray> two{"a", "b", ""};
    QByteArray badTail = bookOf(" 2 ", two, " 1 ");
    const Malformed cases[] = {
        {"empty", "", "空のファイルです。"},
        {"only a line end", "\r\n", "1 行目の行数「」が数字ではありません。"},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "9 バイト目に NUL があります。"},
        {"NUL in a word", bookOf(" 0 ", {}, " 0 ", QByteArray("a\0b", 3)), "NUL"},
        {"invalid bytes", bookOf(" 2 ", {"a", QByteArray("\x82\x20", 2), ""}, " 0 "), "45 行目"},
        {"lone lead byte at the end", bookOf(" 0 ", {}, " 0 ") + "\x82", "Shift-JIS のテキストではありません"},
        {"line count not a number", bookOf("abc", two, " 0 "), "行数「abc」が数字ではありません"},
        {"line count decimal", bookOf(" 1.5 ", two, " 0 "), "「 1.5 」"},
        {"line count with comma", bookOf(" 2,3 ", two, " 0 "), "「 2,3 」"},
        {"line count with plus", bookOf("+2", two, " 0 "), "「+2」"},
        {"full-width digits", bookOf(sjis("２"), two, " 0 "), "数字ではありません"},
        {"line count too big for a number", bookOf(" 99999999999 ", two, " 0 "), "数字ではありません"},
        {"negative line count", bookOf(" -1 ", two, " 0 "), "行数 -1 が負の数です。"},
        {"line count beyond the lines", bookOf(" 5 ", two, " 0 "), "行数 5 に対して表示行が足りません（4 行しかありません）"},
        {"huge line count", bookOf(" 2147483647 ", two, " 0 "), "表示行が足りません"},
        {"cut in the words", bookOf(" 0 ", {}, " 0 ").left(30), "指定語の途中でファイルが終わっています"},
        {"only a line count", " 3 \r\n", "指定語の途中で"},
        {"no word count", bookOf(" 2 ", two, "").chopped(2), "最後の単語数の行がありません"},
        {"word count not a number", bookOf(" 2 ", two, "x"), "47 行目の単語数「x」が数字ではありません。"},
        {"word count empty", bookOf(" 2 ", two, ""), "単語数「」"},
        {"word count above 50", bookOf(" 2 ", two, " 51 "), "単語数 51 が 0 から 50 の範囲にありません。"},
        {"negative word count", bookOf(" 0 ", {}, " -1 "), "単語数 -1 が"},
        {"lines after the word count", badTail + "more\r\n", "48 行目に余分な行があります"},
        {"line count smaller than the lines", bookOf(" 1 ", two, " 0 "), "46 行目の単語数「」"},
    };
    writePicture("sea.png", QColor(0, 0, 255));
    readIn(QStringLiteral("海の前の文章\n二行目"));
    designate(QStringLiteral("海：sea.png＞白"));
    reader.Command2_Click();
    reader.L2_Click();
    for (const Malformed& c : cases) {
        const QString path = bookPath(QString::fromUtf8(c.name) + ".vln");
        writeFile(path, c.bytes);
        const ReaderState state = reader.state();
        ReaderControls controls = reader.controls();
        const PageSurface page = reader.page();
        const QImage picture = reader.pagePicture();
        load(path);
        EXPECT_EQ(reader.state(), state) << c.name;
        EXPECT_EQ(reader.page(), page) << c.name;
        EXPECT_EQ(reader.pagePicture(), picture) << c.name;
        const QString message = reader.controls().Text1.text;
        EXPECT_TRUE(message.startsWith("ロードできません：" + path + "：")) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << c.name << ": " << message.toStdString();
        controls.Text1.text = message;
        EXPECT_EQ(reader.controls(), controls) << c.name;
    }
    load(appFolder() + "Book");
    EXPECT_TRUE(reader.controls().Text1.text.endsWith("ファイルではありません。"));
    load(bookPath("missing.vln"));
    EXPECT_TRUE(reader.controls().Text1.text.contains("開けません"));
    EXPECT_EQ(reader.state().LineCount, 2);
}

TEST(BookFormat, printsNumbersLikeThePlatform) {
    EXPECT_EQ(printedNumber(12), " 12 ");
    EXPECT_EQ(printedNumber(0), " 0 ");
    EXPECT_EQ(printedNumber(-3), "-3 ");
}

TEST(SampleBook, loadsAndNamesOnlyPicturesThatShip) {
    const QString assets = QStringLiteral(VELREADER_ASSETS);
    const QByteArray bytes = readAll(assets + "/Book/hitsuji_no_tabi.vln");
    const ParsedBook parsed = parseBook(bytes);
    ASSERT_TRUE(parsed.book) << parsed.error.toStdString();
    EXPECT_GE(parsed.book->lineCount, 15);
    EXPECT_LE(parsed.book->lineCount, 41);
    EXPECT_EQ(serialiseBook(*parsed.book).bytes, bytes);
    PictureStore pictures(assets + "/E/");
    int withPicture = 0;
    for (const QString& entry : parsed.book->entries) {
        const QString name = entry.section(u'＞', 0, 0);
        if (name.isEmpty()) continue;
        ++withPicture;
        EXPECT_FALSE(pictures.load(name, QSize(400, 200)).isNull()) << name.toStdString();
    }
    EXPECT_EQ(withPicture, 4);
}

}  // namespace
}  // namespace velreader::testing
