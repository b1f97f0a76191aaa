// Never losing a book: the unsaved-changes question, names saved with
// ".vln", designations a book cannot hold named after the save, and the
// recovery file.
#include "common/cp932.h"
#include "reader/rules/bookformat.h"
#include "reader/services/recovery.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

class Unsaved : public ReaderTest {
protected:
    Unsaved() {
        reader.setFileDialog([this](const FileDialogRequest&) { return chosen; });
        reader.setUnsavedQuestion([this] { return ++asked, answer; });
    }
    QString chosen;
    UnsavedAnswer answer = UnsavedAnswer::Cancel;
    int asked = 0;
};

TEST_F(Unsaved, theQuestionIsAskedOnlyForUnsavedWorkAndEachAnswerDoesItsPart) {
    EXPECT_TRUE(reader.maybeSaveChanges());
    EXPECT_EQ(asked, 0) << "nothing to lose, nothing asked";
    readIn("ひつじ");

    answer = UnsavedAnswer::Cancel;
    EXPECT_FALSE(reader.maybeSaveChanges());
    answer = UnsavedAnswer::Discard;
    EXPECT_TRUE(reader.maybeSaveChanges());
    EXPECT_TRUE(reader.modified()) << "letting go saves nothing";

    // 保存: the save's own dialog; cancelling it, or a save that is refused
    // or fails, keeps the work and says so.
    answer = UnsavedAnswer::Save;
    chosen.clear();
    EXPECT_FALSE(reader.maybeSaveChanges());
    readIn("絵文字😀");
    chosen = bookPath("refused.vln");
    EXPECT_FALSE(reader.maybeSaveChanges());
    EXPECT_TRUE(reader.controls().Text1.text.startsWith("セーブできません："));
    readIn("ひつじ");
    chosen = appFolder() + "no/such/folder/b.vln";
    EXPECT_FALSE(reader.maybeSaveChanges());
    EXPECT_TRUE(reader.controls().Text1.text.startsWith("セーブできませんでした："));
    chosen = bookPath("kept.vln");
    EXPECT_TRUE(reader.maybeSaveChanges());
    EXPECT_EQ(reader.controls().Text1.text, "セーブ完了。");
    EXPECT_FALSE(reader.modified());
    EXPECT_EQ(asked, 6);
}

TEST_F(Unsaved, aNameWithoutExtensionIsSavedAsAVlnBook) {
    readIn("雪の日");
    const struct {
        const char* typed;
        const char* saved;
    } cases[] = {{"yuki_test", "yuki_test.vln"}, {"yuki.", "yuki.vln"}, {"yuki.VLN", "yuki.VLN"}, {"yuki.txt", "yuki.txt"}};
    for (const auto& c : cases) {
        chosen = bookPath(QString::fromUtf8(c.typed));
        reader.AllSave_Click();
        EXPECT_TRUE(QFileInfo::exists(bookPath(QString::fromUtf8(c.saved)))) << c.typed;
        EXPECT_EQ(reader.state().BookFileName, bookPath(QString::fromUtf8(c.saved)));
        EXPECT_EQ(reader.controls().Lfname.text, QStringLiteral("Filename:") + c.saved);
    }
    EXPECT_FALSE(QFileInfo::exists(bookPath("yuki_test")));
}

TEST_F(Unsaved, designationsBeyondTheBooksTwentyOneSlotsAreNamedAfterTheSave) {
    readIn("ひつじ");
    for (int i = 0; i < 23; ++i) designate(QStringLiteral("語%1：＞赤").arg(i));
    reader.removeDesignation(21);
    designate("：＞青");  // slot 23, an empty word
    chosen = bookPath("full.vln");
    reader.AllSave_Click();
    EXPECT_EQ(reader.controls().Text1.text,
              "セーブ完了。\r\n本に入る指定は 0 から 20 までの 21 個です。次の指定は書かれていません：「語22」(22)、「（空の単語）」(23)。");
    const ParsedBook saved = parseBook([&] {
        QFile file(chosen);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }());
    ASSERT_TRUE(saved.book);
    EXPECT_EQ(saved.book->words[20], "語20") << "slots 0 to 20 are written";
    EXPECT_EQ(saved.book->wordCount, 24);
}

