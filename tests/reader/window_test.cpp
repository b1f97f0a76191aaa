// The real window: controls at their places, events forwarded to the core,
// listings that neither re-enter nor break on closing. With
// VELREADER_SCREENSHOTS=folder the tests also save screenshots there.
#include <QAccessible>
#include <QApplication>
#include <QStringEncoder>
#include <QMenu>
#include <QMenuBar>
#include <QWheelEvent>
#include <QFontInfo>
#include <QMimeData>
#include <QUrl>
#include <QTextCursor>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/cp932.h"
#include "common/ui/translations.h"
#include "common/ui/window_zoom.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"
#include "window_helpers.h"

namespace velreader::testing {
namespace {

void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

class Window : public ReaderTest {
protected:
    Window() : window(appFolder()) {
        // No one answers questions here: unsaved work is let go.
        window.core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
        window.show();
    }
    VReader3 window;
};

TEST_F(Window, showsTheControlsOfTheActiveView) {
    EXPECT_EQ(window.windowTitle(), "Velin-Reader Ver 1.0");
    EXPECT_EQ(window.windowIcon().availableSizes().size(), 4) << "our own icon, 16 to 64 pixels";
    EXPECT_EQ(window.centralWidget()->size(), QSize(418, 304));
    // Buttons that share a place: exactly one of each pair shows in either view.
    EXPECT_EQ(window.command(1)->geometry(), window.command(2)->geometry());
    EXPECT_EQ(window.command(3)->geometry(), window.command(4)->geometry());
    EXPECT_EQ(window.command(1)->toolTip(), "左のフォームにある文章を読み込みます。");
    EXPECT_EQ(QFontInfo(window.text1()->font()).family(), "IPAGothic");
    EXPECT_EQ(QFontInfo(window.text2()->font()).family(), "IPAPGothic");
    screenshot(&window, "player_start");
    click(window.tab(2));
    EXPECT_FALSE(window.pmain()->isVisible());
    EXPECT_TRUE(window.text2()->isVisible() && window.command(1)->isVisible() && window.command(3)->isVisible());
    EXPECT_FALSE(window.command(2)->isVisible() || window.command(4)->isVisible());
    EXPECT_TRUE(window.tab(2)->autoFillBackground());
    EXPECT_FALSE(window.tab(1)->autoFillBackground());
    click(window.tab(1));
    EXPECT_TRUE(window.pmain()->isVisible() && window.command(2)->isVisible());
}

// The text boxes hold LF line breaks; the handlers see and write CR LF.
TEST_F(Window, passesTypedTextToTheHandlersAndShowsTheirResults) {
    writePicture("umi.png", Qt::blue);
    click(window.tab(2));
    window.text1()->setPlainText("海：umi.png＞白");
    click(window.command(3));
    EXPECT_EQ(window.text2()->toPlainText(), "指定語＞海\n絵ファイルの名前＞umi.png＞白(0)");
    window.text1()->setPlainText("ひつじの旅\n\n丘の上から海を見ました。\n");
    click(window.command(1));
    EXPECT_EQ(window.core().state().DisplayLines, (QStringList{"ひつじの旅", "丘の上から海を見ました。", ""}));
    EXPECT_EQ(window.label("Label1")->text(), "2");
    EXPECT_EQ(window.text1()->toPlainText(), "読み込み完了。");
    click(window.tab(1));
    for (int i = 0; i < 3; ++i) click(window.command(2));
    EXPECT_FALSE(window.label("LTitle")->isVisible() || window.command(2)->isEnabled());
}

TEST_F(Window, clicksDuringAListingAreIgnoredAndClosingIsSafe) {
    window.core().setPumpInterval(0);
    click(window.tab(2));
    window.text1()->setPlainText(numberedLines(3000));
    QTimer::singleShot(0, &window, [&] {  // runs inside the listing's event processing
        EXPECT_TRUE(window.core().busy() && window.text1()->isReadOnly());
        window.text1()->setPlainText("猫：neko.png");
        click(window.command(3));
        click(window.tab(1));
        window.close();
    });
    click(window.command(1));
    EXPECT_FALSE(window.core().busy() || window.isVisible() || window.text1()->isReadOnly());
    EXPECT_EQ(window.core().state().WordCount, 0);
    EXPECT_EQ(window.core().state().LineCount, 3000);
    EXPECT_TRUE(window.core().controls().L2.opaque);
}

// Whatever the user typed into the listing box, the next handler's text
// reaches it, also when it is the same text the box showed before.
TEST_F(Window, everyHandlersTextReachesTheListingBoxOverWhatWasTyped) {
    click(window.tab(2));
    window.text1()->setPlainText("ひつじ");
    click(window.command(1));
    EXPECT_EQ(window.text2()->toPlainText(), "OK");
    window.text2()->setFocus();
    window.text2()->moveCursor(QTextCursor::End);
    QTest::keyClicks(window.text2(), "typed");
    window.text1()->setPlainText("ひつじ");
    click(window.command(1));
    EXPECT_EQ(window.text2()->toPlainText(), "OK") << "a second reading says OK again";
    click(window.command(7));
    QTest::keyClicks(window.text2(), "more");
    click(window.command(7));
    EXPECT_EQ(window.text2()->toPlainText(), "全て消しました。");
}

// A title that would run past the page frame is cut with "…" at the frame;
// the tooltip and the accessible name hold it whole.
TEST_F(Window, aLongTitleIsCutAtThePageFrameAndHeldWholeElsewhere) {
    const QString longTitle = QString(29, u'羊') + "!";
    window.text1()->setPlainText(longTitle + "\n本文");
    click(window.tab(2));
    click(window.command(1));
    click(window.tab(1));
    QLabel* title = window.label("LTitle");
    EXPECT_TRUE(title->text().endsWith(u'…')) << title->text().toStdString();
    EXPECT_LE(title->geometry().right(), 407) << "inside the page frame";
    EXPECT_EQ(title->toolTip(), longTitle);
    EXPECT_EQ(title->accessibleName(), longTitle);
    screenshot(&window, "long_title");
    window.text1()->setPlainText("短い題");
    click(window.tab(2));
    click(window.command(1));
    EXPECT_EQ(title->text(), "短い題");
    EXPECT_TRUE(title->toolTip().isEmpty());
}

// A book or a text dropped on the window opens as the menu opens it.
TEST_F(Window, droppedBooksLoadAndDroppedTextsAreReadIn) {
    writeFile(appFolder() + "story.txt", QStringLiteral("落とした文章\n二行目").toUtf8());
    const auto drop = [&](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &dropped);
    };
    drop(appFolder() + "story.txt");
    EXPECT_EQ(window.core().state().DisplayLines, (QStringList{"落とした文章", "二行目", ""}));
    EXPECT_TRUE(window.text1()->toPlainText().endsWith("「story.txt」を UTF-8 のテキストとして開きました。"));
    window.core().setFileDialog([&](const FileDialogRequest&) { return bookPath("dropped.vln"); });
    window.saveAction()->trigger();
    window.text1()->setPlainText("別の文章");
    click(window.tab(2));
    click(window.command(1));
    drop(bookPath("dropped.vln"));
    EXPECT_EQ(window.text1()->toPlainText(), "ロード完了。");
    EXPECT_EQ(window.label("Lfname")->text(), "Filename-dropped.vln");
    EXPECT_EQ(window.core().state().DisplayLines.first(), "落とした文章");
}

TEST_F(Window, theRecordMenuOffersTexts) {
    EXPECT_EQ(window.openTextAction()->text(), "テキストを開く...");
    EXPECT_EQ(window.openTextAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(window.loadAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
}

// In the player view the page plays one line for each key, click or wheel
// notch, and none of them acts while "再生" is disabled or hidden.
TEST_F(Window, keysClicksAndTheWheelEachPlayExactlyOneLine) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.text1()->setPlainText(numberedLines(20));
    click(window.tab(2));
    click(window.command(1));
    click(window.tab(1));
    const auto line = [&] { return window.core().state().CurrentLine; };
    PageView* page = window.pmain();
    page->setFocus();
    int expected = 0;
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown}) {
        QTest::keyClick(page, key);
        EXPECT_EQ(line(), ++expected) << key;
    }
    QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_EQ(line(), ++expected);
    QTest::mouseClick(page, Qt::RightButton, {}, QPoint(200, 100));
    EXPECT_EQ(line(), expected) << "only the left button";
    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(100, 100), page->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(page, &event);
    };
    wheel(-120);
    EXPECT_EQ(line(), ++expected);
    wheel(-60);
    EXPECT_EQ(line(), expected) << "half a notch is no line yet";
    wheel(-60);
    EXPECT_EQ(line(), ++expected);
    wheel(240);
    expected -= 2;
    EXPECT_EQ(line(), expected) << "turning away steps back a line a notch";
    QTest::keyClick(page, Qt::Key_Home);
    EXPECT_EQ(line(), 0);
    EXPECT_EQ(window.core().state().PageLineCount, 0) << "Home rewinds";

    // To the end: "再生" goes off, and nothing plays any more.
    for (int i = 0; i <= 20; ++i) QTest::keyClick(page, Qt::Key_Space);
    ASSERT_FALSE(window.command(2)->isEnabled());
    const int rows = window.core().state().PageRowIndex;
    QTest::keyClick(page, Qt::Key_Space);
    QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(200, 100));
    wheel(-120);
    EXPECT_EQ(window.core().state().PageRowIndex, rows);

    // In the reading view the page is hidden, and typing stays typing.
    QTest::keyClick(page, Qt::Key_Home);
    click(window.tab(2));
    window.text1()->clear();
    window.text1()->setFocus();
    QTest::keyClicks(window.text1(), "a b");
    QTest::keyClick(window.text1(), Qt::Key_Return);
    QTest::keyClick(window.text1(), Qt::Key_Home);
    EXPECT_EQ(window.text1()->toPlainText(), "a b\n");
    EXPECT_EQ(line(), 0);
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(line(), 0) << "the play keys need the player view";
}

