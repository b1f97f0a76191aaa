// The real window: controls at their places, events forwarded to the core,
// and listings that neither re-enter nor break on closing.
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "reader/window/vreader3.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

class Window : public ReaderTest {
protected:
    Window() : window(appFolder()) { window.show(); }

    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void saveScreenshot(const QString& name) {
        const QByteArray folder = qgetenv("VELREADER_SCREENSHOTS");
        if (!folder.isEmpty()) window.grab().save(QString::fromLocal8Bit(folder) + u'/' + name);
    }

    VReader3 window;
};

TEST_F(Window, placesEveryControl) {
    EXPECT_EQ(window.windowTitle(), "Velin-Reader Ver 1.0");
    EXPECT_EQ(window.centralWidget()->size(), QSize(418, 304));
    const struct {
        QWidget* widget;
        QRect place;
    } places[] = {
        {window.tab(1), {7, 14, 67, 13}},       {window.tab(2), {77, 14, 78, 13}},
        {window.label("Label1"), {266, 0, 57, 22}}, {window.pmain(), {7, 28, 400, 200}},
        {window.text2(), {7, 28, 316, 200}},    {window.text1(), {7, 238, 316, 57}},
        {window.command(1), {331, 238, 78, 29}}, {window.command(2), {331, 238, 78, 29}},
        {window.command(3), {331, 266, 78, 29}}, {window.command(4), {331, 266, 78, 29}},
        {window.command(5), {331, 28, 78, 29}},  {window.command(6), {331, 63, 78, 29}},
        {window.command(7), {331, 98, 78, 29}},
    };
    for (const auto& p : places) EXPECT_EQ(p.widget->geometry(), p.place) << p.widget->metaObject()->className();
    EXPECT_EQ(window.label("LTitle")->pos(), QPoint(151, 84));
    EXPECT_EQ(window.label("Lfname")->pos(), QPoint(210, 14));
    EXPECT_EQ(window.command(1)->toolTip(), "左のフォームにある文章を読み込みます。");
    EXPECT_EQ(window.text1()->toolTip(), "ここに文章を読み込んだり、指定単語を記入します。");
    EXPECT_EQ(QFontInfo(window.text1()->font()).family(), "IPAGothic");
    EXPECT_EQ(QFontInfo(window.text2()->font()).family(), "IPAPGothic");
    EXPECT_TRUE(window.label("LTitle")->font().bold());
    EXPECT_EQ(window.saveAction()->text(), "セーブ");
    EXPECT_EQ(window.loadAction()->text(), "ロード");
}

TEST_F(Window, tabsSwitchTheViews) {
    EXPECT_TRUE(window.pmain()->isVisible());
    EXPECT_FALSE(window.text2()->isVisible());
    EXPECT_TRUE(window.command(2)->isVisible());
    EXPECT_FALSE(window.command(1)->isVisible());
    saveScreenshot("player_start.png");
    click(window.tab(2));
    EXPECT_FALSE(window.pmain()->isVisible());
    EXPECT_TRUE(window.text2()->isVisible());
    for (int n : {1, 3, 5, 6, 7}) EXPECT_TRUE(window.command(n)->isVisible()) << n;
    for (int n : {2, 4}) EXPECT_FALSE(window.command(n)->isVisible()) << n;
    EXPECT_TRUE(window.tab(2)->autoFillBackground());
    EXPECT_FALSE(window.tab(1)->autoFillBackground());
    click(window.tab(1));
    EXPECT_TRUE(window.pmain()->isVisible());
}

TEST_F(Window, readsTypedTextAndPlaysIt) {
    writePicture("umi.png", QColor(40, 90, 200));
    click(window.tab(2));
    window.text1()->setPlainText("海：umi.png＞白");
    click(window.command(3));
    EXPECT_EQ(window.core().state().PictureTable[0], "umi.png＞白");
    EXPECT_EQ(window.text2()->toPlainText(), "指定語＞海\n絵ファイルの名前＞umi.png＞白(0)");
    window.text1()->setPlainText("ひつじの旅\n\n丘の上から海を見ました。\n");
    click(window.command(1));
    EXPECT_EQ(window.label("Label1")->text(), "2");
    EXPECT_EQ(window.label("LTitle")->text(), "ひつじの旅");
    EXPECT_EQ(window.text1()->toPlainText(), "読み込み完了。");
    EXPECT_EQ(window.text2()->toPlainText(), "OK");
    saveScreenshot("reading_view.png");

    click(window.tab(1));
    click(window.command(2));
    click(window.command(2));
    EXPECT_FALSE(window.label("LTitle")->isVisible());
    EXPECT_EQ(window.pmain()->image().pixel(399, 199), qRgb(40, 90, 200));
    saveScreenshot("player_playing.png");
    click(window.command(2));
    EXPECT_FALSE(window.command(2)->isEnabled());
    click(window.command(4));
    EXPECT_TRUE(window.command(2)->isEnabled());
    EXPECT_TRUE(window.label("LTitle")->isVisible());
}

TEST_F(Window, clicksDuringAListingAreIgnoredAndClosingIsSafe) {
    window.core().setPumpInterval(0);
    click(window.tab(2));
    window.text1()->setPlainText(numberedLines(3000));
    // These run from inside the listing's event processing.
    QTimer::singleShot(0, &window, [&] {
        EXPECT_TRUE(window.core().busy());
        EXPECT_TRUE(window.text1()->isReadOnly());
        window.text1()->setPlainText("猫：neko.png");
        click(window.command(3));
        click(window.tab(1));
        window.close();
    });
    click(window.command(1));
    EXPECT_FALSE(window.core().busy());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.core().state().WordCount, 0);
    EXPECT_EQ(window.core().state().LineCount, 3000);
    EXPECT_TRUE(window.core().controls().L2.opaque);
    EXPECT_FALSE(window.text1()->isReadOnly());
}

TEST_F(Window, playsTheSampleBook) {
    const QString assets = QStringLiteral(VELREADER_ASSETS);
    VReader3 sample(assets + u'/');
    sample.core().setFileDialog([&](const FileDialogRequest&) { return assets + "/Book/hitsuji_no_tabi.vln"; });
    sample.show();
    sample.loadAction()->trigger();
    EXPECT_EQ(sample.text1()->toPlainText(), "ロード完了。");
    EXPECT_EQ(sample.label("Lfname")->text(), "Filename-hitsuji_no_tabi.vln");
    int steps = 0;
    while (sample.command(2)->isEnabled() && steps < 100) {
        QTest::mouseClick(sample.command(2), Qt::LeftButton);
        ++steps;
        if (steps == 5 || steps == 12 || steps == 20 || steps == 24) {
            const QByteArray folder = qgetenv("VELREADER_SCREENSHOTS");
            if (!folder.isEmpty()) sample.grab().save(QStringLiteral("%1/sample_%2.png").arg(folder).arg(steps));
        }
    }
    EXPECT_EQ(steps, sample.core().state().LineCount + 1);
    EXPECT_NE(sample.core().pagePicture(), sample.core().blankPage());
}

}  // namespace
}  // namespace velreader::testing
