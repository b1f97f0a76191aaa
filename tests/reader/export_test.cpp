// The web page a book is exported as: what it holds, the pictures embedded
// once each as their files' bytes, and book text that stays data.
#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "reader/core/web_book_of.h"
#include "reader/rules/page_text.h"
#include "reader/services/page_writer.h"
#include "reader/services/web_book.h"
#include "reader_fixture.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace velreader::testing {
namespace {

using namespace velreader::web;

// The parts of an exported page a test looks at.
struct Page {
    QByteArray bytes;
    QByteArray between(const QByteArray& open, const QByteArray& close) const {
        const qsizetype start = bytes.indexOf(open);
        if (start < 0) return {};
        const qsizetype end = bytes.indexOf(close, start + open.size());
        return bytes.mid(start + open.size(), end - start - open.size());
    }
    QByteArray policy() const { return between("http-equiv=\"Content-Security-Policy\" content=\"", "\""); }
    QByteArray title() const { return between("<title>", "</title>"); }
    QByteArray style() const { return between("<style>", "</style>"); }
    QByteArray script() const { return between("<script>", "</script>"); }
    QByteArray data() const { return between("<script id=\"book\" type=\"application/json\">", "</script>"); }
    QJsonObject book() const { return QJsonDocument::fromJson(data()).object(); }
};

QByteArray hashSource(const QByteArray& bytes) {
    return "'sha256-" + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toBase64() + "'";
}

QByteArray dataUriBytes(const QString& uri) {
    const qsizetype comma = uri.indexOf(u',');
    return QByteArray::fromBase64(uri.mid(comma + 1).toLatin1());
}

qsizetype count(const QByteArray& haystack, const QByteArray& needle) {
    qsizetype n = 0;
    for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1)) ++n;
    return n;
}

// A GIF of 2 x 1 red pixels (Qt reads GIF but does not write it).
QByteArray stillGif() {
    return QByteArray::fromHex("474946383961" "02000100" "800000" "ff0000" "0000ff"
                               "2c000000000200010000" "0202040a00" "3b");
}

class WebExportTest : public ReaderTest {
protected:
    Page exportPage(WebExportResult* result = nullptr) {
        const QString path = appFolder() + "Book/page.html";
        const WebExportResult r = exportWebBook(webBookOf(reader), path);
        EXPECT_TRUE(r.ok()) << qPrintable(exportReport(r));
        if (result) *result = r;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return {file.readAll()};
    }
    QByteArray fileBytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    // The data: URI of the picture a designation's picture name stands for.
    static QString pictureSource(const QJsonObject& book, const QString& name) {
        for (const QJsonValue& pair : book["names"].toArray())
            if (pair[0].toString() == name) return book["pictures"][pair[1].toInt()]["src"].toString();
        return {};
    }
};

// ---- Book text is data ----

TEST(WebPageText, jsonStringsEscapeWhatCouldEndTheScriptOrChangeTheString) {
    const struct {
        QString text;
        QByteArray json;
    } cases[] = {
        {"ab", "\"ab\""},
        {"\"\\", "\"\\\"\\\\\""},
        {"</script>", "\"\\u003c/script\\u003e\""},
        {"<!--", "\"\\u003c!--\""},
        {"a&b", "\"a\\u0026b\""},
        {QString(QChar(0)) + "x", "\"\\u0000x\""},
        {"\n\r\t\x1f", "\"\\u000a\\u000d\\u0009\\u001f\""},
        {QString(QChar(0x2028)) + QChar(0x2029), "\"\\u2028\\u2029\""},
        {"羊", "\"\xe7\xbe\x8a\""},
        {QString::fromUcs4(U"🐑"), "\"\xf0\x9f\x90\x91\""},
        {QString(QChar(0xD800)) + "a", "\"\\ud800a\""},  // a lone surrogate comes back as itself
        {QString("a") + QChar(0xDC00), "\"a\\udc00\""},
    };
    for (const auto& c : cases) {
        QByteArray out;
        appendJsonString(out, c.text);
        EXPECT_EQ(out, c.json) << qPrintable(c.text);
    }
    // What a JSON parser reads back is the text itself.
    const QString nasty = QStringLiteral("</script><script>alert(1)</script><!--<img src=x onerror=alert(2)>") +
                          QChar(0) + QChar(0x2028) + "\"\\ 羊";
    QByteArray out = "[";
    appendJsonString(out, nasty);
    out += "]";
    EXPECT_EQ(QJsonDocument::fromJson(out).array().at(0).toString(), nasty);
    EXPECT_FALSE(out.contains('<') || out.contains('>') || out.contains('&'));
}

