// Designations made from parts, the reasons a typed one does nothing,
// changing, removing and taking back designations, and pictures added to
// the user's picture folder.
#include <QRandomGenerator>
#include <sys/mount.h>
#include <unistd.h>

#include "reader/rules/designation_text.h"
#include "reader/services/picture_files.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

QByteArray readAllOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(DesignationParts, composeTheThreeTypedFormsAndSayWhatIsMissing) {
    EXPECT_EQ(composeDesignation({"雨", "rain.png", "青"}), "雨：rain.png＞青");
    EXPECT_EQ(composeDesignation({"星", "yoru.png", ""}), "星：yoru.png");
    EXPECT_EQ(composeDesignation({"怒", "", "赤"}), "怒：＞赤");
    EXPECT_EQ(splitDesignation("雨", "rain.png＞青"), (DesignationParts{"雨", "rain.png", "青"}));
    EXPECT_EQ(splitDesignation("怒", "＞赤"), (DesignationParts{"怒", "", "赤"}));
    EXPECT_EQ(colourWords().join(""), "白黒赤青黄緑紫茶水灰オ");

    EXPECT_TRUE(designationProblem({"雨", "rain.png", "青"}).isEmpty());
    const struct {
        DesignationParts parts;
        const char* says;
    } refused[] = {
        {{"", "rain.png", ""}, "単語を入れて"},
        {{"雨：雪", "rain.png", ""}, "「：」は使えません"},
        {{"雨", "", ""}, "絵か色を選んで"},
        {{"雨", "a＞b.png", ""}, "「＞」がある絵"},
        {{"雨", "", "赤い"}, "十一の言葉"},
    };
    for (const auto& r : refused)
        EXPECT_TRUE(designationProblem(r.parts).contains(QString::fromUtf8(r.says))) << r.says;
}

TEST(DesignationParts, aTypedDesignationThatDoesNothingSaysWhy) {
    EXPECT_TRUE(designationRefusal("雨：rain.png＞青").isEmpty());
    EXPECT_TRUE(designationRefusal("雨：rain.png>青").isEmpty()) << "taken: the entry is stored as typed";
    const struct {
        const char* typed;
        QStringList says;
    } cases[] = {
        {"雨rain.png青", {"「：」（全角のコロン）がありません"}},
        {"星:yoru.png>黄", {"「:」が半角です", "「>」も半角です"}},
        {"雨：rain.png＞", {"「＞」の後に色の言葉がありません"}},
        {"：＞", {"「＞」の後に色の言葉がありません"}},
    };
    for (const auto& c : cases) {
        const QString reason = designationRefusal(QString::fromUtf8(c.typed));
        for (const QString& part : c.says) EXPECT_TRUE(reason.contains(part)) << c.typed << reason.toStdString();
        EXPECT_TRUE(reason.contains("白 黒 赤 青 黄 緑 紫 茶 水 灰 オ")) << "the colour words are shown";
    }
}

using Editing = ReaderTest;

TEST_F(Editing, typedDesignationsWorkAsBeforeAndNameWhatWillNotShow) {
    designate("星:yoru.png>黄");
    EXPECT_EQ(reader.controls().Text1.text, "星:yoru.png>黄") << "Text1 keeps the text";
    EXPECT_EQ(reader.state().WordCount, 0);
    EXPECT_TRUE(reader.designationNotice().contains("「:」が半角です"));

    designate("雨：rain.png＞青");
    EXPECT_TRUE(reader.designationNotice().isEmpty());
    EXPECT_EQ(reader.state().PictureTable[0], "rain.png＞青") << "accepted: the slot is filled";
    EXPECT_EQ(reader.controls().Text2.text, "指定語＞雨\r\n絵ファイルの名前＞rain.png＞青(0)\r\n絵「rain.png」が絵のフォルダ（" +
                                                picturePath("") + "）に見つかりません。指定は登録しました。");
    writeFile(picturePath("broken.png"), "not a picture");
    designate("壊：broken.png＞赤い");
    EXPECT_EQ(reader.controls().Text2.text.split("\r\n").mid(2),
              (QStringList{"「broken.png」は絵として読めません（PNG、JPEG、BMP、GIF の絵が使えます）。",
                           "色の言葉「赤い」は使えません（白 黒 赤 青 黄 緑 紫 茶 水 灰 オ）。"}));
    writePicture("asa.png", Qt::red);
    designate("朝：asa.png＞茶");
    EXPECT_EQ(reader.controls().Text2.text, "指定語＞朝\r\n絵ファイルの名前＞asa.png＞茶(2)") << "nothing to say";
}

