// The reader window's reading comforts: stepping back and jumping, going
// back to where a book was left, auto-play, text that appears a character
// at a time, the books opened last, and the preferences kept in the user's
// settings file.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QMenuBar>
#include <QPushButton>

#include "common/settings.h"
#include "common/stop_notes.h"
#include "common/ui/stop_signals.h"
#include "common/ui/plain_text.h"
#include "common/ui/window_zoom.h"
#include "reader/ui/position_bar.h"
#include "reader/ui/preferences_dialog.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"

namespace velreader {
namespace {

// How long one slice of building the record of the pages may take.
constexpr int MapSliceMs = 8;
// How often the place reached is written to the settings file.
constexpr int SettingsSaveMs = 60 * 1000;

QString resumeText(const std::optional<int>& step) {
    return step ? QStringLiteral("続きから読む（%1 行目）").arg(*step) : QStringLiteral("続きから読む");
}

}  // namespace

VReader3::~VReader3() { qApp->removeEventFilter(this); }

void VReader3::buildRecordMenu(QMenu* kiroku) {
    kiroku->addSeparator();
    m_resume = kiroku->addAction(resumeText(std::nullopt));
    m_resume->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_resume->setEnabled(false);
    m_recentMenu = kiroku->addMenu(QStringLiteral("最近開いた本"));
    m_layout.setFont(m_recentMenu, kiroku->font());
}

void VReader3::buildPlayerMenu(QMenu* hyouji) {
    hyouji->addSeparator();
    m_jump = hyouji->addAction(QStringLiteral("行へ移動..."));
    m_jump->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    // A is the player view's own key (handled with the others, so that it
    // never reaches a text box's typing): shown here, not a shortcut.
    m_autoPlayAction = hyouji->addAction(QStringLiteral("自動再生\tA"));
    m_autoPlayAction->setCheckable(true);
    m_preferencesAction = hyouji->addAction(QStringLiteral("設定..."));
}

void VReader3::connectReading() {
    connect(m_resume, &QAction::triggered, this, &VReader3::resumeReading);
    connect(m_jump, &QAction::triggered, this, &VReader3::askForStep);
    connect(m_autoPlayAction, &QAction::triggered, this, &VReader3::toggleAutoPlay);
    connect(m_preferencesAction, &QAction::triggered, this, &VReader3::editPreferences);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &VReader3::showRecentFiles);
    connect(m_pmain, &PageView::previousLineWanted, this, &VReader3::stepBack);
    connect(m_positionBar, &PositionBar::stepWanted, this, &VReader3::goToStep);

    connect(&m_autoPlay, &AutoPlay::nextLineWanted, this, &VReader3::autoPlayStep);
    connect(&m_autoPlay, &AutoPlay::runningChanged, this, [this](bool running) {
        m_autoPlayAction->setChecked(running);
        mirrorPosition();
    });
    connect(&m_reveal, &TextReveal::changed, this, [this] { m_pmain->setReveal(m_core.lineDrawingsStart(), m_reveal.shown()); });
    connect(&m_reveal, &TextReveal::finished, this, [this] { m_autoPlay.lineShown(m_core.printedLine()); });

    m_mapBuilder.setInterval(0);
    connect(&m_mapBuilder, &QTimer::timeout, this, [this] {
        if (m_core.busy()) return;
        if (m_core.totalSteps() == 0 || m_core.buildPageMap(MapSliceMs)) m_mapBuilder.stop();
    });
    m_settingsSaver.setInterval(SettingsSaveMs);
    connect(&m_settingsSaver, &QTimer::timeout, this, &VReader3::storeSettings);
    m_settingsSaver.start();

    // Any click in the window stops auto-play (but one on the menu bar, which
    // leads to the menu item that stops it).
    qApp->installEventFilter(this);
    connect(m_zoom, &common::WindowZoom::zoomChanged, this, [this](int zoom) {
        if (!m_zoom->fullScreen()) m_preferences.zoom = zoom;
    });
}