// A switch of views by key puts the keyboard on the view: the page, whose
// keys play at once, or the input box, which takes typing at once.
TEST_F(Window, ctrlKeysSwitchViewsWithTheFocusAndOpenTheBookCommands) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto focused = [] { return QApplication::focusWidget(); };
    window.text1()->setPlainText(numberedLines(5));
    QTest::keyClick(focused(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(window.core().controls().L2.opaque);
    EXPECT_EQ(focused(), window.text1());
    window.command(1)->click();
    for (const auto& [key, player] : {std::pair{Qt::Key_1, true}, {Qt::Key_Tab, false}, {Qt::Key_Tab, true}, {Qt::Key_2, false}}) {
        QTest::keyClick(focused(), key, Qt::ControlModifier);
        EXPECT_EQ(window.core().controls().L1.opaque, player);
        EXPECT_EQ(focused(), player ? static_cast<QWidget*>(window.pmain()) : window.text1());
        const int line = window.core().state().CurrentLine;
        const QString typed = window.text1()->toPlainText();
        QTest::keyClick(focused(), Qt::Key_Space);
        EXPECT_EQ(window.core().state().CurrentLine, line + (player ? 1 : 0));
        EXPECT_EQ(window.text1()->toPlainText() != typed, !player) << "typing only in the reading view";
    }
    QList<FileDialogRequest::Mode> asked;
    window.core().setFileDialog([&](const FileDialogRequest& r) { return asked << r.mode, QString(); });
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);  // no book open: as "セーブ"
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(asked, (QList<FileDialogRequest::Mode>{FileDialogRequest::Mode::Save, FileDialogRequest::Mode::Save,
                                                     FileDialogRequest::Mode::Open, FileDialogRequest::Mode::OpenText}));
}