TEST_F(Editing, oneSlotChangedOneRemovedAndEveryChangeTakenBack) {
    EXPECT_FALSE(reader.modified());
    for (const char* d : {"雨：rain.png", "星：＞黄", "月：moon.png＞白"}) designate(QString::fromUtf8(d));
    EXPECT_TRUE(reader.modified());
    const ReaderState three = reader.state();

    reader.changeDesignation(1, "星：yoru.png＞青");
    EXPECT_EQ(reader.state().PictureTable[1], "yoru.png＞青");
    EXPECT_EQ(reader.state().WordCount, 3) << "a change stays in its slot";
    EXPECT_TRUE(reader.controls().Text2.text.startsWith("指定語＞星\r\n絵ファイルの名前＞yoru.png＞青(1)"));
    reader.changeDesignation(1, "星yoru");
    EXPECT_EQ(reader.state().PictureTable[1], "yoru.png＞青") << "refused as 単語指定 refuses";
    EXPECT_FALSE(reader.designationNotice().isEmpty());

    reader.removeDesignation(0);
    EXPECT_EQ(reader.state().WordTable[0], "");
    EXPECT_EQ(reader.state().WordCount, 3) << "WordCount does not change";
    EXPECT_EQ(reader.controls().Text2.text, "指定 0「雨」を消しました。");
    reader.Command7_Click();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(reader.state().WordTable[i].isEmpty());

    EXPECT_EQ(reader.nextUndo(), "単語消す");
    reader.Undo_Click();
    EXPECT_EQ(reader.controls().Text2.text, "元に戻しました：単語消す");
    EXPECT_EQ(reader.state().WordTable[2], "月");
    reader.Undo_Click();  // the removal
    reader.Undo_Click();  // the change
    EXPECT_EQ(reader.state(), three);
    reader.Undo_Click();
    EXPECT_EQ(reader.state().WordCount, 2) << "a designation taken back frees its slot";
    EXPECT_EQ(reader.state().WordTable[2], "");
    designate("雪：＞白");
    EXPECT_EQ(reader.state().WordTable[2], "雪");

    // An erase of nothing is no step; a load forgets every step.
    reader.Undo_Click();
    reader.Undo_Click();
    reader.Undo_Click();
    EXPECT_FALSE(reader.canUndo());
    reader.Command7_Click();
    EXPECT_FALSE(reader.canUndo());
    designate("雨：rain.png");
    reader.setFileDialog([&](const FileDialogRequest&) { return bookPath("undo.vln"); });
    reader.AllSave_Click();
    EXPECT_FALSE(reader.modified());
    EXPECT_TRUE(reader.canUndo()) << "a save keeps the steps";
    reader.AllLoad_Click();
    EXPECT_FALSE(reader.canUndo());
    EXPECT_FALSE(reader.modified());
}

TEST_F(Editing, everyKindOfChangeMarksTheWorkUnsaved) {
    reader.setFileDialog([&](const FileDialogRequest&) { return bookPath("m.vln"); });
    const std::function<void()> changes[] = {
        [&] { readIn("文"); },
        [&] { designate("a：b.png"); },
        [&] { designate("c：＞赤"), reader.Command7_Click(); },
        [&] { designate("d：＞赤"), reader.AllSave_Click(), reader.removeDesignation(reader.state().WordCount - 1); },
        [&] { designate("e：＞赤"), reader.AllSave_Click(), reader.Undo_Click(); },
    };
    for (const auto& change : changes) {
        reader.AllSave_Click();
        ASSERT_FALSE(reader.modified());
        change();
        EXPECT_TRUE(reader.modified());
    }
    reader.AllSave_Click();
    for (const auto& untouched : {&ReaderCore::Command2_Click, &ReaderCore::Command4_Click, &ReaderCore::Command5_Click,
                                  &ReaderCore::Command6_Click, &ReaderCore::L2_Click})
        (reader.*untouched)();
    EXPECT_FALSE(reader.modified()) << "playing and listing change nothing";
}

// The picture folders of an installed copy: the user's own, then the installed ones.
class PictureImports : public ReaderTest {
protected:
    QString source(const QString& name, QSize size = {40, 20}, const char* format = "PNG") {
        const QString path = sources.filePath(name);
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(10, 200, 30));
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    QTemporaryDir sources;
};

