// The window's ways to make a book without knowing the syntax and never to
// lose one: the designation dialog and list, the unsaved-changes question,
// messages in Text1, the reasons shown for a refused designation, undo,
// help. With VELREADER_SCREENSHOTS=folder the tests save screenshots there.
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>

#include "reader/ui/designation_dialog.h"
#include "reader/ui/designation_list.h"
#include "reader/ui/help_window.h"
#include "reader/ui/staying_notice.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"
#include "window_helpers.h"

namespace velreader::testing {
namespace {

void chooseColour(DesignationDialog* dialog, const QString& word) {
    for (QToolButton* button : dialog->findChildren<QToolButton*>())
        if (button->text() == word) button->click();
}

class Editing : public ReaderTest {
protected:
    // The reader's own pictures (asa, mori, umi, yoru) in the picture folder.
    void useOurPictures() {
        const QDir assets(QStringLiteral(VELREADER_ASSETS "/E"));
        for (const QString& name : assets.entryList({"*.png"}, QDir::Files))
            ASSERT_TRUE(QFile::copy(assets.filePath(name), picturePath(name)));
    }
    Editing() : window(appFolder()) {
        window.core().setUnsavedQuestion([this] { return ++asked, answer; });
        window.core().setFileDialog([this](const FileDialogRequest& r) { return dialogs << r.mode, chosen; });
        window.show();
    }
    // "単語指定" on the window's own core.
    void designateHere(const QString& text) {
        window.core().controls().Text1.text = text;
        window.core().Command3_Click();
    }
    // Opens "単語を指定..." and lets `fill` work the dialog, then presses OK.
    void designateWithDialog(std::function<void(DesignationDialog*)> fill) {
        onModal<DesignationDialog>([fill](DesignationDialog* d) {
            fill(d);
            d->okButton()->click();
        });
        window.designateAction()->trigger();
    }

