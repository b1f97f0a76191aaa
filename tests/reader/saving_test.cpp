// Saving without surprises: a file other than the open book is replaced only
// when the user agrees, "上書きセーブ" writes the open book again, and the
// user's own text is never thrown away by a reading or counted as a change.
#include "common/cp932.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

class Saving : public ReaderTest {
protected:
    Saving() {
        reader.setFileDialog([this](const FileDialogRequest& request) { return requests << request, chosen; });
        reader.setReplaceQuestion([this](const QString& name) { return asked << name, replace; });
    }
    // A book "mine.vln" loaded and changed by a reading, and another book
    // "other.vln" beside it.
    void openChangedBook() {
        readIn("わたしの本");
        chosen = bookPath("mine.vln");
        reader.AllSave_Click();
        readIn("ほかの本");
        chosen = bookPath("other.vln");
        reader.AllSave_Click();
        chosen = bookPath("mine.vln");
        reader.AllLoad_Click();
        readIn("書き直した本\n二行目");
        requests.clear();
        asked.clear();
    }

    QString chosen;
    bool replace = false;
    QList<FileDialogRequest> requests;
    QStringList asked;
};

// Each way of naming a file in the save dialog, answered each way: only an
// existing file other than the open book is asked about, and キャンセル
// leaves the file, the reader's state and its messages as they were.
TEST_F(Saving, anotherExistingBookIsReplacedOnlyWhenTheUserAgrees) {
    const struct {
        const char* typed;
        const char* file;
        bool asks;
    } names[] = {
        {"other.vln", "other.vln", true},  {"other", "other.vln", true},  {"mine.vln", "mine.vln", false},
        {"mine", "mine.vln", false},       {"new.vln", "new.vln", false}, {"../Book/other.vln", "other.vln", true},
    };
    for (const auto& name : names) {
        for (const bool agree : {false, true}) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(name.typed).arg(agree).toStdString());
            openChangedBook();
            const QString path = bookPath(name.file);
            QFile::remove(bookPath("new.vln"));
            const QByteArray before = readBytes(path);
            const ReaderState state = reader.state();
            const ReaderControls controls = reader.controls();
            replace = agree;
            chosen = appFolder() + "Book/" + name.typed;
            reader.AllSave_Click();
            EXPECT_EQ(asked, name.asks ? QStringList{name.file} : QStringList{});
            if (name.asks && !agree) {
                EXPECT_EQ(readBytes(path), before) << "キャンセル writes nothing";
                EXPECT_EQ(reader.state().BookFileName, state.BookFileName);
                EXPECT_EQ(reader.controls(), controls);
                EXPECT_TRUE(reader.modified());
                EXPECT_EQ(reader.openBook(), bookPath("mine.vln"));
            } else {
                EXPECT_EQ(reader.controls().Text1.text, "セーブ完了。");
                EXPECT_TRUE(readBytes(path).contains("\r\n" + cp932::encode(QStringLiteral("書き直した本")).bytes + "\r\n"));
                EXPECT_FALSE(reader.modified());
                EXPECT_EQ(QFileInfo(reader.openBook()).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
            }
        }
    }
}

// "上書きセーブ" writes exactly what "セーブ" under the book's own name
// writes, without a dialog; with no book open (at start, after a text file
// was opened) it is "セーブ", whose dialog starts on the open book.
TEST_F(Saving, overwriteWritesTheOpenBookAndOtherwiseAsksForAName) {
    openChangedBook();
    reader.AllOverwrite_Click();
    EXPECT_TRUE(requests.isEmpty());
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(reader.controls().Text1.text, "セーブ完了。");
    EXPECT_FALSE(reader.modified());
    const QByteArray overwritten = readBytes(bookPath("mine.vln"));
    chosen = bookPath("copy.vln");
    reader.AllSave_Click();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].selected, bookPath("mine.vln")) << "the dialog starts on the open book";
    EXPECT_EQ(readBytes(bookPath("copy.vln")), overwritten);

    // The unsaved question's 保存 writes the open book too.
    readIn("また変えた");
    requests.clear();
    reader.setUnsavedQuestion([] { return UnsavedAnswer::Save; });
    EXPECT_TRUE(reader.maybeSaveChanges());
    EXPECT_TRUE(requests.isEmpty());
    EXPECT_NE(readBytes(bookPath("copy.vln")), overwritten);

    // A text file opened is nothing unsaved, and no book: the next
    // "上書きセーブ" asks rather than write over the book read before.
    writeFile(appFolder() + "story.txt", "yuki\r\n");
    const QByteArray book = readBytes(bookPath("copy.vln"));
    reader.openText(appFolder() + "story.txt");
    EXPECT_FALSE(reader.modified());
    EXPECT_TRUE(reader.openBook().isEmpty());
    requests.clear();
    chosen.clear();
    reader.AllOverwrite_Click();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_TRUE(requests[0].selected.isEmpty());
    EXPECT_EQ(readBytes(bookPath("copy.vln")), book);
    readIn("yuki2");
    EXPECT_TRUE(reader.modified()) << "a reading after it is a change";
}

