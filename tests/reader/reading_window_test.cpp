// Reading a whole book in the real window: stepping back, jumping, resuming
// after a restart, auto-play, text that appears a character at a time, the
// books opened last and the preferences. With VELREADER_SCREENSHOTS=folder
// the tests also save screenshots there.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "common/settings.h"
#include "common/ui/window_zoom.h"
#include "reader/ui/position_bar.h"
#include "reader/ui/preferences_dialog.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader_fixture.h"
#include "window_helpers.h"

namespace velreader::testing {
namespace {

QString settingsFile() { return common::SettingsStore::userFile(QStringLiteral("velreader")); }

// A window on a fresh folder and fresh settings, with a 40-line text saved
// as a book.
class Reading : public ReaderTest {
protected:
    Reading() {
        QFile::remove(settingsFile());
        window = std::make_unique<VReader3>(appFolder());
        window->core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
        window->show();
        readIn(numberedLines(40));
        window->core().setFileDialog([this](const FileDialogRequest&) { return bookPath("forty.vln"); });
        window->saveAction()->trigger();
        window->core().setFileDialog([this](const FileDialogRequest&) { return bookPath("forty.vln"); });
    }
    ~Reading() override {
        if (window) window->close();
        QFile::remove(settingsFile());
    }
    VReader3& w() { return *window; }
    int step() { return w().core().currentStep(); }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(w().pmain(), Qt::Key(key), modifiers);
    }
    // A new window, as at the next start of the program.
    void restart() {
        window->close();
        window.reset();
        window = std::make_unique<VReader3>(appFolder());
        window->core().setFileDialog([this](const FileDialogRequest&) { return bookPath("forty.vln"); });
        window->core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
        window->show();
    }
    void openBook() { w().openFile(bookPath("forty.vln")); }
    // Reads `text` in as "読み込み" does, through the window.
    void readIn(const QString& text) {
        window->text1()->setPlainText(text);
        QTest::mouseClick(window->tab(2), Qt::LeftButton);
        window->command(1)->click();
        QTest::mouseClick(window->tab(1), Qt::LeftButton);
    }