TEST_F(Unsaved, theRecoveryFileKeepsEveryCharacterAndIsReadOnlyWhole) {
    RecoveredBook book;
    book.lineCount = 2;
    book.displayLines = {"絵文字😀と〜", "二行目", ""};
    book.words[0] = "雨";
    book.entries[0] = "rain.png＞青";
    book.words[50] = "行\r\n二";
    book.wordCount = 50;
    book.bookFileName = "/home/someone/Book/雨.vln";
    book.written = QDateTime(QDate(2026, 3, 1), QTime(9, 30, 15, 250));
    const QByteArray bytes = serialiseRecovery(book);
    EXPECT_TRUE(bytes.contains("絵文字😀と〜")) << "UTF-8, every character as it is";
    const ParsedRecovery parsed = parseRecovery(bytes);
    ASSERT_TRUE(parsed.book) << parsed.error.toStdString();
    EXPECT_EQ(*parsed.book, book);

    const auto broken = [&](const char* from, const char* to) {
        QByteArray changed = bytes;
        changed.replace(from, to);
        return parseRecovery(changed);
    };
    EXPECT_EQ(broken("\"version\": 1", "\"version\": 2").problem, ParsedRecovery::Problem::OtherVersion);
    for (const auto& [from, to] : std::initializer_list<std::pair<const char*, const char*>>{
             {"\"lineCount\": 2", "\"lineCount\": 3"},
             {"\"lineCount\": 2", "\"lineCount\": 1.5"},
             {"\"wordCount\": 50", "\"wordCount\": 51"},
             {"\"rain.png＞青\",", ""},
             {"\"二行目\"", "2"},
             {"Velin-Reader recovery", "something else"},
             {"}", ""},
         }) {
        const ParsedRecovery result = broken(from, to);
        EXPECT_EQ(result.problem, ParsedRecovery::Problem::Malformed) << from << " -> " << to;
        EXPECT_FALSE(result.book);
    }
    EXPECT_EQ(parseRecovery(bytes.left(bytes.size() / 2)).problem, ParsedRecovery::Problem::Malformed);
    EXPECT_EQ(readRecoveryFile(appFolder() + "none.json").problem, ParsedRecovery::Problem::Missing);
}

// One run stops with unsaved work; the next is told, restores it as unsaved
// work, and a clean close removes the file.
TEST_F(Unsaved, workKeptOnAStopIsOfferedRestoredAndRemovedByACleanClose) {
    ReaderFolders folders = ReaderFolders::portable(appFolder());
    folders.recoveryFile = appFolder() + "data/recovery.json";
    {
        ReaderCore first(folders);
        first.Form_Load();
        first.offerRecovery();
        EXPECT_EQ(first.controls().Text1.text, "") << "nothing to offer";
        EXPECT_EQ(first.keepUnsavedWork(), "");
        EXPECT_FALSE(QFileInfo::exists(folders.recoveryFile)) << "nothing unsaved, nothing kept";
        first.controls().Text1.text = "丘の上の\r\nひつじ😀";
        first.Command1_Click();
        first.controls().Text1.text = "丘：hill.png＞緑";
        first.Command3_Click();
        EXPECT_EQ(first.keepUnsavedWork(), "");
    }
    ASSERT_TRUE(QFileInfo::exists(folders.recoveryFile));
    EXPECT_FALSE(QDir(bookPath("")).entryList(QDir::Files).size()) << "the Book folder gets nothing";

    ReaderCore second(folders);
    second.Form_Load();
    second.offerRecovery();
    EXPECT_TRUE(second.controls().Text1.text.startsWith("前回、保存されないまま終わった本があります（"));
    EXPECT_TRUE(second.recoveryAvailable());
    second.finishCleanClose();
    EXPECT_TRUE(QFileInfo::exists(folders.recoveryFile)) << "offered but never opened: kept";
    second.Restore_Click();
    EXPECT_EQ(second.state().DisplayLines, (QStringList{"丘の上の", "ひつじ😀", ""}));
    EXPECT_EQ(second.state().WordTable[0], "丘");
    EXPECT_EQ(second.state().WordCount, 1);
    EXPECT_EQ(second.controls().LTitle.text, "丘の上の");
    EXPECT_TRUE(second.modified()) << "restored as unsaved work";
    EXPECT_FALSE(second.canUndo());
    second.finishCleanClose();
    EXPECT_FALSE(QFileInfo::exists(folders.recoveryFile));

    // Malformed or another version's: a line in Text1, nothing loaded.
    for (const auto& [content, says] : std::initializer_list<std::pair<QByteArray, const char*>>{
             {"{\"format\": \"Velin-Reader recovery\", \"version\": 7}", "この版では読めない"},
             {"garbage", "壊れているので使いません"}}) {
        writeFile(folders.recoveryFile, content);
        ReaderCore third(folders);
        third.Form_Load();
        third.offerRecovery();
        EXPECT_TRUE(third.controls().Text1.text.contains(QString::fromUtf8(says))) << third.controls().Text1.text.toStdString();
        EXPECT_FALSE(third.recoveryAvailable());
        third.Restore_Click();
        EXPECT_EQ(third.state().LineCount, 0);
    }
}

}  // namespace
}  // namespace velreader::testing