// "読み込み" with nothing in the input box reads nothing while the listing
// box holds the user's own text; a listing or message the reader wrote
// there, or blank text, leaves the design's reading as it is.
TEST_F(Saving, aReadingNeverThrowsAwayTheUsersTextInTheListingBox) {
    const struct {
        const char* text1;
        const char* text2;
        bool typed;
        bool refused;
    } cases[] = {
        {"", "三千行の文章\r\nその二行目", true, true}, {" \r\n\u3000", "貼った文章", true, true},
        {"", "全行数：3行\r\nabc", false, false},        {"", " \r\n ", true, false},
        {"読む文", "貼った文章", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text2);
        readIn("前の文章");
        reader.Command6_Click();
        const QStringList lines = reader.state().DisplayLines;
        reader.controls().Text1.text = QString::fromUtf8(c.text1);
        reader.controls().Text2.text = QString::fromUtf8(c.text2);
        reader.controls().Text2.typed = c.typed;
        reader.Command1_Click();
        if (c.refused) {
            EXPECT_EQ(reader.controls().Text1.text, "読み込む文章は下の入力欄に入れてください（上の欄は一覧です）。");
            EXPECT_EQ(reader.controls().Text2.text, QString::fromUtf8(c.text2));
            EXPECT_EQ(reader.state().DisplayLines, lines);
        } else {
            EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。");
            EXPECT_EQ(reader.controls().Text2.text, "OK");
            EXPECT_EQ(reader.state().DisplayLines.first(), QString::fromUtf8(c.text1).trimmed());
        }
    }
}

// The player view after a reading and before "巻き戻し" says how the new
// text starts, whenever the page has moved; the user's typed text stays.
TEST_F(Saving, thePlayerViewAfterAReadingSaysHowTheNewTextStarts) {
    const QString hint = QStringLiteral("新しい文章は「巻き戻し」で始めから再生します。");
    readIn(numberedLines(3));
    reader.L1_Click();
    EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。") << "nothing played yet: nothing to say";
    for (int i = 0; i < 6; ++i) reader.Command2_Click();
    EXPECT_FALSE(reader.controls().Command2.enabled);
    reader.L2_Click();
    readIn(numberedLines(5, "新"));
    reader.controls().Text1.typed = true;
    reader.L1_Click();
    EXPECT_EQ(reader.controls().Text1.text, "読み込み完了。") << "typed text is the user's";
    reader.controls().Text1.typed = false;
    reader.L1_Click();
    EXPECT_EQ(reader.controls().Text1.text, hint);
    EXPECT_FALSE(reader.controls().Command2.enabled) << "the play rule stays";
    reader.Command4_Click();
    reader.controls().Text1.text.clear();
    reader.L1_Click();
    EXPECT_TRUE(reader.controls().Text1.text.isEmpty());
}

// Designations from slot 21 on say, when they are made or changed, that a
// book will not hold them; those before it do not.
TEST_F(Saving, aDesignationABookCannotHoldIsWarnedAboutWhenMade) {
    for (int slot = 0; slot < 24; ++slot) {
        designate(QStringLiteral("語%1：＞赤").arg(slot));
        const QString text2 = reader.controls().Text2.text;
        EXPECT_TRUE(text2.startsWith(QStringLiteral("指定語＞語%1\r\n").arg(slot))) << "the echo comes first";
        EXPECT_EQ(text2.contains(QStringLiteral("この指定（%1）は本に入りません。").arg(slot)), slot >= 21) << slot;
    }
    reader.changeDesignation(22, QStringLiteral("別：＞青"));
    EXPECT_TRUE(reader.controls().Text2.text.endsWith("この指定（22）は本に入りません。本に入る指定は 0 から 20 までの 21 個です。"));
}

}  // namespace
}  // namespace velreader::testing