void VReader3::loadSettings(ReaderSettings settings) {
    m_settings = std::move(settings.store);
    m_preferences = settings.preferences;
    m_places = std::move(settings.places);
    m_recent = std::move(settings.recent);
    m_autoPlay.setSpeed(m_preferences.autoPlaySpeed);
    m_core.setAozoraOptions(m_preferences.interpretAozora, m_preferences.rubyStyle);
}

void VReader3::storeSettings() {
    if (!m_settings) return;
    m_preferences.write(*m_settings);
    m_places.write(*m_settings);
    m_recent.write(*m_settings);
    const common::SettingsStore::SaveResult saved = m_settings->save();
    // A settings file that cannot be written is said once (SettingsStore
    // has put the reason on stderr); the reader goes on.
    if (saved.status != common::SettingsStore::SaveResult::Status::Failed || m_settingsFailureSaid) return;
    m_settingsFailureSaid = true;
    sayNotice(QStringLiteral("設定を保存できませんでした：%1：%2").arg(m_settings->path(), saved.error.japaneseReason()));
}

void VReader3::sayNotice(const QString& message) {
    if (common::stopSignalReceived()) {
        // Nobody is there to read it now: the next start shows it.
        common::keepStopNote(m_core.folders().dataFolder, message);
        return;
    }
    m_pendingNotice = message;
    // In a handler, or over what the user is typing: it follows the next
    // message of a handler instead.
    if (m_inHandler || m_core.busy() || m_text1->editedByUser()) return;
    dispatch([this] { m_core.controls().Text1.text = std::exchange(m_pendingNotice, QString()); });
}

void VReader3::setPreferences(const ReaderPreferences& preferences) {
    m_preferences = preferences;
    m_autoPlay.setSpeed(preferences.autoPlaySpeed);
    m_core.setAozoraOptions(preferences.interpretAozora, preferences.rubyStyle);
    // The user changed a preference: a settings file that could not be read
    // may now be replaced.
    if (m_settings) m_settings->allowReplacing();
    storeSettings();
}

void VReader3::editPreferences() {
    if (m_editPreferences) {
        if (const auto edited = m_editPreferences(m_preferences)) setPreferences(*edited);
        return;
    }
    PreferencesDialog dialog(m_preferences, this);
    if (dialog.exec() == QDialog::Accepted) setPreferences(dialog.preferences());
}

bool VReader3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && m_autoPlay.running()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && !qobject_cast<QMenuBar*>(widget)) m_autoPlay.stop();
    }
    return QMainWindow::eventFilter(watched, event);
}

void VReader3::stepBack() {
    if (!command(4)->isVisible()) return;  // the player view only
    dispatch([this] { m_core.stepBack(); });
}

void VReader3::goToStep(int step) {
    if (!command(4)->isVisible()) return;
    dispatch([this, step] { m_core.goToStep(step); });
}

void VReader3::askForStep() {
    const int total = m_core.totalSteps();
    if (total == 0 || m_core.busy()) return;
    const int current = m_core.currentStep();
    std::optional<int> step;
    if (m_askStep) {
        step = m_askStep(current, total);
    } else {
        bool ok = false;
        const int chosen = QInputDialog::getInt(this, QStringLiteral("行へ移動"),
                                                QStringLiteral("移動する行（いま %1 / %2）").arg(current).arg(total),
                                                current, 0, total, 1, &ok);
        if (ok) step = chosen;
    }
    if (!step) return;
    // A jump shows the page: from the reading view it goes to the player view.
    dispatch([this, s = *step] {
        m_core.L1_Click();
        m_core.goToStep(s);
    });
}

void VReader3::resumeReading() {
    if (!m_resumeStep) return;
    dispatch([this, s = *m_resumeStep] {
        m_core.L1_Click();
        m_core.goToStep(s);
    });
}

void VReader3::toggleAutoPlay() {
    if (m_autoPlay.running()) {
        m_autoPlay.stop();
        return;
    }
    if (!command(2)->isVisible() || !command(2)->isEnabled() || m_core.busy()) {
        m_autoPlayAction->setChecked(false);
        return;
    }
    m_autoPlay.start(m_core.printedLine(), !m_reveal.active());
}