    VReader3 window;
    UnsavedAnswer answer = UnsavedAnswer::Discard;
    int asked = 0;
    QString chosen;
    QList<FileDialogRequest::Mode> dialogs;
};

TEST_F(Editing, theDialogMakesEachTypedFormThroughTheWordButton) {
    useOurPictures();
    const QImage sea = PictureStore({picturePath("")}).load("umi.png", {400, 200});
    window.text1()->setPlainText("読み込む前の文章");
    designateWithDialog([&](DesignationDialog* d) {
        EXPECT_FALSE(d->okButton()->isEnabled());
        EXPECT_EQ(d->reasonLabel()->text(), "単語を入れてください。");
        d->wordEdit()->insert("海");
        EXPECT_EQ(d->reasonLabel()->text(), "絵か色を選んでください。");
        d->choosePicture("umi.png");
        chooseColour(d, "青");
        EXPECT_TRUE(d->okButton()->isEnabled());
        EXPECT_EQ(d->designation(), "海：umi.png＞青");
        // The preview: the picture over the page, the sample row in blue.
        EXPECT_EQ(d->previewImage().pixel(390, 190), sea.pixel(390, 190));
        bool blue = false;
        for (int x = 10; x < 200; ++x) blue |= QColor(d->previewImage().pixel(x, 24)) == QColor(0, 0, 255);
        EXPECT_TRUE(blue) << "a sample row in the chosen colour";
        while (!d->thumbnailsDone()) QApplication::processEvents();
        QApplication::processEvents();
        screenshot(d, "velreader-designation-dialog");
    });
    EXPECT_EQ(window.text2()->toPlainText(), "指定語＞海\n絵ファイルの名前＞umi.png＞青(0)");
    EXPECT_EQ(window.text1()->toPlainText(), "読み込む前の文章") << "what the user typed in Text1 stays";
    designateWithDialog([](DesignationDialog* d) {
        d->wordEdit()->setText("星");
        d->choosePicture("umi.png");
    });
    designateWithDialog([](DesignationDialog* d) {
        d->wordEdit()->setText("怒");
        chooseColour(d, "赤");
    });
    const ReaderState& s = window.core().state();
    EXPECT_EQ(s.PictureTable[1], "umi.png");
    EXPECT_EQ(s.PictureTable[2], "＞赤");
    EXPECT_EQ(window.text2()->toPlainText(), "指定語＞怒\n絵ファイルの名前＞＞赤(2)");

    for (int i = 3; i < 50; ++i) designateHere(QStringLiteral("w%1：＞白").arg(i));
    designateWithDialog([](DesignationDialog* d) {
        d->wordEdit()->setText("多");
        chooseColour(d, "黒");
    });
    EXPECT_EQ(window.text1()->toPlainText(), "これ以上保存できません");
    EXPECT_EQ(s.WordCount, 50);
}

TEST_F(Editing, picturesAddedInTheDialogAreAskedBeforeReplacingAndRefusedWithTheirReason) {
    QTemporaryDir outside;
    const QString rain = outside.filePath("rain.png");
    QImage(30, 10, QImage::Format_RGB32).save(rain);
    writeFile(outside.filePath("notes.png"), "plain text");
    bool replace = false;
    designateWithDialog([&](DesignationDialog* d) {
        d->setReplaceQuestion([&](const QString&) { return replace; });
        d->addPicture(outside.filePath("notes.png"));
        EXPECT_TRUE(d->messageLabel()->text().contains("PNG、JPEG、BMP、GIF の絵ではありません"));
        d->addPicture(rain);
        EXPECT_EQ(d->messageLabel()->text(), "「rain.png」を追加しました。");
        EXPECT_EQ(d->parts().picture, "rain.png") << "the new picture is chosen";
        d->addPicture(rain);
        EXPECT_EQ(d->messageLabel()->text(), "「rain.png」は前のままです。");
        d->wordEdit()->setText("雨");
    });
    EXPECT_TRUE(QFileInfo::exists(picturePath("rain.png")));
    EXPECT_FALSE(QFileInfo::exists(picturePath("notes.png")));
    EXPECT_EQ(window.core().state().PictureTable[0], "rain.png");
    EXPECT_EQ(window.text2()->toPlainText(), "指定語＞雨\n絵ファイルの名前＞rain.png(0)") << "found by playback's store";
}

TEST_F(Editing, theListChangesRemovesAndTakesBackOneDesignationAndMarksMissingPictures) {
    useOurPictures();
    for (const char* d : {"朝：asa.png＞茶", "星：hoshi.png＞白", "怒：＞赤"}) designateHere(QString::fromUtf8(d));
    onModal<DesignationList>([&](DesignationList* list) {
        QTableWidget* table = list->table();
        ASSERT_EQ(table->rowCount(), 3);
        EXPECT_EQ(table->item(1, 1)->text(), "星");
        EXPECT_EQ(table->item(1, 4)->text(), "絵が見つかりません");
        EXPECT_TRUE(table->item(0, 4)->text().isEmpty());
        EXPECT_FALSE(table->item(0, 2)->icon().isNull()) << "a thumbnail";
        screenshot(list, "velreader-designation-list");

        list->selectSlot(1);
        onModal<DesignationDialog>([](DesignationDialog* d) {
            EXPECT_EQ(d->parts(), (DesignationParts{"星", "hoshi.png", "白"})) << "a missing picture stays chosen";
            chooseColour(d, "黄");
            d->okButton()->click();
        });
        list->changeButton()->click();
        EXPECT_EQ(window.core().state().PictureTable[1], "hoshi.png＞黄");
        list->selectSlot(0);
        list->removeButton()->click();
        EXPECT_EQ(table->rowCount(), 2);
        list->undoButton()->click();
        EXPECT_EQ(table->rowCount(), 3);
        list->reject();
    });
    window.listAction()->trigger();
    const ReaderState& s = window.core().state();
    EXPECT_EQ(s.WordTable[0], "朝");
    EXPECT_EQ(s.PictureTable[1], "hoshi.png＞黄");
    EXPECT_EQ(s.WordCount, 3);
}

// Close, load and open ask first when there is unsaved work, and each answer does its part.
TEST_F(Editing, theUnsavedQuestionGuardsClosingLoadingAndOpening) {
    window.close();
    EXPECT_EQ(asked, 0) << "nothing unsaved";
    window.show();
    window.text1()->setPlainText("ひつじの旅");
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    window.command(1)->click();

    answer = UnsavedAnswer::Cancel;
    EXPECT_FALSE(window.close());
    window.loadAction()->trigger();
    window.openTextAction()->trigger();
    window.openFile(appFolder() + "other.txt");
    EXPECT_EQ(asked, 4);
    EXPECT_TRUE(dialogs.isEmpty()) << "cancelled before any dialog";
    EXPECT_EQ(window.core().state().DisplayLines.first(), "ひつじの旅");

    answer = UnsavedAnswer::Save;
    chosen = bookPath("tabi.vln");
    window.loadAction()->trigger();  // saved first, then the load dialog picks the book just saved
    EXPECT_EQ(dialogs, (QList<FileDialogRequest::Mode>{FileDialogRequest::Mode::Save, FileDialogRequest::Mode::Open}));
    EXPECT_EQ(window.text1()->toPlainText(), "ロード完了。");
    EXPECT_FALSE(window.core().modified());

    window.text1()->setPlainText("別の文章");
    window.command(1)->click();
    answer = UnsavedAnswer::Save;
    chosen.clear();
    dialogs.clear();
    EXPECT_TRUE(window.close()) << "保存 writes the open book again, without a dialog";
    EXPECT_TRUE(dialogs.isEmpty());
    EXPECT_FALSE(window.core().modified());
}

TEST_F(Editing, theRealQuestionOffersItsThreeAnswers) {
    VReader3 plain(appFolder());
    plain.show();
    plain.text1()->setPlainText("文");
    plain.command(1)->click();
    QStringList buttons;
    onModal<QMessageBox>([&](QMessageBox* box) {
        EXPECT_EQ(box->text(), "変更を保存しますか？");
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
        screenshot(box, "velreader-unsaved-question");
        for (QAbstractButton* b : box->buttons())
            if (b->text() == "キャンセル") b->click();
    });
    plain.quitAction()->trigger();
    EXPECT_TRUE(plain.isVisible()) << "キャンセル keeps the reader open";
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"キャンセル", "保存", "保存しない"}));
    onModal<QMessageBox>([](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons())
            if (b->text() == "保存しない") b->click();
    });
    plain.close();
    EXPECT_FALSE(plain.isVisible());
}

