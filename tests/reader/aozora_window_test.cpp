// Aozora Bunko texts and finding in the real window: the menu items and
// keys, the preferences, the position bar's mark. With
// VELREADER_SCREENSHOTS=folder the last test saves screenshots there.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QRadioButton>
#include <QKeySequence>
#include <QTest>

#include "common/cp932.h"
#include "common/settings.h"
#include "common/ui/window_zoom.h"
#include "reader/ui/position_bar.h"
#include "reader/ui/preferences_dialog.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"

namespace velreader::testing {
namespace {

QString settingsFile() { return common::SettingsStore::userFile(QStringLiteral("velreader")); }

// A short text of our own in the library's notation: ruby on most lines and
// a signature set against the foot of the line.
QString shepherdsLetter() {
    const QString dashes(55, u'-');
    return QStringList{
        "羊飼いの手紙", "山野ひつじ", dashes, "【テキスト中に現れる記号について】", "《》：ルビ", dashes, "",
        "［＃３字下げ］一［＃「一」は中見出し］", "",
        "　拝啓。高原《こうげん》の牧場《まきば》にも、ようやく春が来ました。",
        "　子羊《こひつじ》たちは柵《さく》の外の若草《わかくさ》を眺《なが》めて、毎朝落ち着きません。",
        "　昨日は霧《きり》の中で一頭がはぐれ、小川《おがわ》のほとりで〔cafe'〕色の花を食べていました。",
        "　どうぞお体を大切《たいせつ》に。", "［＃地付き］敬具", "［＃地から２字上げ］羊飼いより"}
        .join(QStringLiteral("\r\n"));
}

class AozoraWindow : public ReaderTest {
protected:
    AozoraWindow() {
        QFile::remove(settingsFile());
        window = std::make_unique<VReader3>(appFolder());
        window->core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
        window->show();
        path = appFolder() + "letter.txt";
        writeFile(path, cp932::encode(shepherdsLetter()).bytes);
    }
    ~AozoraWindow() override {
        window->close();
        QFile::remove(settingsFile());
    }
    const QStringList& lines() { return window->core().state().DisplayLines; }

    std::unique_ptr<VReader3> window;
    QString path;
};

TEST_F(AozoraWindow, thePreferencesDecideHowAFileIsReadAndAreKept) {
    window->openFile(path);
    EXPECT_EQ(lines().value(3), "　拝啓。高原（こうげん）の牧場（まきば）にも、ようやく春が来");
    ReaderPreferences p = window->preferences();
    p.rubyStyle = RubyStyle::Omit;
    window->setPreferences(p);
    window->openFile(path);
    EXPECT_EQ(lines().value(3), "　拝啓。高原の牧場にも、ようやく春が来ました。");
    p.interpretAozora = false;
    window->setPreferences(p);
    window->openFile(path);
    EXPECT_EQ(lines().value(2), QString(30, u'-'));
    // 記録 > "青空文庫のテキストとして開く..." reads it through the notation all the same.
    window->core().setFileDialog([this](const FileDialogRequest&) { return path; });
    window->openAozoraAction()->trigger();
    EXPECT_EQ(lines().value(3), "　拝啓。高原の牧場にも、ようやく春が来ました。");

    window->close();
    window = std::make_unique<VReader3>(appFolder());
    EXPECT_FALSE(window->preferences().interpretAozora) << "kept in the settings file";
    EXPECT_EQ(window->preferences().rubyStyle, RubyStyle::Omit);

    PreferencesDialog dialog(window->preferences());
    EXPECT_FALSE(dialog.aozoraBox()->isChecked());
    EXPECT_TRUE(dialog.rubyOmittedButton()->isChecked());
    dialog.aozoraBox()->setChecked(true);
    dialog.rubyInParenthesesButton()->setChecked(true);
    EXPECT_TRUE(dialog.preferences() == ReaderPreferences{});
}

TEST_F(AozoraWindow, ctrlFAndF3FindAndTheBarMarksThePlace) {
    window->openFile(path);
    QStringList asked;
    window->setFindAsker([&](const QString& last) {
        asked << last;
        return std::optional<QString>(QStringLiteral("牧場"));
    });
    window->findAction()->trigger();
    const int first = window->core().currentStep();
    EXPECT_TRUE(lines().value(first - 1).contains("牧場"));
    EXPECT_EQ(window->positionBar()->mark(), first);
    window->findNextAction()->trigger();
    EXPECT_EQ(window->core().controls().Text1.text, "見つかりません。");
    EXPECT_EQ(window->positionBar()->mark(), -1);
    window->setFindAsker([&](const QString&) { return std::optional<QString>(QStringLiteral("羊")); });
    window->findAction()->trigger();
    window->findNextAction()->trigger();
    const int later = window->core().currentStep();
    window->findPreviousAction()->trigger();
    EXPECT_LT(window->core().currentStep(), later);
    EXPECT_EQ(window->positionBar()->mark(), window->core().currentStep());
    EXPECT_EQ(asked, QStringList{QString()});
    EXPECT_EQ(window->findAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(window->findNextAction()->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window->findPreviousAction()->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
}

// The pictures of the documentation: a page with ruby in parentheses and
// the right-aligned closing lines, named "@2x" on a screen scale of 2.
TEST_F(AozoraWindow, screenshotsOfALetterWithRubyAndASignature) {
    const QString folder = qEnvironmentVariable("VELREADER_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "VELREADER_SCREENSHOTS is not set";
    window->openFile(path);
    window->core().goToStep(window->core().totalSteps() - 1);
    window->core().controls().Text1.text.clear();
    window->positionBar()->update();
    QTest::keyClick(window->pmain(), Qt::Key_Left);
    QTest::keyClick(window->pmain(), Qt::Key_Right);
    const QString scale = window->devicePixelRatio() >= 2 ? QStringLiteral("@2x") : QString();
    window->grab().save(folder + "/velreader-aozora" + scale + ".png");
}

}  // namespace
}  // namespace velreader::testing
