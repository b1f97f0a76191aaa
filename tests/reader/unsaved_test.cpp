// Never losing a book: the unsaved-changes question, names saved with
// ".vln", designations a book cannot hold named after the save, and the
// recovery file.
#include "common/cp932.h"
#include "reader/rules/bookformat.h"
#include "reader/services/recovery.h"
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QThread>
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

// Random books through the recovery file: every code unit comes back, the
// summary says what the list shows, and a cut or altered file is refused
// whole. Compared with QJsonDocument's own reading of an earlier version's
// file, which is still read.
TEST_F(Unsaved, theRecoveryFileKeepsEveryCharacterAndIsReadOnlyWhole) {
    QRandomGenerator random(2323);
    const char16_t pool[] = {u'a', u'"', u'\\', u'\n', u'\r', u'\t', 0x01, 0x1f, u'羊', u'〜', 0xD83D, 0xDE00, 0xDC00, 0xD800, u'＞', u'：', u'/'};
    const auto text = [&](int max) {
        QString s;
        for (int n = int(random.bounded(max + 1)); n > 0; --n) s += QChar(pool[random.bounded(int(std::size(pool)))]);
        return s;
    };
    for (int round = 0; round < 60; ++round) {
        RecoveredBook book;
        // Now and then a book of some megabyte, written in several pieces.
        for (int n = round % 20 == 19 ? 40000 : int(random.bounded(40)) + 1; n > 0; --n) book.displayLines << text(12);
        book.lineCount = int(random.bounded(int(book.displayLines.size())));
        for (int i = 0; i < WordSlots; ++i) {
            if (random.bounded(3) == 0) book.words[i] = text(5);
            if (random.bounded(3) == 0) book.entries[i] = text(8);
        }
        book.wordCount = int(random.bounded(MaxWordCount + 1));
        book.bookFileName = text(10);
        book.written = QDateTime(QDate(2026, 3, 1), QTime(9, 30, 15, int(random.bounded(1000))));
        const QByteArray bytes = serialiseRecovery(book);
        const ParsedRecovery parsed = parseRecovery(bytes);
        ASSERT_TRUE(parsed.book) << parsed.error.toStdString();
        EXPECT_EQ(*parsed.book, book) << "round " << round;
        writeFile(appFolder() + "kept.json", bytes);
        const SummaryResult summary = readRecoverySummary(appFolder() + "kept.json");
        ASSERT_TRUE(summary.summary) << summary.error.toStdString();
        EXPECT_EQ(summary.summary->title, book.displayLines.value(0));
        EXPECT_EQ(summary.summary->lines, book.lineCount);
        EXPECT_EQ(summary.summary->designations, book.designations());
        EXPECT_EQ(summary.summary->written, book.written);
        // Cut anywhere after the first line: refused, nothing taken.
        const qsizetype cut = bytes.indexOf('\n') + 1 + random.bounded(int(bytes.size() - bytes.indexOf('\n') - 2));
        EXPECT_EQ(parseRecovery(bytes.left(cut)).problem, ParsedRecovery::Problem::Malformed) << "cut at " << cut;
    }

    // An earlier version's file: one object, still read.
    RecoveredBook book;
    book.lineCount = 1;
    book.displayLines = {"雨の日", ""};
    book.words[0] = "雨";
    book.wordCount = 1;
    book.written = QDateTime(QDate(2026, 3, 1), QTime(9, 30));
    QJsonObject v1{{"format", "Velin-Reader recovery"}, {"version", 1}, {"written", book.written.toString(Qt::ISODateWithMs)},
                   {"bookFileName", "*None"}, {"lineCount", 1}, {"displayLines", QJsonArray{"雨の日", ""}}, {"wordCount", 1}};
    QJsonArray words, entries;
    for (int i = 0; i < WordSlots; ++i) words.append(book.words[i]), entries.append(QString());
    v1.insert("words", words);
    v1.insert("entries", entries);
    const QByteArray old = QJsonDocument(v1).toJson();
    ASSERT_TRUE(parseRecovery(old).book);
    EXPECT_EQ(*parseRecovery(old).book, book);

    const QByteArray bytes = serialiseRecovery(book);
    const auto changed = [&](const char* from, const char* to) {
        QByteArray b = bytes;
        b.replace(from, to);
        return parseRecovery(b).problem;
    };
    EXPECT_EQ(changed("\"version\":2", "\"version\":3"), ParsedRecovery::Problem::OtherVersion);
    for (const auto& [from, to] : std::initializer_list<std::pair<const char*, const char*>>{
             {"\"lineCount\": 1", "\"lineCount\": 2"},
             {"\"lineCount\": 1", "\"lineCount\": 0.5"},
             {"\"wordCount\": 1", "\"wordCount\": 51"},
             {"\"雨\",\n", ""},
             {"\"雨の日\"", "2"},
             {"Velin-Reader recovery", "something else"}}) {
        EXPECT_EQ(changed(from, to), ParsedRecovery::Problem::Malformed) << from << " -> " << to;
    }
    EXPECT_EQ(readRecoveryFile(appFolder() + "none.json").problem, ParsedRecovery::Problem::Missing);
}