TEST(WebPageText, htmlTextEscapesMarkupAndReplacesWhatHtmlCannotHold) {
    EXPECT_EQ(htmlText(u"a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
    EXPECT_EQ(htmlText(u"</title><script>"), "&lt;/title&gt;&lt;script&gt;");
    EXPECT_EQ(htmlText(QString(QChar(0)) + QChar(7) + QChar(0xD800)), "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd");
    EXPECT_EQ(htmlText(u"ひつじの旅\t"), "ひつじの旅\t");
}

// ---- The page ----

TEST_F(WebExportTest, holdsTheLinesTheTitleAndEveryDesignationSlot) {
    readIn(QStringLiteral("ひつじの旅\n\n朝の海。"));
    for (int i = 0; i < 50; ++i) designate(QStringLiteral("語%1：＞赤").arg(i));
    WebExportResult result;
    const Page page = exportPage(&result);
    const QJsonObject book = page.book();
    EXPECT_EQ(book["title"].toString(), "ひつじの旅");
    EXPECT_EQ(page.title(), "ひつじの旅");
    EXPECT_EQ(book["lineCount"].toInt(), 2);
    EXPECT_EQ(book["lines"].toArray(), (QJsonArray{"ひつじの旅", "朝の海。", ""}));
    // All fifty designations, though a book file keeps only 21.
    const QJsonArray words = book["words"].toArray();
    ASSERT_EQ(words.size(), 50);
    EXPECT_EQ(words[49]["slot"].toInt(), 49);
    EXPECT_EQ(words[49]["word"].toString(), "語49");
    EXPECT_EQ(words[49]["entry"].toString(), "＞赤");
    EXPECT_EQ(words[49]["colour"].toString(), "#ff0000");
    EXPECT_TRUE(words[49]["picture"].isNull());
    EXPECT_EQ(book["page"]["colour"].toString(), "#880000");
    EXPECT_EQ(result.size, page.bytes.size());
    EXPECT_TRUE(page.bytes.contains("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
    EXPECT_TRUE(page.bytes.contains("aria-live=\"polite\""));
}

TEST_F(WebExportTest, theBlankPageIsTheReadersOwnPicture) {
    readIn(QStringLiteral("一行"));
    const QJsonObject book = exportPage().book();
    const QImage blank = QImage::fromData(dataUriBytes(book["page"]["blank"].toString()));
    ASSERT_EQ(blank.size(), QSize(400, 200));
    EXPECT_EQ(blank.convertToFormat(QImage::Format_RGB32), reader.blankPage());
    EXPECT_EQ(blank.pixelColor(0, 0), QColor(255, 240, 240));
}

TEST_F(WebExportTest, thePolicyAllowsExactlyTheInlineScriptAndStyleAndDataPictures) {
    readIn(QStringLiteral("一行"));
    const Page page = exportPage();
    const PageTemplate& parts = pageTemplate();
    EXPECT_EQ(page.script(), parts.script);
    EXPECT_EQ(page.style(), parts.style);
    EXPECT_EQ(page.policy(), "default-src 'none'; script-src " + hashSource(page.script()) + "; style-src " +
                                 hashSource(page.style()) + "; img-src data:; base-uri 'none'; form-action 'none'");
    // The policy comes before anything it governs.
    EXPECT_LT(page.bytes.indexOf("Content-Security-Policy"), page.bytes.indexOf("<style>"));
    // Nothing from elsewhere: no address in the page but the SVG namespace,
    // no source in the markup but the empty icon.
    const QString text = QString::fromUtf8(page.bytes);
    const QRegularExpression address(QStringLiteral("\\b(https?|wss?|ftp|file):[^\"' ]*"));
    for (const auto& match : address.globalMatch(text)) EXPECT_EQ(match.captured(0), "http://www.w3.org/2000/svg");
    const QRegularExpression source(QStringLiteral("(src|href)=\"[^\"]*\""));
    for (const auto& match : source.globalMatch(text)) EXPECT_EQ(match.captured(0), "href=\"data:,\"");
}

TEST_F(WebExportTest, bookTextNeverBecomesMarkupOrScript) {
    const QString lines[] = {
        QStringLiteral("</script><script>alert(1)</script>"),
        QStringLiteral("<!--"),
        QStringLiteral("<img src=x onerror=alert(2)>"),
        QStringLiteral("{{BOOK}}{{SCRIPT}}"),
        QStringLiteral("改行") + QChar(0x2028) + QStringLiteral("の後") + QChar(0) + QStringLiteral("ヌル"),
    };
    reader.state().DisplayLines = QStringList(std::begin(lines), std::end(lines)) << QString();
    reader.state().LineCount = 5;
    designate(QStringLiteral("<script>：<img src=x onerror=alert(3)>.png＞赤"));
    reader.state().DisplayLines.prepend(QStringLiteral("</title><script>alert(4)</script>"));
    reader.state().LineCount = 6;
    const Page page = exportPage();
    const Page empty{[] {
        WebBook none;
        return webPage(none, {});
    }()};
    // Only the template's own elements: no script, comment or tag from the book.
    EXPECT_EQ(count(page.bytes.toLower(), "<script"), count(empty.bytes.toLower(), "<script"));
    EXPECT_EQ(count(page.bytes.toLower(), "</script"), count(empty.bytes.toLower(), "</script"));
    EXPECT_EQ(count(page.bytes, "<!--"), count(empty.bytes, "<!--"));
    EXPECT_EQ(count(page.bytes, "<img"), 0);
    EXPECT_EQ(page.title(), "&lt;/title&gt;&lt;script&gt;alert(4)&lt;/script&gt;");
    const QJsonObject book = page.book();
    const QJsonArray shown = book["lines"].toArray();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(shown[i + 1].toString(), lines[i]);
    EXPECT_EQ(book["words"][0]["word"].toString(), "<script>");
    EXPECT_EQ(book["missing"].toArray(), QJsonArray{"<img src=x onerror=alert(3)>.png"});
}

TEST_F(WebExportTest, rowsAreCutWhereTheReaderCutsThem) {
    // A book line of 70 units whose 30th and 31st units are one cluster (a
    // letter and its combining mark): the reader moves the whole cluster on.
    QString line = QString(29, u'あ') + QStringLiteral("e\u0301") + QString(39, u'い');
    reader.state().DisplayLines = {QStringLiteral("短い"), line, QString(45, u'う'), QString()};
    reader.state().LineCount = 3;
    const QJsonObject book = exportPage().book();
    const QStringList rows = pageRows(line);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(book["rows"].toArray(),
              (QJsonArray{QJsonArray{1, int(rows[0].size()), int(rows[1].size())}, QJsonArray{2, 30}}));
    EXPECT_EQ(rows[0].size(), 29);
}

TEST_F(WebExportTest, onlyTheLinesUpToLineCountGoIn) {
    // As playback shows them: entries 0 to LineCount, whatever lies beyond.
    reader.state().DisplayLines = {"一", "二", "", "", "残り"};
    reader.state().LineCount = 2;
    EXPECT_EQ(exportPage().book()["lines"].toArray(), (QJsonArray{"一", "二", ""}));
}

// ---- Pictures ----

TEST_F(WebExportTest, picturesAreTheirFilesBytesInTheirOwnFormat) {
    writePicture("p.png", Qt::red, "PNG");
    writePicture("j.jpg", Qt::green, "JPEG");
    writeFile(picturePath("g.gif"), stillGif());
    writePicture("b.bmp", Qt::yellow, "BMP");
    readIn(QStringLiteral("赤緑青黄"));
    designate(QStringLiteral("赤：p.png"));
    designate(QStringLiteral("緑：j.jpg＞白"));
    designate(QStringLiteral("青：g.gif"));
    designate(QStringLiteral("黄：b.bmp＞謎"));
    WebExportResult result;
    const QJsonObject book = exportPage(&result).book();
    const struct {
        const char* name;
        const char* mime;
    } expected[] = {{"p.png", "image/png"}, {"j.jpg", "image/jpeg"}, {"g.gif", "image/gif"}, {"b.bmp", "image/bmp"}};
    for (const auto& e : expected) {
        const QString source = pictureSource(book, e.name);
        EXPECT_TRUE(source.startsWith(QStringLiteral("data:%1;base64,").arg(e.mime))) << e.name;
        EXPECT_EQ(dataUriBytes(source), fileBytes(picturePath(e.name))) << e.name;
    }
    EXPECT_EQ(result.pictures, (QStringList{"p.png", "j.jpg", "g.gif", "b.bmp"}));
    EXPECT_TRUE(result.missing.isEmpty());
    EXPECT_EQ(book["words"][1]["colour"].toString(), "#ffffff");
    EXPECT_TRUE(book["words"][3]["colour"].isNull()) << "an unknown colour word changes nothing";
    EXPECT_EQ(book["words"][3]["picture"].toInt(), 3);
}

TEST_F(WebExportTest, aPictureUsedByTenWordsIsEmbeddedOnce) {
    writePicture("umi.png", QColor(0, 0, 200), "PNG", {400, 200});
    readIn(QStringLiteral("海0 海1 海2 海3 海4 海5 海6 海7 海8 海9"));
    for (int i = 0; i < 10; ++i) designate(QStringLiteral("海%1：umi.png＞青").arg(i));
    const Page page = exportPage();
    const QJsonObject book = page.book();
    EXPECT_EQ(book["pictures"].toArray().size(), 1);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(book["words"][i]["picture"].toInt(), 0);
    EXPECT_EQ(count(page.bytes, fileBytes(picturePath("umi.png")).toBase64()), 1);
}

TEST_F(WebExportTest, picturesPlaybackCannotShowAreListedAsMissing) {
    writeFile(picturePath("broken.png"), "not a picture");
    QDir(appFolder() + "E").mkpath("folder.png");
    writePicture("kept.png", Qt::red);
    writePicture("never.png", Qt::green);
    readIn(QStringLiteral("一二三四五"));
    designate(QStringLiteral("一：gone.png＞赤"));
    designate(QStringLiteral("二：broken.png"));
    designate(QStringLiteral("三：folder.png"));
    designate(QStringLiteral("四：../E/kept.png"));
    designate(QStringLiteral("五：kept.png"));
    designate(QStringLiteral("：never.png"));  // a designation without a word never applies
    designate(QStringLiteral("六：gone2.png"));  // nor one whose word is in no line
    WebExportResult result;
    const QJsonObject book = exportPage(&result).book();
    EXPECT_EQ(result.missing, (QStringList{"gone.png", "broken.png", "folder.png", "../E/kept.png"}));
    EXPECT_EQ(result.pictures, QStringList{"kept.png"});
    EXPECT_EQ(book["words"][0]["picture"].toInt(), -1);
    EXPECT_EQ(book["words"][0]["colour"].toString(), "#ff0000") << "the colour still changes";
    EXPECT_EQ(book["pictures"].toArray().size(), 1);
    EXPECT_EQ(exportReport(result),
              "書き出し完了。\r\npage.html（" + QString::number(result.size) +
                  " バイト）\r\n絵：kept.png\r\n見つからない絵：gone.png、broken.png、folder.png、../E/kept.png");
}

TEST_F(WebExportTest, anAnimationBecomesTheStillPictureTheReaderShows) {
    // Two frames of 2 x 1 pixels, the first red, the second blue.
    const QByteArray twoColours = QByteArray::fromHex(
        "474946383961" "02000100" "800000" "ff0000" "0000ff"     // header, screen, red and blue
        "21ff0b" "4e45545343415045322e30" "0301000000"         // loop for ever
        "21f904000a000000" "2c000000000200010000" "0202040a00"   // frame 1: red
        "21f904000a000000" "2c000000000200010000" "02024c0a00"   // frame 2: blue
        "3b");
    writeFile(picturePath("anim.gif"), twoColours);
    QImageReader check(picturePath("anim.gif"));
    ASSERT_GE(check.imageCount(), 2) << "the test's animation must be an animation";
    readIn(QStringLiteral("動く"));
    designate(QStringLiteral("動：anim.gif"));
    const QJsonObject book = exportPage().book();
    const QString source = pictureSource(book, "anim.gif");
    ASSERT_TRUE(source.startsWith("data:image/png;base64,"));
    const QImage still = QImage::fromData(dataUriBytes(source));
    EXPECT_EQ(still.size(), QSize(2, 1));
    EXPECT_EQ(still.pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(WebExportTest, anInstalledCopyFindsTheUsersPicturesFirst) {
    QTemporaryDir user;
    QDir(user.path()).mkpath("E");
    QImage own(8, 8, QImage::Format_RGB32);
    own.fill(Qt::black);
    ASSERT_TRUE(own.save(user.path() + "/E/umi.png"));
    writePicture("umi.png", Qt::white);
    writePicture("mori.png", Qt::green);
    ReaderCore installed(ReaderFolders::installed(appFolder(), user.path() + u'/'));
    installed.Form_Load();
    installed.controls().Text1.text = QStringLiteral("海と森");
    installed.Command1_Click();
    for (const char* d : {"海：umi.png", "森：mori.png"}) {
        installed.controls().Text1.text = QString::fromUtf8(d);
        installed.Command3_Click();
    }
    const QString path = appFolder() + "installed.html";
    ASSERT_TRUE(exportWebBook(webBookOf(installed), path).ok());
    const QJsonObject book = Page{fileBytes(path)}.book();
    EXPECT_EQ(dataUriBytes(pictureSource(book, "umi.png")), fileBytes(user.path() + "/E/umi.png"));
    EXPECT_EQ(dataUriBytes(pictureSource(book, "mori.png")), fileBytes(picturePath("mori.png")));
}

// ---- The export as a whole ----

TEST_F(WebExportTest, readsTheReadersStateAndChangesNoneOfIt) {
    writePicture("umi.png", Qt::blue);
    readIn(numberedLines(20));
    designate(QStringLiteral("行1：umi.png＞青"));
    reader.Command4_Click();
    for (int i = 0; i < 14; ++i) reader.Command2_Click();
    const ReaderState state = reader.state();
    const ReaderControls controls = reader.controls();
    const QImage page = reader.page().image();
    const QImage picture = reader.pagePicture();
    exportPage();
    EXPECT_EQ(reader.state(), state);
    EXPECT_EQ(reader.controls(), controls);
    EXPECT_EQ(reader.page().image(), page);
    EXPECT_EQ(reader.pagePicture(), picture);
}

TEST_F(WebExportTest, aFailedWriteSaysWhyAndLeavesAnOldFileAlone) {
    readIn(QStringLiteral("一行"));
    const WebExportResult missingFolder = exportWebBook(webBookOf(reader), appFolder() + "nowhere/page.html");
    EXPECT_FALSE(missingFolder.ok());
    EXPECT_TRUE(exportReport(missingFolder).startsWith("書き出せませんでした：" + appFolder() + "nowhere/page.html："));

    std::atomic<bool> cancel{true};
    const QString kept = appFolder() + "kept.html";
    writeFile(kept, "old");
    const WebExportResult cancelled = exportWebBook(webBookOf(reader), kept, &cancel);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(fileBytes(kept), "old");
}

TEST(WebExportNames, htmlIsAddedOnlyWhenNoExtensionIsTyped) {
    EXPECT_EQ(withHtmlSuffix("/b/hitsuji"), "/b/hitsuji.html");
    EXPECT_EQ(withHtmlSuffix("/b/hitsuji.html"), "/b/hitsuji.html");
    EXPECT_EQ(withHtmlSuffix("/b/hitsuji.htm"), "/b/hitsuji.htm");
    EXPECT_EQ(withHtmlSuffix("/b.d/hitsuji"), "/b.d/hitsuji.html");
    EXPECT_EQ(withHtmlSuffix(""), "");
}

TEST_F(WebExportTest, theFileStaysWithinItsSizeBound) {
    // 1.25 x the text's UTF-8 size + the pictures in base64 + 50 KB.
    writePicture("umi.png", QColor(10, 20, 200), "PNG", {400, 200});
    QStringList text;
    for (int i = 0; i < 3000; ++i) text << QStringLiteral("羊が%1匹、海の見える丘を歩いていきました。").arg(i);
    readIn(text.join(u'\n'));
    designate(QStringLiteral("海：umi.png"));
    const Page page = exportPage();
    qsizetype textBytes = 0;
    for (const QString& line : reader.state().DisplayLines) textBytes += line.toUtf8().size();
    const qsizetype bound = textBytes * 5 / 4 + fileBytes(picturePath("umi.png")).toBase64().size() + 50 * 1024;
    EXPECT_LE(page.bytes.size(), bound);
}

}  // namespace
}  // namespace velreader::testing
