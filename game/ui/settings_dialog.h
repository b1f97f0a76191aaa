#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

// The game's settings dialog "設定": mute, the volume of the effects and of
// the music, "音楽を止める", and whether leaving the window pauses a roll
// or a round. Every change takes effect at once (the window applies and
// keeps it); "閉じる" closes.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* parent = nullptr);

    // Shows the values without reporting them as changes.
    void showValues(bool muted, int effectsPercent, int musicPercent, bool pauseWhenInactive);
    // "音楽を止める" is offered while there is a tune to stop, exactly as the
    // window's menu offers it.
    void setStopMusicEnabled(bool enabled);

    QCheckBox* muteBox() const { return m_mute; }
    QSlider* effectsSlider() const { return m_effects; }
    QSlider* musicSlider() const { return m_music; }
    QPushButton* stopMusicButton() const { return m_stopMusic; }
    QCheckBox* pauseBox() const { return m_pause; }

signals:
    void mutedChanged(bool muted);
    void effectsVolumeChanged(int percent);
    void musicVolumeChanged(int percent);
    void stopMusicClicked();
    void pauseWhenInactiveChanged(bool pause);

private:
    QSlider* volumeSlider(QLabel*& value, const QString& name);

    QCheckBox* m_mute = nullptr;
    QSlider* m_effects = nullptr;
    QSlider* m_music = nullptr;
    QLabel* m_effectsValue = nullptr;
    QLabel* m_musicValue = nullptr;
    QPushButton* m_stopMusic = nullptr;
    QCheckBox* m_pause = nullptr;
};
