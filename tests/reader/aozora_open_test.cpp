// Aozora Bunko texts opened from files: which files are read through the
// notation, what the reader then holds, and finding a passage.
#include "common/cp932.h"
#include "reader/services/textfile.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

const QString WideDashes(55, u'-');

QString book(const QStringList& lines) { return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

// A short book of our own in the library's notation.
QStringList sampleBook() {
    return {"羊飼いの歌", "山野ひつじ", WideDashes, "【テキスト中に現れる記号について】", "", "《》：ルビ", "（例）牧場《まきば》", WideDashes, "",
            "［＃３字下げ］一［＃「一」は中見出し］", "",
            "　朝の牧場《まきば》に※［＃「木＋吶のつくり」、第3水準1-85-54］の柵が立っていた。羊たちは一頭ずつ柵をくぐり、丘の上へ向かった。",
            "［＃地付き］（終わり）", "", "底本：「羊飼いの歌」架空書房"};
}

class AozoraOpen : public ReaderTest {
protected:
    QString write(const QString& name, const QString& text) {
        const QString path = appFolder() + name;
        writeFile(path, cp932::encode(text).bytes);
        return path;
    }
    bool interpreted() const { return reader.controls().Text1.text.contains(QStringLiteral("青空文庫の記法で開きました")); }
};

TEST_F(AozoraOpen, theBookIsReadAsTheLibraryMeansIt) {
    reader.openText(write("hitsuji.txt", book(sampleBook())));
    const ReaderState& s = reader.state();
    EXPECT_EQ(reader.controls().LTitle.text, "羊飼いの歌");
    EXPECT_EQ(s.DisplayLines.mid(0, 4), (QStringList{"羊飼いの歌", "山野ひつじ", "　　　一", "　朝の牧場（まきば）に枘の柵が立っていた。羊たちは一頭ずつ柵"}));
    EXPECT_TRUE(s.DisplayLines.contains(QString(25, u'　') + "（終わり）"));
    for (const QString& line : s.DisplayLines) {
        EXPECT_LE(line.size(), 30);
        EXPECT_FALSE(line.contains(u'《') || line.contains(QStringLiteral("［＃")) || line.contains(u'-')) << line.toStdString();
    }
    EXPECT_EQ(s.LineCount, s.DisplayLines.size() - 1);
    EXPECT_TRUE(reader.controls().Text1.text.endsWith(QStringLiteral("青空文庫の記法で開きました（ルビ 1、注記 3、外字 1）")))
        << reader.controls().Text1.text.toStdString();
}

TEST_F(AozoraOpen, onlyFilesWithTheLibrarysMarksAreInterpretedAndPastedTextNever) {
    const QString body = "　朝の牧場《まきば》に［＃「朝」に傍点］";
    QStringList legendLate = QStringList(70, "羊") << "【テキスト中に現れる記号について】" << body;
    QStringList colophonEarly = QStringList{"底本：どこか", body} + QStringList(70, "羊");
    const struct {
        const char* name;
        QString text;
        bool preference;
        bool forced;  // "青空文庫のテキストとして開く..."
        bool expected;
    } cases[] = {
        {"legend near the start", book(sampleBook()), true, false, true},
        {"a 底本 line near the end", book({"題", body, "", "底本：「題」架空書房", "入力：羊"}), true, false, true},
        {"legend after line 60", book(legendLate), true, false, false},
        {"a 底本 line far from the end", book(colophonEarly), true, false, false},
        {"no marks", book({"題", body}), true, false, false},
        {"marks, the preference off", book(sampleBook()), false, false, false},
        {"no marks, opened as such a text", book({"題", body}), true, true, true},
    };
    for (const auto& c : cases) {
        reader.setAozoraOptions(c.preference, RubyStyle::Parentheses);
        const QString path = write("t.txt", c.text);
        c.forced ? reader.openAozoraText(path) : reader.openText(path);
        EXPECT_EQ(interpreted(), c.expected) << c.name;
        EXPECT_EQ(reader.state().DisplayLines.join(QString()).contains(u'《'), !c.expected) << c.name;
    }

    // Typed or pasted, the notation is text like any other.
    readIn(book(sampleBook()));
    EXPECT_EQ(reader.state().DisplayLines.value(2), WideDashes.left(30));
    EXPECT_TRUE(reader.state().DisplayLines.contains("（例）牧場《まきば》"));
}

TEST_F(AozoraOpen, aBookWithCharactersCodePage932CannotHoldIsNotSaved) {
    reader.openText(write("hitsuji.txt", book(sampleBook())));
    reader.setFileDialog([this](const FileDialogRequest&) { return bookPath("hitsuji.vln"); });
    reader.AllSave_Click();
    EXPECT_FALSE(QFile::exists(bookPath("hitsuji.vln")));
    EXPECT_TRUE(reader.controls().Text1.text.contains(u'枘')) << reader.controls().Text1.text.toStdString();
}

TEST_F(AozoraOpen, rubyCanBeLeftOut) {
    reader.setAozoraOptions(true, RubyStyle::Omit);
    reader.openText(write("hitsuji.txt", book(sampleBook())));
    EXPECT_EQ(reader.state().DisplayLines.value(3), "　朝の牧場に枘の柵が立っていた。羊たちは一頭ずつ柵をくぐり、");
}

// Long files are decoded a slice at a time: the text and the place of a bad
// byte are those of the whole.
TEST(TextFileSlices, aLongTextDecodesAsAWholeWithTheWindowGivenItsTurns) {
    QString text;
    QString expected;
    const QStringList breaks = {"\r\n", "\n", "\r"};
    for (int n = 0; text.size() < 400'000; ++n) {
        const QString line = QString(n % 97, QChar(u'あ' + n % 50)) + "羊a";
        text += line + breaks[n % 3];
        expected += line + "\r\n";
    }
    for (const bool sjis : {true, false}) {
        const QByteArray bytes = sjis ? cp932::encode(text).bytes : text.toUtf8();
        int calls = 0;
        const DecodedText decoded = decodeTextFile(bytes, [&] { ++calls; });
        EXPECT_EQ(decoded.encoding, sjis ? TextEncoding::Cp932 : TextEncoding::Utf8);
        EXPECT_TRUE(decoded.text == expected) << sjis;
        EXPECT_GT(calls, 0);
    }
    QByteArray broken = cp932::encode(text).bytes;
    broken[broken.size() - 10] = char(0xFF);
    const DecodedText refused = decodeTextFile(broken);
    EXPECT_TRUE(refused.error.contains(QString::number(broken.size() - 9) + " バイト目")) << refused.error.toStdString();
}

enum class Act { Find, Next, Previous, Back };

TEST_F(AozoraOpen, findGoesToThePassageAndOnAndBack) {
    // Lines "行0" to "行39", then a passage cut between two lines.
    readIn(numberedLines(40) + "\n" + QString(29, u'あ') + "羊飼い");
    const struct {
        Act act;
        const char* text;
        int step;   // the step reached; -1: where it was
        int found;  // foundStep() after it
    } steps[] = {
        {Act::Find, "行3", 4, 4},      {Act::Next, "", 31, 31},      {Act::Next, "", 32, 32},
        {Act::Previous, "", 31, 31},   {Act::Previous, "", 4, 4},    {Act::Previous, "", -1, -1},
        {Act::Find, "羊飼い", 42, 42}, {Act::Find, "山羊", -1, -1},   {Act::Back, "", 41, -1},
        {Act::Find, "行3", -1, -1},
    };
    for (const auto& s : steps) {
        const int before = reader.currentStep();
        switch (s.act) {
        case Act::Find: reader.Find_Click(QString::fromUtf8(s.text)); break;
        case Act::Next: reader.FindNext_Click(); break;
        case Act::Previous: reader.FindPrevious_Click(); break;
        case Act::Back: reader.stepBack(); break;
        }
        const std::string what = s.text + std::to_string(int(s.act));
        EXPECT_EQ(reader.currentStep(), s.step < 0 ? before : s.step) << what;
        EXPECT_EQ(reader.foundStep(), s.found) << what;
        if (s.act != Act::Back && s.step < 0) EXPECT_EQ(reader.controls().Text1.text, "見つかりません。") << what;
    }
    EXPECT_TRUE(reader.controls().Pmain.visible) << "a find shows the page";
}

}  // namespace
}  // namespace velreader::testing
