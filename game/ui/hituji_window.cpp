#include "game/ui/hituji_window.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kGothic = QStringLiteral("ＭＳ ゴシック");

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

void apply(QWidget* widget, const ControlState& c) {
    widget->setEnabled(c.enabled);
    widget->setVisible(c.visible);
}

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
}

void Hituji::build() {
    setWindowTitle(QStringLiteral("Woolmere"));
    setFixedSize(424, 164);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFont(gothic(9, false));

    GameSurfaces& s = m_game.surfaces;
    m_pmain = new SurfaceView(&s.Pmain, SurfaceView::Border::Flat, this);
    m_pmain->setGeometry(7, 7, 202, 152);
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
        auto* button = new QPushButton(this);
        button->setGeometry(commandPlaces[i]);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, [this, h = commandHandlers[i]] { handle(h); });
        m_commands[i] = button;
    }

    const QRect labelPlaces[] = {{217, 35, 71, 13}, {217, 84, 59, 13}, {308, 35, 57, 13}, {217, 98, 59, 13}};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(this);
        label->setGeometry(labelPlaces[i]);
        m_labelWidths[i] = labelPlaces[i].width();
        label->setFont(gothic(9.75, true));
        label->setAutoFillBackground(true);
        QPalette lp = label->palette();
        lp.setColor(QPalette::Window, lp.color(QPalette::Button));
        lp.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
        label->setPalette(lp);
        m_labels[i] = label;
    }

    m_pzeb = new SurfaceView(&s.PZeb, SurfaceView::Border::Flat, this);
    m_pzeb->setGeometry(217, 119, 202, 42);
    connect(m_pzeb, &SurfaceView::pressed, this, [this] { handle([this] { m_game.PZeb_Click(); }); });

    m_pChange = new QWidget(this);
    m_pChange->setGeometry(392, 7, 29, 85);
    m_pChange->setAutoFillBackground(true);
    m_pChange->setPalette(pal);
    auto* group = new QButtonGroup(this);
    const std::function<void()> optionHandlers[] = {
        [this] { m_game.Option1_Click(); }, [this] { m_game.Option2_Click(); },
        [this] { m_game.Option3_Click(); }, [this] { m_game.Option4_Click(); }};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(m_pChange);
        option->setGeometry(7, 21 * i, 15, 22);
        option->setAutoFillBackground(true);
        option->setPalette(pal);
        option->setToolTip(QStringLiteral("背景 %1").arg(i + 1));
        group->addButton(option, i + 1);
        connect(option, &QRadioButton::clicked, this, [this, h = optionHandlers[i]] { handle(h); });
        m_options[i] = option;
    }

    // The title picture covers the whole window until it is clicked; a click
    // on the prompt counts as a click on the picture.
    m_pgamen = new SurfaceView(&s.Pgamen, SurfaceView::Border::Sunken, this);
    m_pgamen->setGeometry(0, 0, 429, 174);
    connect(m_pgamen, &SurfaceView::pressed, this, [this] { handle([this] { m_game.Pgamen_Click(); }); });
    auto* prompt = new QLabel(m_pgamen);
    prompt->setGeometry(125, 147, 177, 15);
    prompt->setAlignment(Qt::AlignCenter);
    prompt->setFont(gothic(11.25, false));
    prompt->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette pp = prompt->palette();
    pp.setColor(QPalette::WindowText, Qt::white);
    prompt->setPalette(pp);
    m_labels[4] = prompt;
    m_pgamen->raise();

    const int intervals[] = {20, 50, 100, 1000};
    const std::function<void()> timerHandlers[] = {
        [this] { m_game.Timer1_Timer(); }, [this] { m_game.Timer2_Timer(); },
        [this] { m_game.Timer3_Timer(); }, [this] { m_game.Timer4_Timer(); }};
    for (int i = 0; i < 4; ++i) {
        auto* timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(intervals[i]);
        connect(timer, &QTimer::timeout, this, [this, h = timerHandlers[i]] { handle(h); });
        m_timers[i] = timer;
    }
    connect(m_timers[0], &QTimer::timeout, this, &Hituji::timer1Ticked);
    // Switched on with the music; its ticks do nothing.
    m_bgmCheck = new QTimer(this);
    m_bgmCheck->setInterval(1000);
}

bool Hituji::Form_Load() {
    const savefiles::FileResult result = m_game.Form_Load();
    sync();
    if (!result.ok) {
        m_reportError(result.error);
        m_closed = true;  // nothing to save from a game that never started
        return false;
    }
    return true;
}

void Hituji::handle(const std::function<void()>& handler) {
    if (m_closed) return;
    handler();
    sync();
}

void Hituji::sync() {
    const GameControls& c = m_game.controls;
    const ControlState* commands[] = {&c.Command1, &c.Command2, &c.Command3, &c.Command4};
    for (int i = 0; i < 4; ++i) {
        apply(m_commands[i], *commands[i]);
        m_commands[i]->setText(commands[i]->caption);
    }
    const ControlState* labels[] = {&c.Label1, &c.Label2, &c.Label3, &c.Label4, &c.Label5};
    for (int i = 0; i < 5; ++i) {
        apply(m_labels[i], *labels[i]);
        m_labels[i]->setText(labels[i]->caption);
    }
    // The four score labels size themselves to their caption, so that a
    // count of four digits and its "g" stay readable; they never shrink
    // below their design width.
    for (int i = 0; i < 4; ++i) {
        QLabel* label = m_labels[i];
        const int width = std::max(m_labelWidths[i], label->sizeHint().width());
        if (label->width() != width) label->resize(width, label->height());
    }
    apply(m_pChange, c.P_Change);
    apply(m_pgamen, c.Pgamen);
    const bool timers[] = {c.Timer1, c.Timer2, c.Timer3, c.Timer4};
    for (int i = 0; i < 4; ++i) setTimer(m_timers[i], timers[i]);
    setTimer(m_bgmCheck, c.BGM_Check);
    m_pmain->update();
    m_pzeb->update();
}

void Hituji::closeEvent(QCloseEvent* event) {
    // Closing cannot be cancelled and works the same in every phase.
    event->accept();
    if (m_closed) return;
    for (QTimer* t : m_timers) t->stop();
    QStringList errors;
    const savefiles::FileResult saved = m_game.Form_QueryUnload();
    if (!saved.ok) errors << saved.error;
    const savefiles::FileResult report = m_game.Form_Unload();
    if (!report.ok) errors << report.error;
    m_bgmCheck->stop();
    m_closed = true;
    if (!errors.isEmpty()) m_reportError(errors.join(u'\n'));
}
