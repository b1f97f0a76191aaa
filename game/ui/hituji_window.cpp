#include "game/ui/hituji_window.h"

#include "common/datafolder.h"
#include "common/stop_notes.h"
#include "common/ui/stop_signals.h"
#include "game/services/player_name.h"
#include "common/ui/program_icon.h"
#include "common/ui/window_zoom.h"
#include "game/ui/best_games_dialog.h"
#include "game/ui/help_dialog.h"
#include "game/ui/settings_dialog.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

// The icons are compiled into this static library; its resources must be
// registered by hand, since nothing else refers to them.
static void initIcons() { Q_INIT_RESOURCE(fleeceslot_icons); }

namespace {

const QString kGothic = QStringLiteral("ＭＳ ゴシック");
constexpr QSize kClientSize(424, 164);

QFont gothic(double points, bool bold) {
    QFont font(kGothic);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setTimer(QTimer* timer, bool enabled) {
    // Switching on a running timer does not restart its interval.
    if (enabled && !timer->isActive()) timer->start();
    if (!enabled && timer->isActive()) timer->stop();
}

// What each background button shows, for screen readers.
const char16_t* const kBackgroundNames[] = {u"背景1 草原", u"背景2 星空", u"背景3 水色", u"背景4 羊毛もよう"};

}  // namespace

void installGameFonts() {
    QFont::insertSubstitution(kGothic, QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

Hituji::Hituji(HitujiGame& game, QWidget* parent)
    : QWidget(parent), m_game(game), m_reportError([this](const QString& text) {
          QMessageBox::critical(this, QStringLiteral("Woolmere"), text);
      }) {
    build();
    buildTimers();
    m_zoom = new common::WindowZoom(this, this, m_content, kClientSize, [this](int zoom) { applyZoom(zoom); });
    buildMenu();
}

void Hituji::build() {
    setWindowTitle(QStringLiteral("Woolmere"));
    initIcons();
    setWindowIcon(common::programIcon(QLatin1String(common::GameId)));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    // Everything of the window stands on one content widget, which the zoom
    // scales and full screen centres.
    m_content = new QWidget(this);
    m_content->resize(kClientSize);
    m_layout.setFont(m_content, gothic(9, false));

    GameSurfaces& s = m_game.surfaces;
    m_pmain = m_layout.place(new SurfaceView(&s.Pmain, SurfaceView::Border::Flat, m_content), QRect(7, 7, 202, 152));
    m_pmain->setAccessibleName(QStringLiteral("牧場（羊が走る畑）"));
    m_pmain->setMouseContextMenu(false);
    connect(m_pmain, &SurfaceView::pressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers mods, float x, float y) {
                // Button 1 left, 2 right, 4 middle; Shift 1, Ctrl 2, Alt 4.
                const auto shift = static_cast<int16_t>((mods.toInt() >> 25) & 7);
                handle([&] { m_game.Pmain_MouseDown(static_cast<int16_t>(button), shift, x, y); });
            });

    const QRect commandPlaces[] = {{217, 7, 71, 22}, {287, 7, 71, 22}, {217, 56, 71, 22}, {287, 56, 71, 22}};
    const std::function<void()> commandHandlers[] = {
        [this] { m_game.Command1_Click(); }, [this] { m_game.Command2_Click(); },
        [this] { m_game.Command3_Click(); }, [this] { m_game.Command4_Click(); }};
    for (int i = 0; i < 4; ++i) {
        auto* button = m_layout.place(new QPushButton(m_content), commandPlaces[i]);
        connect(button, &QPushButton::clicked, this, [this, h = commandHandlers[i]] { handle(h); });
        m_commands[i] = button;
    }
    // The two もう一度 buttons are told apart by name; the others are named
    // by their caption.
    m_commands[1]->setAccessibleName(QStringLiteral("もう一度（数え直す）"));
    m_commands[3]->setAccessibleName(QStringLiteral("もう一度（刈り直す）"));

    const QRect labelPlaces[] = {{217, 35, 71, 13}, {217, 84, 59, 13}, {308, 35, 57, 13}, {217, 98, 59, 13}};
    for (int i = 0; i < 4; ++i) {
        auto* label = m_layout.place(new QLabel(m_content), labelPlaces[i]);
        m_layout.setFont(label, gothic(9.75, true));
        label->setAutoFillBackground(true);
        QPalette lp = label->palette();
        lp.setColor(QPalette::Window, lp.color(QPalette::Button));
        lp.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
        label->setPalette(lp);
        m_labels[i] = label;
    }

    m_pzeb = m_layout.place(new SurfaceView(&s.PZeb, SurfaceView::Border::Flat, m_content), QRect(217, 119, 202, 42));
    m_pzeb->setAccessibleName(QStringLiteral("バナー（クリックで音楽）"));
    m_bannerTip = QStringLiteral("クリックすると音楽が鳴ります。\n"
                                 "右クリック（メニューキー、Shift+F10）でメニュー、F1 で遊び方。\n"
                                 "Ctrl+＋ で拡大、Ctrl+－ で縮小、Ctrl+0 で元の大きさ、F11 で全画面。");
    m_pzeb->setToolTip(m_bannerTip);
    // The right button opens the menu instead.
    connect(m_pzeb, &SurfaceView::pressed, this, [this](Qt::MouseButton button) {
        if (button != Qt::RightButton) handle([this] { m_game.PZeb_Click(); });
    });

    m_pChange = m_layout.place(new QWidget(m_content), QRect(392, 7, 29, 85));
    m_pChange->setAutoFillBackground(true);
    m_pChange->setPalette(pal);
    auto* group = new QButtonGroup(this);
    const std::function<void()> optionHandlers[] = {
        [this] { m_game.Option1_Click(); }, [this] { m_game.Option2_Click(); },
        [this] { m_game.Option3_Click(); }, [this] { m_game.Option4_Click(); }};
    for (int i = 0; i < 4; ++i) {
        auto* option = m_layout.place(new QRadioButton(m_pChange), QRect(7, 21 * i, 15, 22));
        // White like the panel: a button's own background would be grey.
        option->setBackgroundRole(QPalette::Window);
        option->setAutoFillBackground(true);
        option->setPalette(pal);
        option->setToolTip(QString::fromUtf16(kBackgroundNames[i]));
        option->setAccessibleName(QString::fromUtf16(kBackgroundNames[i]));
        group->addButton(option, i + 1);
        // A click runs the handler, also on the button already chosen; a
        // choice made without a click (a screen reader's toggle) runs it too.
        connect(option, &QRadioButton::pressed, this, [this, i] { m_optionPressed[i] = true; });
        connect(option, &QRadioButton::released, this, [this, i] { m_optionPressed[i] = false; });
        connect(option, &QRadioButton::toggled, this, [this, i, h = optionHandlers[i]](bool checked) {
            if (checked && !m_optionPressed[i]) handle(h);
        });
        connect(option, &QRadioButton::clicked, this, [this, h = optionHandlers[i]] { handle(h); });
        m_options[i] = option;
    }

    // The title picture covers the whole window until it is clicked; a click
    // on the prompt counts as a click on the picture.
    m_pgamen = m_layout.place(new SurfaceView(&s.Pgamen, SurfaceView::Border::Sunken, m_content), QRect(0, 0, 429, 174));
    m_pgamen->setAccessibleName(QStringLiteral("タイトル画面"));
    m_pgamen->setAccessibleDescription(QStringLiteral("クリックするか Enter キーで始まります"));
    m_pgamen->setFocusPolicy(Qt::StrongFocus);
    connect(m_pgamen, &SurfaceView::pressed, this, [this](Qt::MouseButton button) {
        if (button != Qt::RightButton) handle([this] { m_game.Pgamen_Click(); });
    });
    connect(m_pgamen, &SurfaceView::activated, this, [this] { handle([this] { m_game.Pgamen_Click(); }); });
    auto* prompt = m_layout.place(new QLabel(m_pgamen), QRect(125, 147, 177, 15));
    prompt->setAlignment(Qt::AlignCenter);
    m_layout.setFont(prompt, gothic(11.25, false));
    prompt->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette pp = prompt->palette();
    pp.setColor(QPalette::WindowText, Qt::white);
    prompt->setPalette(pp);
    m_labels[4] = prompt;
    m_pgamen->raise();
}

void Hituji::buildTimers() {
    const int intervals[] = {20, 50, 100, 1000};
    const std::function<void()> timerHandlers[] = {
        [this] { m_game.Timer1_Timer(); }, [this] { m_game.Timer2_Timer(); },
        [this] { m_game.Timer3_Timer(); }, [this] { m_game.Timer4_Timer(); }};
    for (int i = 0; i < 4; ++i) {
        auto* timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(intervals[i]);
        connect(timer, &QTimer::timeout, this, [this, i, h = timerHandlers[i]] {
            // The first tick after a pause came after what was left of the
            // interval; from now on the whole interval again.
            if (i < 2 && m_normalInterval[i] > 0) {
                m_timers[i]->setInterval(std::exchange(m_normalInterval[i], 0));
            }
            handle(h);
        });
        m_timers[i] = timer;
    }
    connect(m_timers[0], &QTimer::timeout, this, &Hituji::timer1Ticked);
    // Switched on with the music; its ticks do nothing.
    m_bgmCheck = new QTimer(this);
    m_bgmCheck->setInterval(1000);
}

void Hituji::applyZoom(int zoom) {
    m_zoomFactor = zoom;
    m_layout.apply(zoom);
    for (SurfaceView* view : {m_pmain, m_pzeb, m_pgamen}) view->setZoom(zoom);
    m_content->resize(kClientSize * zoom);
    sync();
}

bool Hituji::Form_Load() {
    const savefiles::FileResult result = m_game.Form_Load();
    sync();
    if (!result.ok) {
        m_reportError(result.error);
        m_closed = true;  // nothing to save from a game that never started
        return false;
    }
    // What the last run, told to stop, could not show.
    const QStringList notes = common::takeStopNotes(m_game.saveFolder());
    if (!notes.isEmpty()) {
        const QString text = QStringLiteral("前回、終了の合図で閉じたときの問題：\n") + notes.join(u'\n');
        showProblem(text);
        std::fprintf(stderr, "fleeceslot: %s\n", qPrintable(text));
        // Shown once the window is up, without waiting for an answer.
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Woolmere"), text, QMessageBox::Ok, this);
                box->setAttribute(Qt::WA_DeleteOnClose);
                box->open();
            },
            Qt::QueuedConnection);
    }
    return true;
}

