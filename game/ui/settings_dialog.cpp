#include "game/ui/settings_dialog.h"

#include "game/ui/close_buttons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace {
QString percent(int value) {
    return QStringLiteral("%1%").arg(value);
}
}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("設定 - Woolmere"));

    auto* sound = new QGroupBox(QStringLiteral("音"), this);
    auto* form = new QFormLayout(sound);
    m_mute = new QCheckBox(QStringLiteral("音を消す（M）"), sound);
    form->addRow(m_mute);
    m_effects = volumeSlider(m_effectsValue, QStringLiteral("効果音の音量"));
    m_music = volumeSlider(m_musicValue, QStringLiteral("音楽の音量"));
    const auto row = [sound](QSlider* slider, QLabel* value) {
        auto* box = new QWidget(sound);
        auto* line = new QHBoxLayout(box);
        line->setContentsMargins(0, 0, 0, 0);
        line->addWidget(slider, 1);
        line->addWidget(value);
        return box;
    };
    form->addRow(QStringLiteral("効果音の音量"), row(m_effects, m_effectsValue));
    form->addRow(QStringLiteral("音楽の音量"), row(m_music, m_musicValue));
    m_stopMusic = new QPushButton(QStringLiteral("音楽を止める"), sound);
    form->addRow(QString(), m_stopMusic);

    auto* play = new QGroupBox(QStringLiteral("遊び"), this);
    auto* playLayout = new QVBoxLayout(play);
    m_pause = new QCheckBox(QStringLiteral("ほかのウィンドウに移ったら一時停止する"), play);
    playLayout->addWidget(m_pause);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sound);
    layout->addWidget(play);
    layout->addWidget(closeButtons(this));

    connect(m_mute, &QCheckBox::toggled, this, &SettingsDialog::mutedChanged);
    connect(m_effects, &QSlider::valueChanged, this, [this](int v) {
        m_effectsValue->setText(percent(v));
        emit effectsVolumeChanged(v);
    });
    connect(m_music, &QSlider::valueChanged, this, [this](int v) {
        m_musicValue->setText(percent(v));
        emit musicVolumeChanged(v);
    });
    connect(m_stopMusic, &QPushButton::clicked, this, &SettingsDialog::stopMusicClicked);
    connect(m_pause, &QCheckBox::toggled, this, &SettingsDialog::pauseWhenInactiveChanged);
}

QSlider* SettingsDialog::volumeSlider(QLabel*& value, const QString& name) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(0, 100);
    slider->setSingleStep(5);
    slider->setPageStep(10);
    slider->setAccessibleName(name);
    slider->setMinimumWidth(160);
    value = new QLabel(percent(100), this);
    // Wide enough for "100%", so the slider does not move as the value changes.
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(percent(100)) + 4);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return slider;
}

void SettingsDialog::showValues(bool muted, int effectsPercent, int musicPercent, bool pauseWhenInactive) {
    const QSignalBlocker a(m_mute), b(m_effects), c(m_music), d(m_pause);
    m_mute->setChecked(muted);
    m_effects->setValue(effectsPercent);
    m_music->setValue(musicPercent);
    m_effectsValue->setText(percent(effectsPercent));
    m_musicValue->setText(percent(musicPercent));
    m_pause->setChecked(pauseWhenInactive);
}

void SettingsDialog::setStopMusicEnabled(bool enabled) {
    m_stopMusic->setEnabled(enabled);
}