// Two windows keep their work, each in a file of its own, while they run;
// a start offers only the work of readers that are gone; restoring one
// leaves the other untouched, takes no book name, and the restored file
// goes once the window's own file holds the work.
TEST_F(Unsaved, eachWindowKeepsItsOwnFileAndOnlyTheWorkOfGoneReadersIsOffered) {
    ReaderFolders folders = ReaderFolders::portable(appFolder());
    folders.dataFolder = appFolder() + "data/";
    const QString recovery = folders.dataFolder + "recovery/";
    const auto kept = [&] { return QDir(recovery).entryList({"*.json"}, QDir::Files); };
    QMap<QString, QByteArray> left;
    {
        ReaderCore a(folders), b(folders);
        for (ReaderCore* core : {&a, &b}) {
            core->Form_Load();
            core->offerRecovery();
            EXPECT_EQ(core->controls().Text1.text, "") << "nothing to offer";
        }
        a.controls().Text1.text = "丘の上の\r\nひつじ😀";
        a.Command1_Click();
        a.controls().Text1.text = "丘：hill.png＞緑";
        a.Command3_Click();
        a.keepRecoveryCurrent();
        b.controls().Text1.text = "海の\r\nさかな";
        b.Command1_Click();
        b.keepRecoveryCurrent();
        // Written off the window's thread, within two seconds.
        QElapsedTimer clock;
        clock.start();
        while (kept().size() < 2 && clock.elapsed() < 2000) QThread::msleep(10);
        EXPECT_EQ(kept().size(), 2) << "each window its own file, within 2 s";
        EXPECT_NE(a.recoveryFile(), b.recoveryFile());

        ReaderCore c(folders);
        c.Form_Load();
        c.offerRecovery();
        EXPECT_FALSE(c.recoveryAvailable()) << "the work of running windows is theirs";
        EXPECT_EQ(a.keepUnsavedWork(), "");
        EXPECT_EQ(b.keepUnsavedWork(), "");
        for (const QString& name : kept()) {
            QFile f(recovery + name);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            left[name] = f.readAll();
        }
    }  // both windows end without a clean close, as a killed reader does
    EXPECT_EQ(kept().size(), 2);
    EXPECT_TRUE(QDir(bookPath("")).entryList(QDir::Files).isEmpty()) << "the Book folder gets nothing";

    ReaderCore next(folders);
    next.setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
    next.Form_Load();
    next.offerRecovery();
    EXPECT_TRUE(next.controls().Text1.text.startsWith("前回までに保存されないまま終わった本が 2 冊あります（"))
        << next.controls().Text1.text.toStdString();
    const QList<RecoveryListEntry> list = next.recoveryList();
    ASSERT_EQ(list.size(), 2);
    const RecoveryListEntry* hill = nullptr;
    const RecoveryListEntry* sea = nullptr;
    for (const RecoveryListEntry& e : list) (e.summary.title == "丘の上の" ? hill : sea) = &e;
    ASSERT_TRUE(hill && sea);
    EXPECT_EQ(sea->summary.title, "海の");
    EXPECT_EQ(hill->summary.lines, 2);
    EXPECT_EQ(hill->summary.designations, 1);
    EXPECT_EQ(sea->summary.designations, 0);
    const QString hillPath = hill->path, seaPath = sea->path;

    next.restoreRecovery(hillPath);
    EXPECT_EQ(next.state().DisplayLines, (QStringList{"丘の上の", "ひつじ😀", ""}));
    EXPECT_EQ(next.state().WordTable[0], "丘");
    EXPECT_EQ(next.state().WordCount, 1);
    EXPECT_EQ(next.state().BookFileName, "*None") << "no book name, so no place is kept under another book";
    EXPECT_EQ(next.documentPath(), "");
    EXPECT_TRUE(next.modified()) << "restored as unsaved work";
    next.keepRecoveryCurrent();
    EXPECT_EQ(next.keepUnsavedWork(), "");
    EXPECT_FALSE(QFileInfo::exists(hillPath)) << "the window's own file holds it now";
    EXPECT_TRUE(QFileInfo::exists(next.recoveryFile()));
    QFile sea2(seaPath);
    ASSERT_TRUE(sea2.open(QIODevice::ReadOnly));
    EXPECT_EQ(sea2.readAll(), left.value(QFileInfo(seaPath).fileName())) << "the other stays untouched";
    sea2.close();
    EXPECT_TRUE(next.discardRecovery(seaPath));
    EXPECT_FALSE(QFileInfo::exists(seaPath));
    EXPECT_FALSE(next.discardRecovery(next.recoveryFile())) << "a running window's file is not discarded";

    // A save removes the window's file; a change after it makes it again.
    next.controls().Text1.text = "丘の上の\r\nひつじ";  // a text a book can hold
    next.Command1_Click();
    chosen = bookPath("hill.vln");
    next.setFileDialog([this](const FileDialogRequest&) { return chosen; });
    next.AllSave_Click();
    ASSERT_FALSE(next.modified()) << next.controls().Text1.text.toStdString();
    next.keepRecoveryCurrent();
    EXPECT_EQ(next.keepUnsavedWork(), "");
    EXPECT_TRUE(kept().isEmpty());
    next.controls().Text1.text = "月：＞青";
    next.Command3_Click();
    next.keepRecoveryCurrent();
    EXPECT_EQ(next.keepUnsavedWork(), "");
    EXPECT_EQ(kept().size(), 1);
    next.finishCleanClose();
    EXPECT_TRUE(kept().isEmpty());
}

