// 記録 > "Webページとして書き出す..." in the real window: the dialog's start,
// the name it gives, the message in the input box, and a window that goes on
// (and may close) while a page is written.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader/ui/web_export.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

class ExportWindow : public ReaderTest {
protected:
    ExportWindow() : window(appFolder()) {
        window.show();
        exporter = window.findChild<WebExport*>();
        exporter->setPathChooser([this](const QString& start) {
            startPaths << start;
            return chosen;
        });
    }
    QAction* menuItem() {
        for (QAction* menu : window.menuBar()->actions())
            if (menu->text() == u"記録")
                for (QAction* item : menu->menu()->actions())
                    if (item->text() == u"Webページとして書き出す...") return item;
        return nullptr;
    }
    void loadBook(const QStringList& lines) {
        window.text1()->setPlainText(lines.join(u'\n'));
        QTest::mouseClick(window.tab(2), Qt::LeftButton);
        window.command(1)->click();
        window.core().setFileDialog([this](const FileDialogRequest&) { return bookPath("tabi.vln"); });
        window.saveAction()->trigger();
        window.loadAction()->trigger();
        QTest::mouseClick(window.tab(1), Qt::LeftButton);
    }
    bool waitForExport() {
        QSignalSpy finished(exporter, &WebExport::finished);
        return exporter->running() ? finished.wait(20000) : true;
    }

    VReader3 window;
    WebExport* exporter = nullptr;
    QStringList startPaths;
    QString chosen;
};

TEST_F(ExportWindow, theRecordMenuWritesThePageAndTheInputBoxSaysWhatItHolds) {
    writePicture("umi.png", Qt::blue);
    loadBook({"ひつじの旅", "海を見ました。星も見ました。"});
    window.text1()->setPlainText("海：umi.png＞青");
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    window.command(3)->click();
    window.text1()->setPlainText("星：hoshi.png");
    window.command(3)->click();
    QTest::mouseClick(window.tab(1), Qt::LeftButton);
    window.command(2)->click();
    const ReaderState state = window.core().state();

    QAction* item = menuItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    chosen = bookPath("tabi");  // typed without an extension
    item->trigger();
    EXPECT_FALSE(item->isEnabled()) << "one export at a time";
    ASSERT_TRUE(waitForExport());
    EXPECT_TRUE(item->isEnabled());

    // The dialog starts in the book folder with the book's name.
    EXPECT_EQ(startPaths, QStringList{bookPath("tabi.html")});
    const QFileInfo written(bookPath("tabi.html"));
    ASSERT_TRUE(written.isFile());
    EXPECT_EQ(window.text1()->toPlainText(),
              QStringLiteral("書き出し完了。\ntabi.html（%1 バイト）\n絵：umi.png\n見つからない絵：hoshi.png")
                  .arg(written.size()));
    EXPECT_EQ(window.core().state(), state) << "the export changes nothing of the reader";
}

TEST_F(ExportWindow, ctrlEAsksForTheFileAndCancelWritesNothing) {
    loadBook({"一行"});
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.pmain()->setFocus();
    window.text1()->setPlainText("そのまま");
    QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(startPaths.size(), 1);
    EXPECT_FALSE(exporter->running());
    EXPECT_EQ(window.text1()->toPlainText(), "そのまま");
    EXPECT_EQ(QDir(appFolder() + "Book").entryList({"*.html"}), QStringList());
}

TEST_F(ExportWindow, withoutATextNothingIsAsked) {
    chosen = bookPath("empty.html");
    menuItem()->trigger();
    EXPECT_TRUE(startPaths.isEmpty());
    EXPECT_EQ(window.text1()->toPlainText(), "書き出す文章がありません。");
}

TEST_F(ExportWindow, aFailedWriteSaysWhyInTheInputBox) {
    loadBook({"一行"});
    chosen = appFolder() + "missing/page.html";
    menuItem()->trigger();
    ASSERT_TRUE(waitForExport());
    EXPECT_TRUE(window.text1()->toPlainText().startsWith("書き出せませんでした：" + chosen + "："));
}

TEST_F(ExportWindow, theWindowPlaysOnWhileABigBookIsWrittenAndMayClose) {
    window.core().controls().Text1.text = toCrLf(numberedLines(60000, QStringLiteral("ひつじが丘を歩いていく、その")));
    window.core().Command1_Click();
    window.core().Command4_Click();
    chosen = bookPath("big.html");
    menuItem()->trigger();
    // A play step while the page is being written; the export has its own copy.
    window.command(2)->click();
    EXPECT_EQ(window.core().state().CurrentLine, 1);
    ASSERT_TRUE(waitForExport());
    EXPECT_TRUE(window.text1()->toPlainText().startsWith("書き出し完了。"));

    // Closed in the middle of an export: the page is written whole or not at all.
    auto closing = std::make_unique<VReader3>(appFolder());
    closing->core().controls().Text1.text = toCrLf(numberedLines(60000));
    closing->core().Command1_Click();
    closing->findChild<WebExport*>()->setPathChooser([this](const QString&) { return bookPath("closing.html"); });
    closing->findChild<WebExport*>()->action()->trigger();
    closing.reset();
    QFile file(bookPath("closing.html"));
    if (file.open(QIODevice::ReadOnly)) {
        EXPECT_TRUE(file.readAll().endsWith("</html>\n"));
    }
}

// The sample book with its four pictures; with VELREADER_SCREENSHOTS=folder
// also the window after five steps, to be seen beside the exported page.
TEST_F(ExportWindow, theSampleBookGoesOutWithItsFourPictures) {
    for (const char* name : {"asa.png", "mori.png", "umi.png", "yoru.png"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELREADER_ASSETS "/E/") + name, picturePath(name)));
    window.openFile(QStringLiteral(VELREADER_ASSETS "/Book/hitsuji_no_tabi.vln"));
    chosen = bookPath("hitsuji_no_tabi.html");
    menuItem()->trigger();
    ASSERT_TRUE(waitForExport());
    EXPECT_TRUE(window.text1()->toPlainText().endsWith("\n絵：asa.png、mori.png、umi.png、yoru.png"));
    for (int i = 0; i < 5; ++i) window.command(2)->click();
    const QString folder = qEnvironmentVariable("VELREADER_SCREENSHOTS");
    if (!folder.isEmpty()) window.grab().save(folder + "/reader-step5.png");
}

}  // namespace
}  // namespace velreader::testing