    std::unique_ptr<VReader3> window;
};

TEST_F(Reading, everyKeyOfThePlayerViewStepsOrPlaysAndNoneWhileTyping) {
    openBook();
    w().pmain()->setFocus();
    for (int i = 0; i < 15; ++i) key(Qt::Key_Space);
    ASSERT_EQ(step(), 15);
    int expected = 15;
    for (const int k : {Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Backspace}) {
        key(k);
        EXPECT_EQ(step(), --expected) << k;
    }
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(step(), 41);
    EXPECT_FALSE(w().command(2)->isEnabled());
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(step(), 0);
    EXPECT_TRUE(w().label("LTitle")->isVisible());
    key(Qt::Key_Left);
    EXPECT_EQ(step(), 0) << "nothing before the start";

    // Typing in Text1: the keys type, nothing steps.
    for (int i = 0; i < 5; ++i) key(Qt::Key_Space);
    w().text1()->setFocus();
    w().text1()->setPlainText("abc");
    w().text1()->moveCursor(QTextCursor::End);
    for (const int k : {Qt::Key_Left, Qt::Key_Backspace, Qt::Key_A, Qt::Key_Space, Qt::Key_Up, Qt::Key_PageUp})
        QTest::keyClick(w().text1(), Qt::Key(k));
    QTest::keyClick(w().text1(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(step(), 5);
    EXPECT_FALSE(w().autoPlay().running());
    EXPECT_EQ(w().text1()->toPlainText(), "aa c") << "Backspace, A and Space typed";
    // A read-only box (a long text is still going in) keeps the keys too.
    w().text1()->setLocked(true);
    QTest::keyClick(w().text1(), Qt::Key_Backspace);
    QTest::keyClick(w().text1(), Qt::Key_Space);
    EXPECT_EQ(step(), 5);
    w().text1()->setLocked(false);
}

TEST_F(Reading, steppingBackOverAPageStartShowsThePreviousPageWhole) {
    writePicture("sea.png", QColor(40, 90, 200));
    w().core().state().WordTable[0] = "行8";
    w().core().state().PictureTable[0] = "sea.png＞白";
    openBook();
    w().core().state().WordTable[0] = "行8";
    w().core().state().PictureTable[0] = "sea.png＞白";
    for (int i = 0; i < 13; ++i) key(Qt::Key_Space);
    key(Qt::Key_Left);
    EXPECT_EQ(w().core().state().PageLineCount, 12);
    EXPECT_EQ(w().core().pagePicture().pixel(0, 0), QColor(40, 90, 200).rgb());
    const QImage back = w().core().page().image();
    key(Qt::Key_Home);
    for (int i = 0; i < 12; ++i) key(Qt::Key_Space);
    EXPECT_EQ(w().core().page().image(), back) << "the page as it stood";
}

TEST_F(Reading, thePositionBarShowsWhereTheReaderIsWithoutCoveringAControl) {
    openBook();
    PositionBar* bar = w().positionBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry(), QRect(7, 230, 400, 6));
    for (QWidget* other : {static_cast<QWidget*>(w().text1()), static_cast<QWidget*>(w().pmain()),
                           static_cast<QWidget*>(w().command(2)), static_cast<QWidget*>(w().command(4))})
        EXPECT_FALSE(bar->geometry().intersects(other->geometry()));
    EXPECT_GT(bar->geometry().top(), 229) << "below the frame's bottom line";
    EXPECT_EQ(bar->accessibleName(), "0 / 41 行");
    for (int i = 0; i < 20; ++i) key(Qt::Key_Space);
    EXPECT_EQ(bar->toolTip(), "20 / 41 行");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name), "20 / 41 行");
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(bar->accessibleName(), "41 / 41 行");
    // A click on the bar goes to the step under it.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
    EXPECT_NEAR(step(), 20, 1);
    // The reading view hides it with the page.
    QTest::mouseClick(w().tab(2), Qt::LeftButton);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(Reading, jumpsGoToTheStepAskedForWithinTheText) {
    openBook();
    std::pair<int, int> asked;
    w().setStepAsker([&](int current, int total) {
        asked = {current, total};
        return std::optional<int>(33);
    });
    w().jumpAction()->trigger();
    EXPECT_EQ(asked, std::make_pair(0, 41));
    EXPECT_EQ(step(), 33);
    EXPECT_EQ(w().jumpAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    w().setStepAsker([](int, int) { return std::optional<int>(); });
    w().jumpAction()->trigger();
    EXPECT_EQ(step(), 33) << "Cancel goes nowhere";
}

TEST_F(Reading, thePlaceIsRememberedAcrossARestartAndOfferedOrTakenAtOnce) {
    openBook();
    EXPECT_FALSE(w().resumeAction()->isEnabled());
    for (int i = 0; i < 7; ++i) key(Qt::Key_Space);
    restart();
    EXPECT_EQ(w().recentFiles().files(), QStringList{QFileInfo(bookPath("forty.vln")).canonicalFilePath()});
    openBook();
    EXPECT_EQ(step(), 0) << "a load rewinds, as designed";
    EXPECT_TRUE(w().resumeAction()->isEnabled());
    EXPECT_EQ(w().resumeAction()->text(), "続きから読む（7 行目）");
    EXPECT_EQ(w().resumeAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    w().resumeAction()->trigger();
    EXPECT_EQ(step(), 7);
    // Opening another book keeps the place of this one.
    key(Qt::Key_Space);
    writeFile(appFolder() + "other.txt", "別の文章");
    w().openFile(appFolder() + "other.txt");
    EXPECT_FALSE(w().resumeAction()->isEnabled());
    ReaderPreferences preferences = w().preferences();
    preferences.resumeOnOpen = true;
    w().setPreferences(preferences);
    restart();
    openBook();
    EXPECT_EQ(step(), 8) << "with the preference, at once";

    // The book got shorter: the nearest step that exists.
    readIn(numberedLines(3));
    w().saveAction()->trigger();
    restart();
    openBook();
    EXPECT_EQ(step(), 4);
    EXPECT_FALSE(w().command(2)->isEnabled());
}

TEST_F(Reading, aStopSignalsCloseKeepsThePlaceToo) {
    openBook();
    for (int i = 0; i < 3; ++i) key(Qt::Key_Space);
    w().close();  // what the stop signals do
    const common::SettingsStore settings(settingsFile());
    ReadingPlaces places;
    places.read(settings);
    EXPECT_EQ(places.place(QFileInfo(bookPath("forty.vln")).canonicalFilePath()), 3);
}

TEST_F(Reading, autoPlayWaitsByTheFormulaAndStopsAtTheEndOrOnAClick) {
    readIn("一\n二二\n三三三");
    ReaderPreferences preferences = w().preferences();
    preferences.autoPlaySpeed = 4.0;
    w().setPreferences(preferences);
    key(Qt::Key_A);
    ASSERT_TRUE(w().autoPlay().running());
    EXPECT_TRUE(w().autoPlayAction()->isChecked());
    EXPECT_EQ(w().autoPlay().pendingWaitMs(), 250) << "(1.0 s + 0 characters) / 4";
    EXPECT_EQ(w().positionBar()->accessibleName(), "0 / 4 行（自動再生中）");
    ASSERT_TRUE(QTest::qWaitFor([&] { return step() == 2; }, 2000));
    EXPECT_EQ(w().autoPlay().pendingWaitMs(), 285) << "(1.0 s + 2 x 70 ms) / 4";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w().autoPlay().running(); }, 4000));
    EXPECT_EQ(step(), 4) << "to the end, and no further";
    EXPECT_FALSE(w().autoPlayAction()->isChecked());

