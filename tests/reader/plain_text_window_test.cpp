// The user's texts in the reader window and its dialogs show as typed, never
// as markup: titles, file names, words and picture names.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "reader/ui/designation_list.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"
#include "tests/common/shown_as_typed.h"
#include "window_helpers.h"

namespace velreader::testing {
namespace {

using common::testing::expectShownAsTyped;

TEST_F(ReaderTest, titlesFileNamesWordsAndPicturesShowAsTypedInTheWindowAndItsDialogs) {
    VReader3 window(appFolder());
    window.show();
    for (const QString& markup : {QStringLiteral("<b>羊</b>"), QStringLiteral("<script>x</script>"), QStringLiteral("&amp;")}) {
        SCOPED_TRACE(markup.toStdString());
        // A file name cannot hold "/".
        const QString name = QString(markup).replace(u'/', u'_');
        const QString title = QStringLiteral("特殊文字のテスト") + markup;
        QTest::mouseClick(window.tab(2), Qt::LeftButton);
        window.text1()->setPlainText(title + "\n" + markup + "が来た");
        window.command(1)->click();
        window.text1()->setPlainText(markup + "：" + name + ".png＞赤");
        window.command(3)->click();
        window.core().setFileDialog([&](const FileDialogRequest&) { return bookPath(name + ".vln"); });
        window.saveAction()->trigger();
        QTest::mouseClick(window.tab(1), Qt::LeftButton);

        const QLabel* shownTitle = window.label("LTitle");
        EXPECT_EQ(shownTitle->textFormat(), Qt::PlainText);
        EXPECT_TRUE(shownTitle->text() == title || common::testing::shownToolTip(shownTitle->toolTip()) == title)
            << shownTitle->text().toStdString();
        EXPECT_EQ(window.label("Lfname")->text(), "Filename:" + name + ".vln");
        EXPECT_GE(expectShownAsTyped(&window, markup), 1);
        EXPECT_GE(expectShownAsTyped(&window, name + ".vln"), 1);

        int places = 0;
        onModal<DesignationList>([&](DesignationList* list) {
            places = expectShownAsTyped(list, markup) + expectShownAsTyped(list, name + ".png");
            list->reject();
        });
        window.listAction()->trigger();
        EXPECT_GE(places, 1) << "the list's undo names the word";
    }
}

}  // namespace
}  // namespace velreader::testing
