// Texts opened from files: the encodings recognised, strictly.
#include <QStringEncoder>

#include "common/cp932.h"
#include "reader/services/textfile.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

QByteArray utf16(const QString& text, bool little) {
    QStringEncoder encoder(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
    return QByteArray(little ? "\xFF\xFE" : "\xFE\xFF") + QByteArray(encoder.encode(text));
}

TEST(TextFile, recognisesEachEncodingAndGivesCrLfLines) {
    const QString text = QStringLiteral("ひつじの旅\n朝の光。\r\n終わり\r");
    const QString crlf = QStringLiteral("ひつじの旅\r\n朝の光。\r\n終わり\r\n");
    const struct {
        const char* name;
        QByteArray bytes;
        TextEncoding encoding;
    } cases[] = {
        {"UTF-8", text.toUtf8(), TextEncoding::Utf8},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + text.toUtf8(), TextEncoding::Utf8WithBom},
        {"UTF-16 little-endian", utf16(text, true), TextEncoding::Utf16LE},
        {"UTF-16 big-endian", utf16(text, false), TextEncoding::Utf16BE},
        {"Shift-JIS", cp932::encode(text).bytes, TextEncoding::Cp932},
    };
    for (const auto& c : cases) {
        const DecodedText d = decodeTextFile(c.bytes);
        EXPECT_TRUE(d.ok()) << c.name << " " << d.error.toStdString();
        EXPECT_EQ(d.text, crlf) << c.name;
        EXPECT_EQ(d.encoding, c.encoding) << c.name;
    }
    EXPECT_EQ(decodeTextFile("plain ASCII").encoding, TextEncoding::Utf8);
    EXPECT_EQ(encodingName(TextEncoding::Cp932), "Shift-JIS");
}

TEST(TextFile, refusesWhatNoEncodingReadsWithoutSubstituting) {
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"neither UTF-8 nor Shift-JIS", QByteArray("ab\x82\x20\xff", 5), "UTF-8 でも Shift-JIS でも読めません"},
        {"a picture", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "NUL"},
        {"broken UTF-8 after its mark", QByteArray("\xEF\xBB\xBF" "ab\xC3", 6), "UTF-8 の印"},
        {"odd UTF-16", QByteArray("\xFF\xFE" "a\0b", 5), "奇数"},
        {"lone surrogate in UTF-16", QByteArray("\xFF\xFE\x00\xD8" "a\0", 6), "UTF-16 として読めない"},
        {"NUL in UTF-16", QByteArray("\xFF\xFE" "a\0\0\0", 6), "NUL"},
        {"overlong UTF-8 that Shift-JIS cannot read either", QByteArray("\xC0\xAF\xFF", 3), "読めません"},
    };
    for (const auto& c : cases) {
        const DecodedText d = decodeTextFile(c.bytes);
        EXPECT_FALSE(d.ok()) << c.name;
        EXPECT_TRUE(d.text.isEmpty()) << c.name;
        EXPECT_TRUE(d.error.contains(QString::fromUtf8(c.reason))) << c.name << ": " << d.error.toStdString();
    }
}

using Opening = ReaderTest;

TEST_F(Opening, aTextFileIsReadInAndTheMessageNamesItsEncoding) {
    writeFile(appFolder() + "story.txt", cp932::encode(QStringLiteral("ひつじの旅\r\n\r\n朝の光。")).bytes);
    reader.openText(appFolder() + "story.txt");
    EXPECT_EQ(reader.state().DisplayLines, (QStringList{"ひつじの旅", "朝の光。", ""}));
    EXPECT_EQ(reader.controls().LTitle.text, "ひつじの旅");
    EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。\r\n「story.txt」を Shift-JIS のテキストとして開きました。");
    EXPECT_EQ(reader.controls().Text2.text, "OK");

    // Through the menu's dialog, which starts where the last text came from.
    writeFile(appFolder() + "other.txt", "\xEF\xBB\xBFmorning\nnight");
    QList<FileDialogRequest> requests;
    reader.setFileDialog([&](const FileDialogRequest& r) { return requests << r, appFolder() + "other.txt"; });
    reader.OpenText_Click();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].mode, FileDialogRequest::Mode::OpenText);
    EXPECT_EQ(requests[0].startFolder + u'/', appFolder());
    EXPECT_EQ(reader.state().DisplayLines, (QStringList{"morning", "night", ""}));
    EXPECT_TRUE(reader.controls().Text1.text.endsWith("UTF-8（BOM 付き） のテキストとして開きました。"));
}

TEST_F(Opening, filesThatAreNoTextLeaveTheReaderAsItWasAndSayWhy) {
    readIn(QStringLiteral("前の文章"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(appFolder() + "pipe.txt").constData(), 0644), 0);
    writeFile(appFolder() + "binary.txt", QByteArray("\x89PNG\0\0", 6));
    const QStringList before = reader.state().DisplayLines;
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {appFolder() + "missing.txt", "ファイルがありません"},
        {appFolder() + "pipe.txt", "普通のファイルではありません"},
        {appFolder() + "Book", "フォルダです"},
        {appFolder() + "binary.txt", "NUL"},
    };
    for (const auto& c : cases) {
        reader.openFile(c.path);
        const QString message = reader.controls().Text1.text;
        EXPECT_TRUE(message.startsWith("テキストを開けません：" + c.path + "：") && message.contains(QString::fromUtf8(c.reason)))
            << message.toStdString();
        EXPECT_EQ(reader.state().DisplayLines, before);
    }
}

TEST_F(Opening, aBookFileIsLoadedAsTheMenuLoadsIt) {
    readIn(QStringLiteral("本の文章\n二行目"));
    designate(QStringLiteral("本：book.png"));
    reader.setFileDialog([&](const FileDialogRequest&) { return bookPath("saved.VLN"); });
    reader.AllSave_Click();
    ReaderCore other(appFolder());
    other.Form_Load();
    other.openFile(bookPath("saved.VLN"));
    EXPECT_EQ(other.controls().Text1.text, "ロード完了。");
    EXPECT_EQ(other.controls().Lfname.text, "Filename-saved.VLN");
    EXPECT_EQ(other.state().BookFileName, bookPath("saved.VLN"));
    EXPECT_EQ(other.state().DisplayLines, reader.state().DisplayLines);
    EXPECT_EQ(other.state().WordTable[0], "本");
}

}  // namespace
}  // namespace velreader::testing
