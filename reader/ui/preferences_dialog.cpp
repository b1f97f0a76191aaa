#include "reader/ui/preferences_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

namespace velreader {
namespace {

// Auto-play's speed on the slider: 2^(v / 4), v from -8 (0.25x) to 8 (4x).
constexpr int SpeedSteps = 8;
int sliderValue(double speed) { return int(std::lround(std::log2(speed) * 4)); }
double speedOf(int value) { return std::exp2(value / 4.0); }

QLabel* small(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setEnabled(false);  // a quiet grey caption
    return label;
}

}  // namespace

PreferencesDialog::PreferencesDialog(const ReaderPreferences& preferences, QWidget* parent)
    : QDialog(parent), m_start(preferences) {
    setWindowTitle(QStringLiteral("設定"));
    auto* form = new QFormLayout;

    m_resume = new QCheckBox(QStringLiteral("本を開いたら続きから読む"), this);
    m_resume->setChecked(preferences.resumeOnOpen);
    form->addRow(m_resume);

    m_autoPlay = new QSlider(Qt::Horizontal, this);
    m_autoPlay->setRange(-SpeedSteps, SpeedSteps);
    m_autoPlay->setPageStep(4);
    m_autoPlay->setTickPosition(QSlider::TicksBelow);
    m_autoPlay->setTickInterval(4);
    m_autoPlay->setValue(sliderValue(preferences.autoPlaySpeed));
    m_autoPlay->setAccessibleName(QStringLiteral("自動再生の速さ"));
    m_autoPlayValue = new QLabel(this);
    auto* autoRow = new QGridLayout;
    autoRow->addWidget(m_autoPlay, 0, 0, 1, 3);
    autoRow->addWidget(m_autoPlayValue, 0, 3);
    autoRow->addWidget(small(QStringLiteral("遅い"), this), 1, 0, Qt::AlignLeft);
    autoRow->addWidget(small(QStringLiteral("速い"), this), 1, 2, Qt::AlignRight);
    form->addRow(QStringLiteral("自動再生の速さ"), autoRow);

    m_instant = new QRadioButton(QStringLiteral("一度に表示"), this);
    m_gradual = new QRadioButton(QStringLiteral("一文字ずつ"), this);
    auto* group = new QButtonGroup(this);
    group->addButton(m_instant);
    group->addButton(m_gradual);
    m_textSpeed = new QSlider(Qt::Horizontal, this);
    m_textSpeed->setRange(ReaderPreferences::MinTextSpeed, ReaderPreferences::MaxTextSpeed);
    m_textSpeed->setSingleStep(5);
    m_textSpeed->setPageStep(10);
    m_textSpeed->setAccessibleName(QStringLiteral("文字の速さ（1秒に表示する文字数）"));
    m_textSpeed->setValue(preferences.textSpeed > 0 ? preferences.textSpeed : 30);
    (preferences.textSpeed > 0 ? m_gradual : m_instant)->setChecked(true);
    m_textSpeedValue = new QLabel(this);
    auto* textRow = new QGridLayout;
    textRow->addWidget(m_instant, 0, 0, 1, 3);
    textRow->addWidget(m_gradual, 1, 0);
    textRow->addWidget(m_textSpeed, 1, 1, 1, 2);
    textRow->addWidget(m_textSpeedValue, 1, 3);
    form->addRow(QStringLiteral("文字の速さ"), textRow);

    m_aozora = new QCheckBox(QStringLiteral("青空文庫の記法を解釈する"), this);
    m_aozora->setChecked(preferences.interpretAozora);
    form->addRow(m_aozora);
    m_rubyInParentheses = new QRadioButton(QStringLiteral("括弧で添える"), this);
    m_rubyOmitted = new QRadioButton(QStringLiteral("省く"), this);
    auto* rubyGroup = new QButtonGroup(this);
    rubyGroup->addButton(m_rubyInParentheses);
    rubyGroup->addButton(m_rubyOmitted);
    (preferences.rubyStyle == RubyStyle::Omit ? m_rubyOmitted : m_rubyInParentheses)->setChecked(true);
    auto* rubyRow = new QHBoxLayout;
    rubyRow->addWidget(m_rubyInParentheses);
    rubyRow->addWidget(m_rubyOmitted);
    rubyRow->addStretch();
    form->addRow(QStringLiteral("ルビ"), rubyRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // The dialog speaks Japanese whatever the system's language.
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_autoPlay, &QSlider::valueChanged, this, &PreferencesDialog::showValues);
    connect(m_textSpeed, &QSlider::valueChanged, this, &PreferencesDialog::showValues);
    connect(m_gradual, &QRadioButton::toggled, this, &PreferencesDialog::showValues);
    showValues();
}

void PreferencesDialog::showValues() {
    const double speed = speedOf(m_autoPlay->value());
    m_autoPlayValue->setText(QStringLiteral("%1 倍").arg(speed, 0, 'g', 3));
    m_textSpeed->setEnabled(m_gradual->isChecked());
    m_textSpeedValue->setEnabled(m_gradual->isChecked());
    m_textSpeedValue->setText(QStringLiteral("1秒に %1 文字").arg(m_textSpeed->value()));
}

ReaderPreferences PreferencesDialog::preferences() const {
    ReaderPreferences p = m_start;
    p.resumeOnOpen = m_resume->isChecked();
    // A speed the slider cannot show exactly stays as it was until moved.
    p.autoPlaySpeed = m_autoPlay->value() == sliderValue(m_start.autoPlaySpeed) ? m_start.autoPlaySpeed
                                                                               : speedOf(m_autoPlay->value());
    p.textSpeed = m_gradual->isChecked() ? m_textSpeed->value() : 0;
    p.interpretAozora = m_aozora->isChecked();
    p.rubyStyle = m_rubyOmitted->isChecked() ? RubyStyle::Omit : RubyStyle::Parentheses;
    return p;
}

}  // namespace velreader
