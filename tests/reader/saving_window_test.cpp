// Saving in the real window: the replace question as the user sees it, the
// keys of "上書きセーブ" and "セーブ", the export's question, and a text
// pasted into the listing box that a reading leaves alone. With
// VELREADER_SCREENSHOTS=folder the tests save screenshots there.
#include <QAbstractButton>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "common/cp932.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader/ui/web_export.h"
#include "reader_fixture.h"
#include "window_helpers.h"

namespace velreader::testing {
namespace {

class SavingWindow : public ReaderTest {
protected:
    SavingWindow() : window(appFolder()) {
        window.show();
        window.core().setFileDialog([this](const FileDialogRequest& request) { return requests << request, chosen; });
    }
    void readInWindow(const QString& text) {
        QTest::mouseClick(window.tab(2), Qt::LeftButton);
        window.text1()->setPlainText(text);
        window.command(1)->click();
    }
    // Answers the next replace question with the button `caption`, noting
    // what it showed.
    void answerReplace(const QString& caption, const QString& shot = {}) {
        onModal<QMessageBox>([this, caption, shot](QMessageBox* box) {
            shown = box->text();
            format = box->textFormat();
            buttons.clear();
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            if (!shot.isEmpty()) screenshot(box, shot);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == caption) b->click();
        });
    }

    VReader3 window;
    QString chosen;
    QList<FileDialogRequest> requests;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QStringList buttons;
};

// A name made of markup is shown as typed; キャンセル keeps the other book,
// 置き換える replaces it; the open book is written again without a word.
TEST_F(SavingWindow, theReplaceQuestionShowsTheNameAsTypedAndOnlyItsReplaceButtonReplaces) {
    for (const QString& name : {QStringLiteral("<b>太字.vln"), QStringLiteral("<script>x.vln"),
                               QStringLiteral("a&amp;b.vln")}) {
        SCOPED_TRACE(name.toStdString());
        readInWindow("前からある本");
        chosen = bookPath(name);
        window.saveAction()->trigger();
        const QByteArray before = readBytes(chosen);
        ASSERT_FALSE(before.isEmpty());
        readInWindow("新しい本");
        chosen = bookPath(QString::number(qHash(name)) + ".vln");
        window.saveAction()->trigger();  // the open book is now another one
        chosen = bookPath(name);
        const bool first = name.startsWith(u"<b>");
        answerReplace(QStringLiteral("キャンセル"), first ? QStringLiteral("velreader-replace-question") : QString());
        window.saveAction()->trigger();
        EXPECT_EQ(readBytes(chosen), before);
        EXPECT_EQ(shown, QStringLiteral("「%1」はもうあります。置き換えますか？").arg(name));
        EXPECT_EQ(format, Qt::PlainText);
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{"キャンセル", "置き換える"}));
        EXPECT_EQ(window.core().openBook(), bookPath(QString::number(qHash(name)) + ".vln"));
        answerReplace(QStringLiteral("置き換える"));
        window.saveAction()->trigger();
        EXPECT_NE(readBytes(chosen), before);
        EXPECT_EQ(window.text1()->toPlainText(), "セーブ完了。");
        // The book now open: Ctrl+S writes it, no dialog, no question.
        shown.clear();
        requests.clear();
        readInWindow("もう一度");
        window.overwriteAction()->trigger();
        EXPECT_TRUE(requests.isEmpty());
        EXPECT_TRUE(shown.isEmpty());
        EXPECT_TRUE(readBytes(chosen).contains("\r\n" + cp932::encode(QStringLiteral("もう一度")).bytes + "\r\n"));
    }
    EXPECT_EQ(window.overwriteAction()->text(), "上書きセーブ");
    EXPECT_EQ(window.overwriteAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(window.saveAction()->text(), "セーブ");
    EXPECT_EQ(window.saveAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
}

// The export asks the same question before it replaces a page.
TEST_F(SavingWindow, theExportAsksBeforeItReplacesAPage) {
    readInWindow("書き出す本");
    auto* exporter = window.findChild<WebExport*>();
    const QString page = bookPath("page.html");
    writeFile(page, "old page");
    exporter->setPathChooser([&](const QString&) { return page; });
    QStringList asked;
    bool agree = false;
    exporter->setReplaceQuestion([&](const QString& name) { return asked << name, agree; });
    exporter->start();
    EXPECT_FALSE(exporter->running());
    EXPECT_EQ(readBytes(page), "old page");
    agree = true;
    QSignalSpy finished(exporter, &WebExport::finished);
    exporter->start();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(readBytes(page).startsWith("<!DOCTYPE html>"));
    EXPECT_EQ(asked, (QStringList{"page.html", "page.html"}));
}

// A text pasted into the listing box stays through a reading of the empty
// input box, which says where texts go; typed into the input box, it reads.
TEST_F(SavingWindow, aTextPastedIntoTheListingBoxSurvivesAReadingOfTheEmptyInputBox) {
    readInWindow("前の本");
    const QStringList lines = window.core().state().DisplayLines;
    const QString pasted = QStringLiteral("羊が一匹、柵を越えた。\r\n羊が二匹、柵を越えた。\r\n羊が三匹、柵を越えた。");
    QApplication::clipboard()->setText(pasted);
    window.text2()->selectAll();
    window.text2()->paste();
    window.text1()->setPlainText("");
    window.command(1)->click();
    EXPECT_EQ(window.text2()->currentText(), pasted);
    EXPECT_EQ(window.text1()->toPlainText(), "読み込む文章は下の入力欄に入れてください（上の欄は一覧です）。");
    EXPECT_EQ(window.core().state().DisplayLines, lines);
    screenshot(&window, "velreader-pasted-text");
    // Other handlers of the reading view leave it alone too.
    window.command(3)->click();
    EXPECT_EQ(window.text2()->currentText(), pasted);
    // The message is the reader's: a paste into the input box replaces it.
    window.text1()->selectAll();
    window.text1()->paste();
    window.command(1)->click();
    EXPECT_EQ(window.core().state().DisplayLines.first(), "羊が一匹、柵を越えた。");
    EXPECT_EQ(window.text2()->toPlainText(), "OK");
}

}  // namespace
}  // namespace velreader::testing