void Hituji::handle(const std::function<void()>& handler) {
    if (m_closed) return;
    handler();
    sync();
}

void Hituji::syncTitle() {
    const bool shown = m_game.controls.Pgamen.visible;
    if (shown == m_titleShown && !shown) return;
    m_titleShown = shown;
    // While the title shows, the keys are the title's: nothing behind it
    // can take the focus. Once it is gone the buttons are reached as usual.
    for (QWidget* w : m_content->findChildren<QWidget*>()) {
        if (w == m_pgamen || w->parentWidget() == m_pgamen) continue;
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QRadioButton*>(w)) {
            w->setFocusPolicy(shown ? Qt::NoFocus : Qt::StrongFocus);
            if (shown) w->installEventFilter(this);
            else w->removeEventFilter(this);
        }
    }
    if (shown) {
        m_pgamen->setFocus();
    } else {
        m_pgamen->setFocusPolicy(Qt::NoFocus);
        m_commands[0]->setFocus();
    }
}

void Hituji::syncPlayTimer(int index, bool on) {
    QTimer* timer = m_timers[index];
    if (!on && timer->isActive()) {
        // A pause keeps what is left of the interval; a stop forgets it.
        m_heldRemaining[index] = m_game.pause().paused() ? std::max(0, timer->remainingTime()) : -1;
        if (m_normalInterval[index] > 0) timer->setInterval(std::exchange(m_normalInterval[index], 0));
        timer->stop();
    } else if (on && !timer->isActive()) {
        if (m_heldRemaining[index] >= 0) {
            m_normalInterval[index] = timer->interval();
            timer->start(std::exchange(m_heldRemaining[index], -1));
        } else {
            timer->start();
        }
    }
}