    key(Qt::Key_Home);
    key(Qt::Key_A);
    ASSERT_TRUE(w().autoPlay().running());
    QTest::mouseClick(w().positionBar(), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_FALSE(w().autoPlay().running()) << "a click stops it";
    key(Qt::Key_A);
    key(Qt::Key_Left);
    EXPECT_FALSE(w().autoPlay().running()) << "a step back stops it";
    key(Qt::Key_A);
    QTest::mouseClick(w().tab(2), Qt::LeftButton);
    EXPECT_FALSE(w().autoPlay().running()) << "a view switch stops it";
}

TEST_F(Reading, textAppearsACharacterAtATimeAndAClickCompletesIt) {
    readIn("ひつじがいっぴき、ひつじがにひき\n次の行");
    ReaderPreferences preferences = w().preferences();
    preferences.textSpeed = 10;
    w().setPreferences(preferences);
    const QImage blank = w().pmain()->grab().toImage();
    key(Qt::Key_Space);
    ASSERT_TRUE(w().reveal().active());
    EXPECT_EQ(step(), 1) << "the state is the whole step at once";
    ASSERT_TRUE(QTest::qWaitFor([&] { return w().reveal().shown() >= 2; }, 2000));
    const QImage partial = w().pmain()->grab().toImage();
    EXPECT_NE(partial, blank);
    QTest::mouseClick(w().pmain(), Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_FALSE(w().reveal().active());
    EXPECT_EQ(step(), 1) << "the click completed the line, it played none";
    const QImage whole = w().pmain()->grab().toImage();
    EXPECT_NE(whole, partial);
    EXPECT_EQ(whole, w().core().page().image().convertToFormat(whole.format())) << "the page itself once complete";
    // Stepping back shows whole lines.
    key(Qt::Key_Space);
    ASSERT_TRUE(w().reveal().active());
    key(Qt::Key_Left);
    EXPECT_FALSE(w().reveal().active());
    EXPECT_EQ(step(), 1);
}

TEST_F(Reading, recentBooksOpenAndAVanishedOneIsRemovedWithAMessage) {
    writeFile(appFolder() + "a.txt", "テキスト");
    writeFile(appFolder() + "b.txt", "もう一つ");
    w().openFile(appFolder() + "b.txt");
    w().openFile(appFolder() + "a.txt");
    openBook();
    const auto shown = [&] {
        w().recentMenu()->popup(QPoint(0, 0));  // as the menu is about to show
        const QList<QAction*> items = w().recentMenu()->actions();
        w().recentMenu()->hide();
        return items;
    };
    QList<QAction*> items = shown();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "forty.vln");
    EXPECT_EQ(items[1]->text(), "a.txt");
    items[1]->trigger();
    EXPECT_EQ(w().core().state().DisplayLines.first(), "テキスト");

    QFile::remove(appFolder() + "b.txt");
    items = shown();
    EXPECT_EQ(items[2]->text(), "b.txt");
    EXPECT_FALSE(items[2]->isEnabled()) << "a file that is gone is greyed out";
    QFile::remove(appFolder() + "a.txt");  // gone while the menu shows
    items[0]->trigger();
    EXPECT_EQ(w().text1()->toPlainText(), "「a.txt」が見つかりません。最近開いた本から外しました。");
    EXPECT_EQ(w().recentFiles().files().size(), 2);
    EXPECT_EQ(w().core().state().DisplayLines.first(), "テキスト") << "nothing else changed";
}

TEST_F(Reading, thePreferencesDialogShowsAndReturnsThePreferences) {
    ReaderPreferences start;
    start.resumeOnOpen = true;
    start.autoPlaySpeed = 2.0;
    start.textSpeed = 40;
    PreferencesDialog dialog(start);
    dialog.show();
    EXPECT_TRUE(dialog.preferences() == start);
    dialog.autoPlaySlider()->setValue(dialog.autoPlaySlider()->minimum());
    dialog.instantButton()->setChecked(true);
    EXPECT_DOUBLE_EQ(dialog.preferences().autoPlaySpeed, 0.25);
    EXPECT_EQ(dialog.preferences().textSpeed, 0);
    EXPECT_FALSE(dialog.textSpeedSlider()->isEnabled());
    dialog.gradualButton()->setChecked(true);
    dialog.textSpeedSlider()->setValue(100);
    dialog.autoPlaySlider()->setValue(dialog.autoPlaySlider()->maximum());
    EXPECT_EQ(dialog.preferences().textSpeed, 100);
    EXPECT_DOUBLE_EQ(dialog.preferences().autoPlaySpeed, 4.0);
}

TEST_F(Reading, theZoomComesBackAtTheNextStart) {
    w().zoom()->zoomIn();
    restart();
    EXPECT_EQ(w().zoom()->zoom(), 2);
}

TEST_F(Reading, aMalformedSettingsFileMeansTheDefaultsAndIsKept) {
    window->close();
    window.reset();
    QDir().mkpath(QFileInfo(settingsFile()).absolutePath());
    static const char bytes[] = "\x01\x02\xff\xfe[[[=\n\0\0garbage";
    const QByteArray junk(bytes, sizeof bytes - 1);
    writeFile(settingsFile(), junk);
    window = std::make_unique<VReader3>(appFolder());
    window->core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
    EXPECT_TRUE(w().preferences() == ReaderPreferences{});
    EXPECT_EQ(w().zoom()->zoom(), 1);
    openBook();
    key(Qt::Key_Space);
    window->close();
    QFile file(settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), junk) << "nothing of it is lost until a preference changes";
}