// A message the reader wrote gives way to the user's text; the user's own text never does.
TEST_F(Editing, aMessageInText1IsReplacedByAPasteAKeyOrSelectedByAClick) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    window.text1()->setPlainText("最初の文章");
    window.command(1)->click();
    TextBox* box = window.text1();
    ASSERT_EQ(box->toPlainText(), "読み込み完了。");
    EXPECT_TRUE(box->holdsMessage());
    QApplication::clipboard()->setText("貼り付けた文章\n二行目");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->toPlainText(), "貼り付けた文章\n二行目");
    window.command(1)->click();
    EXPECT_EQ(window.core().state().DisplayLines, (QStringList{"貼り付けた文章", "二行目", ""})) << "no message words read in";

    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "a");
    EXPECT_EQ(box->toPlainText(), "a") << "the first key replaces the message";
    QTest::keyClicks(box, "b");
    EXPECT_EQ(box->toPlainText(), "ab") << "the user's own text is not replaced";

    window.command(1)->click();
    window.pmain()->setFocus();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(box->textCursor().selectedText(), "読み込み完了。") << "a click selects the message";
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(box->textCursor().hasSelection()) << "the next click places the cursor";

    box->setPlainText("猫ascii colon");
    window.command(3)->click();
    EXPECT_FALSE(box->holdsMessage()) << "a refused designation is still the user's text";
}