// A save that has to leave designations out keeps the work unsaved and the
// question names them; a failed save changes neither the name nor the state.
TEST_F(Unsaved, aSaveThatLeavesOutDesignationsOrFailsKeepsTheWorkUnsaved) {
    readIn("ひつじ");
    chosen = bookPath("first.vln");
    reader.AllSave_Click();
    EXPECT_FALSE(reader.modified());
    for (int i = 0; i < 23; ++i) designate(QStringLiteral("語%1：＞赤").arg(i));
    chosen = bookPath("full.vln");
    reader.AllSave_Click();
    EXPECT_TRUE(QFileInfo::exists(chosen));
    EXPECT_EQ(reader.state().BookFileName, chosen);
    EXPECT_TRUE(reader.modified()) << "designations 21 and 22 are in no file";
    EXPECT_TRUE(reader.whatWouldBeLost().contains("「語21」(21)、「語22」(22)")) << reader.whatWouldBeLost().toStdString();
    answer = UnsavedAnswer::Save;
    EXPECT_TRUE(reader.maybeSaveChanges()) << "the question named them; the save wrote the rest";

    const QString before = reader.state().BookFileName;
    designate("月：＞青");
    chosen = appFolder() + "no/such/folder/b.vln";
    reader.AllSave_Click();
    EXPECT_TRUE(reader.controls().Text1.text.startsWith("セーブできませんでした："));
    EXPECT_EQ(reader.state().BookFileName, before) << "a failed save keeps the name";
    EXPECT_EQ(reader.documentPath(), before);
    EXPECT_TRUE(reader.modified());
}

}  // namespace
}  // namespace velreader::testing