void VReader3::autoPlayStep() {
    if (!command(2)->isVisible() || !command(2)->isEnabled()) {
        m_autoPlay.stop();
        return;
    }
    m_autoStepping = true;
    playNextLine();
    m_autoStepping = false;
    if (!command(2)->isEnabled()) {
        m_autoPlay.stop();  // the end of the text
    } else if (m_reveal.active()) {
        m_autoPlay.lineAppearing();
    } else {
        m_autoPlay.lineShown(m_core.printedLine());
    }
}

void VReader3::afterHandler() {
    if (!m_playing) m_reveal.cancel();

    // Which file is played changes only with a load, a text opened or a
    // save under a new name (or a text typed in: none); its key is worked out
    // then, not after every step.
    bool newFile = false;
    const bool opened = m_core.openCount() != m_seenOpenCount;
    if (opened || m_core.documentPath() != m_documentPath) {
        m_seenOpenCount = m_core.openCount();
        m_documentPath = m_core.documentPath();
        m_documentKey = m_documentPath.isEmpty() ? QString() : documentKey(m_documentPath);
        newFile = !m_documentKey.isEmpty();
        if (newFile) m_recent.add(m_documentKey);
        m_resumeStep.reset();
    }
    if (opened) {
        // A book or text was opened (and rewound): where was it left?
        const std::optional<int> place = m_places.place(m_documentKey);
        if (place && *place > 0) m_resumeStep = place;
        if (m_resumeStep && m_preferences.resumeOnOpen) m_core.goToStep(*m_resumeStep);
        // The place of the book before is kept, in the next turn of the
        // event loop: the write waits for the disk (it is flushed), 15 to 30
        // ms that would add to the stall of the load that just ended.
        QTimer::singleShot(0, this, &VReader3::storeSettings);
    }
    // The place follows the reader's moves; opening a book (and its rewind)
    // never forgets where it was left.
    const int step = m_core.currentStep();
    if (!m_documentKey.isEmpty()) {
        if (newFile ? !m_places.place(m_documentKey) : step != m_lastStep) m_places.remember(m_documentKey, step);
    }
    m_lastStep = step;

    m_resume->setText(resumeText(m_resumeStep));
    m_resume->setEnabled(m_resumeStep.has_value());
    if (m_core.totalSteps() > 0 && !m_mapBuilder.isActive()) m_mapBuilder.start();
}

void VReader3::mirrorPosition() {
    const bool player = m_core.controls().Pmain.visible;
    m_positionBar->setVisible(player);
    m_positionBar->setPosition(m_core.currentStep(), m_core.totalSteps(), m_autoPlay.running());
    m_positionBar->setMark(m_core.foundStep());
    if (!m_jump) return;  // the menus are not built yet
    m_jump->setEnabled(m_core.totalSteps() > 0);
    m_autoPlayAction->setEnabled(player && (m_autoPlay.running() || m_core.controls().Command2.enabled));
}

void VReader3::showRecentFiles() {
    m_recentMenu->clear();
    if (m_recent.files().isEmpty()) {
        m_recentMenu->addAction(QStringLiteral("（まだありません）"))->setEnabled(false);
        return;
    }
    for (const QString& path : m_recent.files()) {
        QString name = QFileInfo(path).fileName();
        name.replace(u'&', QStringLiteral("&&"));
        QAction* action = m_recentMenu->addAction(name);
        action->setToolTip(common::plainToolTip(path));
        action->setStatusTip(path);
        // A file that is gone shows greyed out.
        action->setEnabled(QFileInfo(path).isFile());
        connect(action, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    m_recentMenu->setToolTipsVisible(true);
}

void VReader3::openRecentFile(const QString& path) {
    if (m_core.busy()) return;
    if (!QFileInfo(path).isFile()) {
        // Gone since the menu was shown: said where messages go, and forgotten.
        m_recent.remove(path);
        dispatch([this, path] {
            m_core.controls().Text1.text =
                QStringLiteral("「%1」が見つかりません。最近開いた本から外しました。").arg(QFileInfo(path).fileName());
        });
        storeSettings();
        return;
    }
    openFile(path);
}

}  // namespace velreader