// The note stays at least its minimum time and until the next key or click,
// whichever comes later: input during the minimum, after it, or none.
TEST_F(Editing, aRefusedTypedDesignationSaysWhyInANoteThatStays) {
    StayingNotice* note = window.notice();
    EXPECT_EQ(note->minimumShown(), 8000);
    note->setMinimumShown(300);
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    const auto refuse = [&] {
        window.text1()->setPlainText("星:yoru.png>黄");
        QTest::mouseClick(window.command(3), Qt::LeftButton);
        EXPECT_EQ(window.text1()->toPlainText(), "星:yoru.png>黄");
        EXPECT_TRUE(note->isVisible());
    };
    refuse();
    EXPECT_TRUE(note->text().contains("「:」が半角です")) << note->text().toStdString();
    EXPECT_TRUE(note->text().contains("白 黒 赤 青 黄 緑 紫 茶 水 灰 オ"));
    EXPECT_EQ(note->textFormat(), Qt::PlainText);
    EXPECT_LE(note->geometry().bottom(), window.text1()->geometry().top()) << "above Text1, never over it";
    // A key during the minimum: shown until the minimum ends.
    QTest::keyClick(window.text1(), Qt::Key_End);
    QTest::qWait(100);
    EXPECT_TRUE(note->isVisible());
    QTest::qWait(400);
    EXPECT_FALSE(note->isVisible());
    // No input: it stays past the minimum, until the next click.
    refuse();
    QTest::qWait(600);
    EXPECT_TRUE(note->isVisible());
    QTest::mouseClick(window.text1()->viewport(), Qt::LeftButton);
    EXPECT_FALSE(note->isVisible());
}

TEST_F(Editing, ctrlZTakesBackDesignationsOutsideTheTextBoxesAndTypingInside) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    designateHere("雨：＞青");
    window.core().Command7_Click();
    EXPECT_FALSE(window.undoAction()->isEnabled()) << "mirrored after the next handler";
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    EXPECT_TRUE(window.undoAction()->isEnabled());
    window.text1()->setFocus();
    window.text1()->clear();
    QTest::keyClicks(window.text1(), "xyz");
    QTest::keyClick(window.text1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.core().state().WordTable[0], "") << "inside a text box Ctrl+Z is the box's";
    EXPECT_NE(window.text1()->toPlainText(), "xyz");
    window.command(5)->setFocus();
    QTest::keyClick(window.command(5), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.core().state().WordTable[0], "雨");
    EXPECT_EQ(window.text2()->toPlainText(), "元に戻しました：単語消す");
    EXPECT_EQ(window.undoAction()->toolTip(), "元に戻す：単語指定「雨」");
    QTest::keyClick(window.command(5), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.core().state().WordCount, 0);
    EXPECT_FALSE(window.undoAction()->isEnabled());

    // Ctrl+D opens the dialog from anywhere, the input box included.
    bool opened = false;
    onModal<DesignationDialog>([&](DesignationDialog* d) { opened = true, d->reject(); });
    window.text1()->setFocus();
    QTest::keyClick(window.text1(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(opened);
}

TEST_F(Editing, f1ShowsTheGuideWithItsPicturesAndTheAboutBoxNamesVersionAndCredits) {
    useOurPictures();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F1);
    auto* help = qobject_cast<HelpWindow*>(window.helpWindow());
    ASSERT_TRUE(help && help->isVisible());
    const QString text = help->browser()->toPlainText();
    for (const char* part : {"二つの画面", "雨：rain.png＞青", "十一の色", "Ctrl+D", "本と置き場所", "「オ」"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(text.contains(bookPath("").chopped(1))) << "where this copy keeps its books";
    for (const char* picture : {"player.png", "reading.png", "colours.png", "example.png"}) {
        const QVariant image = help->browser()->document()->resource(QTextDocument::ImageResource,
                                                                     QUrl(QStringLiteral("guide:") + picture));
        EXPECT_FALSE(image.value<QImage>().isNull()) << picture;
    }
    help->resize(600, 700);
    screenshot(help, "velreader-help");
    help->browser()->scrollToAnchor("words");
    screenshot(help, "velreader-help-words");
    window.aboutAction()->trigger();
    QWidget* about = window.aboutDialog();
    ASSERT_TRUE(about && about->isVisible());
    QString shown;
    for (QLabel* label : about->findChildren<QLabel*>()) shown += label->text();
    EXPECT_TRUE(shown.contains("Velin-Reader Ver 1.0") && shown.contains("1.0.0") && shown.contains("CC BY 4.0") &&
                shown.contains("MIT") && shown.contains("Woolmere team"))
        << shown.toStdString();
    screenshot(about, "velreader-about");
    window.close();
    EXPECT_FALSE(help->isVisible() || about->isVisible()) << "they close with the reader";
}

}  // namespace
}  // namespace velreader::testing