TEST_F(Window, zoomScalesTheWholeWindowFromTheViewMenuOrTheKeys) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QSize one = window.size();
    QMenu* view = nullptr;
    for (QAction* a : window.menuBar()->actions())
        if (a->text() == "表示") view = a->menu();
    ASSERT_TRUE(view);
    QStringList items;
    for (QAction* a : view->actions()) items << a->text();
    EXPECT_TRUE(items.contains("拡大") && items.contains("縮小") && items.contains("標準の大きさ"));
    for (int zoom = 2; zoom <= 4; ++zoom) {
        QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_EQ(window.centralWidget()->size(), QSize(418, 304) * zoom);
        EXPECT_EQ(window.pmain()->geometry(), QRect(7 * zoom, 28 * zoom, 400 * zoom, 200 * zoom));
        EXPECT_EQ(window.command(2)->geometry(), QRect(331 * zoom, 238 * zoom, 78 * zoom, 29 * zoom));
        EXPECT_GE(window.width(), 418 * zoom);
    }
    EXPECT_DOUBLE_EQ(window.menuBar()->font().pointSizeF(), 9.0 * 4) << "the menus grow too";
    // The listing box, made when the reading view first shows, comes at the
    // zoom in force, under Text1 and next after it in the keyboard's order.
    click(window.tab(2));
    TextBox* listing = window.text2();
    EXPECT_TRUE(listing->isVisible());
    EXPECT_EQ(listing->geometry(), QRect(7 * 4, 28 * 4, 316 * 4, 200 * 4));
    EXPECT_DOUBLE_EQ(listing->font().pointSizeF(), 9.0 * 4);
    const QObjectList stack = window.form()->children();
    EXPECT_EQ(stack.indexOf(listing) + 1, stack.indexOf(window.text1()));
    const auto nextAfter = [](QWidget* widget) {  // the next that Tab reaches
        QWidget* next = widget->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
        return next;
    };
    EXPECT_EQ(nextAfter(window.text1()), listing);
    EXPECT_EQ(nextAfter(listing), window.command(1));
    click(window.tab(1));
    screenshot(&window, "zoom4");
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), one);
    // Full screen: the largest whole zoom that fits, centred, the menus with it.
    QTest::keyClick(&window, Qt::Key_F11);
    QTRY_VERIFY(window.isFullScreen());
    const QSize room = window.centralWidget()->size();
    const int fit = std::min(room.width() / 418, room.height() / 304);
    QTRY_COMPARE(window.zoom()->zoom(), fit);
    EXPECT_EQ(window.form()->geometry().center(), window.centralWidget()->rect().center());
    EXPECT_DOUBLE_EQ(window.menuBar()->font().pointSizeF(), 9.0 * fit);
    QTest::keyClick(&window, Qt::Key_Escape);
    QTRY_VERIFY(!window.isFullScreen());
    QTRY_COMPARE(window.size(), one);
}