void Hituji::sync() {
    const GameControls& c = m_game.controls;
    const ControlState* commands[] = {&c.Command1, &c.Command2, &c.Command3, &c.Command4};
    // Enabled first, then disabled: a disabled button passes the focus to
    // the next enabled one in the tab order, which must already be enabled.
    for (const bool enabling : {true, false}) {
        for (int i = 0; i < 4; ++i) {
            if (commands[i]->enabled == enabling) m_commands[i]->setEnabled(enabling);
        }
    }
    for (int i = 0; i < 4; ++i) {
        m_commands[i]->setVisible(commands[i]->visible);
        m_commands[i]->setText(commands[i]->caption);
    }
    const ControlState* labels[] = {&c.Label1, &c.Label2, &c.Label3, &c.Label4, &c.Label5};
    for (int i = 0; i < 5; ++i) {
        m_labels[i]->setEnabled(labels[i]->enabled);
        m_labels[i]->setVisible(labels[i]->visible);
        m_labels[i]->setText(labels[i]->caption);
    }
    // The four score labels size themselves to their caption, so that a
    // count of four digits and its "g" stay readable; they never shrink
    // below their laid-out width.
    const int designWidths[] = {71, 59, 57, 59};
    for (int i = 0; i < 4; ++i) {
        QLabel* label = m_labels[i];
        const int width = std::max(designWidths[i] * m_zoomFactor, label->sizeHint().width());
        if (label->width() != width) label->resize(width, label->height());
    }
    m_pChange->setEnabled(c.P_Change.enabled);
    m_pChange->setVisible(c.P_Change.visible);
    m_pgamen->setEnabled(c.Pgamen.enabled);
    m_pgamen->setVisible(c.Pgamen.visible);
    syncTitle();
    syncPlayTimer(0, c.Timer1);
    syncPlayTimer(1, c.Timer2);
    setTimer(m_timers[2], c.Timer3);
    setTimer(m_timers[3], c.Timer4);
    setTimer(m_bgmCheck, c.BGM_Check);
    syncExtras();
    m_pmain->update();
    m_pzeb->update();
    // A focus that went nowhere goes to the first enabled button.
    if (!m_titleShown && isActiveWindow() && !QApplication::focusWidget()) {
        for (QPushButton* button : m_commands) {
            if (button->isEnabled()) {
                button->setFocus();
                break;
            }
        }
    }
}