TEST_F(Reading, tenThousandRecentBooksAndAPlaceBeyondTheEndAreHandledQuietly) {
    window->close();
    window.reset();
    QDir().mkpath(QFileInfo(settingsFile()).absolutePath());
    QByteArray text = "[recent]\n";
    for (int i = 1; i <= 10000; ++i) text += QByteArray::number(i) + "\\path=/nowhere/book" + QByteArray::number(i) + ".vln\n";
    text += "size=10000\n[places]\n1\\path=" + QFileInfo(bookPath("forty.vln")).canonicalFilePath().toUtf8() +
            "\n1\\step=99999\nsize=1\n";
    writeFile(settingsFile(), text);
    QElapsedTimer clock;
    clock.start();
    window = std::make_unique<VReader3>(appFolder());
    window->core().setUnsavedQuestion([] { return UnsavedAnswer::Discard; });
    window->show();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(w().recentFiles().files().size(), RecentFiles::MaxFiles);
    openBook();
    EXPECT_EQ(w().resumeAction()->text(), "続きから読む（99999 行目）");
    w().resumeAction()->trigger();
    EXPECT_EQ(step(), 41) << "the nearest step that exists";
}

// The pictures of the documentation: the sample book read to its middle and
// its end, a page reached by stepping back over a page start, the preferences.
// Taken only with VELREADER_SCREENSHOTS=folder.
TEST_F(Reading, screenshotsOfTheSampleBook) {
    const QString folder = qEnvironmentVariable("VELREADER_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "VELREADER_SCREENSHOTS is not set";
    for (const QString& name : QDir(VELREADER_ASSETS "/E").entryList(QDir::Files))
        QFile::copy(VELREADER_ASSETS "/E/" + name, picturePath(name));
    const QString sample = VELREADER_ASSETS "/Book/hitsuji_no_tabi.vln";
    w().openFile(sample);
    screenshot(&w(), "velreader-position-start");
    const int total = w().core().totalSteps();
    w().core().goToStep(total / 2);
    QTest::keyClick(w().pmain(), Qt::Key_Space);
    screenshot(&w(), "velreader-position-middle");
    QTest::keyClick(w().pmain(), Qt::Key_End, Qt::ControlModifier);
    screenshot(&w(), "velreader-position-end");
    // Back over the start of the second page: the first page, whole.
    w().core().goToStep(13);
    QTest::keyClick(w().pmain(), Qt::Key_Left);
    EXPECT_EQ(w().core().state().PageLineCount, 12);
    screenshot(&w(), "velreader-step-back");
    ReaderPreferences preferences;
    preferences.textSpeed = 30;
    PreferencesDialog dialog(preferences, &w());
    dialog.show();
    screenshot(&dialog, "velreader-preferences");
}

}  // namespace
}  // namespace velreader::testing