// A screen reader reads along: the page tells the line just printed and
// the rows on it.
TEST_F(Window, everyControlHasANameAndThePageDescribesWhatItShows) {
    for (int i = 1; i <= 7; ++i) {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(window.command(i));
        EXPECT_FALSE(button->text(QAccessible::Name).isEmpty()) << i;
    }
    EXPECT_EQ(window.pmain()->accessibleName(), "ページ");
    EXPECT_EQ(window.text1()->accessibleName(), "入力欄");
    EXPECT_EQ(window.text2()->accessibleName(), "一覧");
    window.text1()->setPlainText("一行目\n" + QString(45, u'長'));
    click(window.tab(2));
    click(window.command(1));
    click(window.tab(1));
    click(window.command(2));
    EXPECT_EQ(window.pmain()->accessibleDescription(), "再生した行：一行目\nページの行：\n一行目");
    click(window.command(2));
    EXPECT_EQ(window.pmain()->accessibleDescription(),
              "再生した行：" + QString(30, u'長') + "\nページの行：\n一行目\n" + QString(30, u'長'));
    QAccessibleInterface* page = QAccessible::queryAccessibleInterface(window.pmain());
    EXPECT_TRUE(page->text(QAccessible::Description).startsWith("再生した行："));
}

// What a save says reaches the input box: the replaced look-alikes, and a
// refusal with each character and its place.
TEST_F(Window, saveMessagesShowInTheInputBox) {
    window.core().setFileDialog([&](const FileDialogRequest&) { return bookPath("messages.vln"); });
    window.text1()->setPlainText("波〜線と−記号—ダッシュ\n¥100");
    click(window.tab(2));
    click(window.command(1));
    window.saveAction()->trigger();
    const QString replaced = window.text1()->toPlainText();
    EXPECT_TRUE(replaced.startsWith("セーブ完了。\nShift-JIS で同じ文字に戻らない文字を、似た文字に置き換えて保存しました：\n"))
        << replaced.toStdString();
    screenshot(&window, "save_replaced");
    window.text1()->setPlainText("絵文字😀と©記号\n二行目é");
    click(window.command(1));
    window.saveAction()->trigger();
    const QString refused = window.text1()->toPlainText();
    EXPECT_TRUE(refused.startsWith("セーブできません：")) << refused.toStdString();
    EXPECT_TRUE(refused.contains("「😀」U+1F600（表示行 1 の 4 文字目）"));
    screenshot(&window, "save_refused");
}