bool Hituji::eventFilter(QObject* watched, QEvent* event) {
    // Behind the title no control takes a key or a click, whatever sends it.
    if (m_titleShown) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Shortcut: return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Hituji::closeEvent(QCloseEvent* event) {
    // Closing cannot be cancelled and works the same in every phase.
    event->accept();
    if (m_closed) return;
    for (QTimer* t : m_timers) t->stop();
    const QList<QWidget*> dialogs{m_settingsDialog, m_bestGamesDialog, m_helpDialog};
    for (QWidget* dialog : dialogs)
        if (dialog) dialog->close();
    QStringList errors;
    // A best game whose name is still being typed is kept under that name,
    // else the one offered, else "名無し".
    if (m_nameDialog && m_game.bestGames().pending()) {
        const QString name = scores::nameToKeep(m_nameDialog->name(), m_nameDialog->offeredName());
        if (const savefiles::FileResult entered = m_game.BestGame_Enter(name, QDateTime::currentDateTime()); !entered.ok)
            errors << entered.error;
    }
    const savefiles::FileResult saved = m_game.Form_QueryUnload();
    if (!saved.ok) errors << saved.error;
    const savefiles::FileResult report = m_game.Form_Unload();
    if (!report.ok) errors << report.error;
    m_bgmCheck->stop();
    m_closed = true;
    if (errors.isEmpty()) return;
    const QString text = errors.join(u'\n');
    if (common::stopSignalReceived()) {
        // Told to stop, nobody can answer a message box: the reason goes to
        // stderr, and the next start shows it.
        std::fprintf(stderr, "fleeceslot: %s\n", qPrintable(text));
        common::keepStopNote(m_game.saveFolder(), text);
        return;
    }
    m_reportError(text);
}