TEST_F(PictureImports, aPictureAddedToTheUsersOrThePortableFolderIsFoundByPlayback) {
    QTemporaryDir user;
    const ReaderFolders installed = ReaderFolders::installed(appFolder(), user.path() + u'/');
    const ReaderFolders portable = ReaderFolders::portable(appFolder());
    for (const ReaderFolders* each : {&installed, &portable}) {
        const ReaderFolders& folders = *each;
        const PictureImport added = importPicture(source("rain.png"), folders.pictureFolders, false);
        ASSERT_EQ(added.outcome, PictureImport::Outcome::Added) << added.error.toStdString();
        EXPECT_EQ(added.path, folders.pictureFolders.first() + "rain.png");
        EXPECT_EQ(QFileInfo::exists(picturePath("rain.png")), each == &portable) << "only in the first folder";
        ReaderCore core(folders);
        core.Form_Load();
        core.controls().Text1.text = "雨が降る";
        core.Command1_Click();
        core.controls().Text1.text = "雨：rain.png";
        core.Command3_Click();
        core.Command2_Click();
        EXPECT_EQ(QColor(core.page().image().pixel(200, 150)), QColor(10, 200, 30));
        EXPECT_EQ(listPictures(folders.pictureFolders).first().name, "rain.png");
    }

    // The same name again: asked first, replaced only when wanted.
    const QString other = source("rain.png", {8, 8}, "BMP");
    EXPECT_EQ(importPicture(other, portable.pictureFolders, false).outcome, PictureImport::Outcome::Exists);
    EXPECT_EQ(QImage(picturePath("rain.png")).size(), QSize(40, 20));
    EXPECT_EQ(importPicture(other, portable.pictureFolders, true).outcome, PictureImport::Outcome::Added);
    EXPECT_EQ(QImage(picturePath("rain.png")).size(), QSize(8, 8));
}

TEST_F(PictureImports, namesAndFilesPlaybackCouldNotUseAreRefusedWithTheirReason) {
    const QStringList folders{picturePath("")};
    QFile big(sources.filePath("big.png"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(200LL * 1024 * 1024));  // sparse: 200 MB on no disk space
    big.close();
    writeFile(sources.filePath("text.png"), "just some text");
    writeFile(sources.filePath("cut.png"), readAllOf(source("whole.png")).left(40));
    writeFile(sources.filePath("a\\b.png"), readAllOf(source("x.png")));
    const struct {
        QString path;
        const char* says;
    } refused[] = {
        {sources.filePath("big.png"), "大きすぎます（64 MB までです）"},
        {sources.filePath("text.png"), "PNG、JPEG、BMP、GIF の絵ではありません"},
        {sources.filePath("cut.png"), "絵として読めません"},
        {sources.filePath("a\\b.png"), "「/」や「\\」"},
        {source(".hidden.png"), "「.」で始まる名前"},
        {source("夜＞青.png"), "「＞」がある絵"},
        {source("😀.png"), "本のファイルに保存できない文字"},
        {sources.filePath("missing.png"), "ありません"},
        {sources.path(), "フォルダです"},
    };
    for (const auto& r : refused) {
        const PictureImport result = importPicture(r.path, folders, false);
        EXPECT_EQ(result.outcome, PictureImport::Outcome::Refused) << r.says;
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(r.says))) << result.error.toStdString();
    }
    EXPECT_TRUE(QDir(picturePath("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "nothing is left in the picture folder";
}

// A full disk and a read-only folder: a small tmpfs when it can be mounted
// (as root), else a folder without write permission.
TEST_F(PictureImports, aCopyThatCannotBeWrittenLeavesNothingHalfWritten) {
    QTemporaryDir mountPoint;
    const QByteArray where = QFile::encodeName(mountPoint.path());
    struct Unmount {
        QByteArray where;
        bool mounted = false;
        ~Unmount() {
            if (mounted) ::umount2(where.constData(), MNT_DETACH);
        }
    } unmount{where};
    unmount.mounted = ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=256k") == 0;
    if (!unmount.mounted) {
        QFile::setPermissions(mountPoint.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(mountPoint.path()).isWritable()) GTEST_SKIP() << "neither a tmpfs nor a read-only folder here";
        const PictureImport result = importPicture(source("a.png"), {mountPoint.path() + "/"}, false);
        EXPECT_TRUE(result.error.contains("コピーできません")) << result.error.toStdString();
        QFile::setPermissions(mountPoint.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return;
    }
    const QString folder = mountPoint.path() + "/E/";
    // A noisy picture of about 1 MB: larger than the whole disk.
    QImage noise(600, 600, QImage::Format_RGB32);
    QRandomGenerator random(16);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, random.generate() | 0xFF000000u);
    const QString path = sources.filePath("photo.png");
    ASSERT_TRUE(noise.save(path, "PNG", 0));
    ASSERT_GT(QFileInfo(path).size(), 512 * 1024);
    PictureImport full = importPicture(path, {folder}, false);
    EXPECT_EQ(full.outcome, PictureImport::Outcome::Refused);
    EXPECT_TRUE(full.error.contains("ディスクがいっぱいです")) << full.error.toStdString();
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

    ASSERT_EQ(::mount("tmpfs", where.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=256k"), 0);
    const PictureImport readOnly = importPicture(source("small.png"), {folder}, false);
    EXPECT_TRUE(readOnly.error.contains("読み取り専用")) << readOnly.error.toStdString();
}

}  // namespace
}  // namespace velreader::testing