// A file named on the command line, as the program opens it: a book, texts
// in each encoding, and files that are no text at all.
TEST_F(Window, aFileFromTheCommandLineOpensAsABookOrATextOrSaysWhyNot) {
    const QString text = QStringLiteral("ひつじの旅\n朝の光");
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    writeFile(appFolder() + "utf8.txt", text.toUtf8());
    writeFile(appFolder() + "sjis.txt", cp932::encode(text).bytes);
    writeFile(appFolder() + "utf16.txt", QByteArray("\xFF\xFE") + QByteArray(utf16.encode(text)));
    writeFile(appFolder() + "broken.txt", QByteArray("\x82\x20\xFF\xFE\x80", 5));
    const struct {
        QString file;
        const char* says;
    } cases[] = {
        {appFolder() + "utf8.txt", "を UTF-8 のテキストとして開きました。"},
        {appFolder() + "sjis.txt", "を Shift-JIS のテキストとして開きました。"},
        {appFolder() + "utf16.txt", "を UTF-16 のテキストとして開きました。"},
    };
    for (const auto& c : cases) {
        window.openFile(c.file);
        EXPECT_EQ(window.core().state().DisplayLines, (QStringList{"ひつじの旅", "朝の光", ""})) << c.file.toStdString();
        EXPECT_TRUE(window.text1()->toPlainText().endsWith(QString::fromUtf8(c.says))) << window.text1()->toPlainText().toStdString();
    }
    for (const QString& refused : {appFolder() + "broken.txt", appFolder() + "missing.txt", QStringLiteral("/dev/zero"),
                                   appFolder() + "Book"}) {
        window.openFile(refused);
        EXPECT_TRUE(window.text1()->toPlainText().startsWith("テキストを開けません：" + refused + "："))
            << window.text1()->toPlainText().toStdString();
        EXPECT_EQ(window.core().state().DisplayLines.first(), "ひつじの旅") << "the text before stays";
    }
    window.core().setFileDialog([&](const FileDialogRequest&) { return bookPath("cli.vln"); });
    window.saveAction()->trigger();
    VReader3 second(appFolder());
    second.openFile(bookPath("cli.vln"));
    EXPECT_EQ(second.text1()->toPlainText(), "ロード完了。");
    EXPECT_EQ(second.label("Lfname")->text(), "Filename-cli.vln");
}

// The sample book loads, names only pictures that ship, and plays to its end.
TEST(SampleBookWindow, playsToTheEnd) {
    const QString assets = QStringLiteral(VELREADER_ASSETS);
    VReader3 sample(assets + u'/');
    sample.core().setFileDialog([&](const FileDialogRequest&) { return assets + "/Book/hitsuji_no_tabi.vln"; });
    sample.show();
    sample.loadAction()->trigger();
    EXPECT_EQ(sample.text1()->toPlainText(), "ロード完了。");
    EXPECT_EQ(sample.label("Lfname")->text(), "Filename-hitsuji_no_tabi.vln");
    int steps = 0;
    while (sample.command(2)->isEnabled() && steps < 100) {
        click(sample.command(2));
        if (++steps % 4 == 0) screenshot(&sample, QStringLiteral("sample_%1").arg(steps, 2, 10, QChar(u'0')));
    }
    EXPECT_EQ(steps, sample.core().state().LineCount + 1);
    PictureStore pictures({assets + "/E/"});
    for (const QString& entry : sample.core().state().PictureTable) {
        const QString name = entry.section(u'＞', 0, 0);
        EXPECT_TRUE(name.isEmpty() || !pictures.load(name, {400, 200}).isNull()) << name.toStdString();
    }
}

}  // namespace
}  // namespace velreader::testing
