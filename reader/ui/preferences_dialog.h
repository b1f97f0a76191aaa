#pragma once

#include <QDialog>

#include "reader/services/preferences.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace velreader {

// 表示 > "設定...": the three preferences of reading.
//   "本を開いたら続きから読む"  a check box;
//   "自動再生の速さ"            a slider, slower on the left, faster on the
//                               right, from 0.25x to 4x in steps of a
//                               quarter octave, 1x in the middle;
//   "文字の速さ"                at once (the default), or 10 to 100
//                               characters a second;
//   "青空文庫の記法を解釈する"  a check box, and "ルビ": "括弧で添える" (the
//                               default) or "省く".
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(const ReaderPreferences& preferences, QWidget* parent = nullptr);

    // The preferences as the dialog shows them now (the zoom as given).
    ReaderPreferences preferences() const;

    QCheckBox* resumeBox() const { return m_resume; }
    QSlider* autoPlaySlider() const { return m_autoPlay; }
    QRadioButton* instantButton() const { return m_instant; }
    QRadioButton* gradualButton() const { return m_gradual; }
    QSlider* textSpeedSlider() const { return m_textSpeed; }
    QCheckBox* aozoraBox() const { return m_aozora; }
    QRadioButton* rubyInParenthesesButton() const { return m_rubyInParentheses; }
    QRadioButton* rubyOmittedButton() const { return m_rubyOmitted; }

private:
    void showValues();

    ReaderPreferences m_start;
    QCheckBox* m_resume = nullptr;
    QSlider* m_autoPlay = nullptr;
    QLabel* m_autoPlayValue = nullptr;
    QRadioButton* m_instant = nullptr;
    QRadioButton* m_gradual = nullptr;
    QSlider* m_textSpeed = nullptr;
    QLabel* m_textSpeedValue = nullptr;
    QCheckBox* m_aozora = nullptr;
    QRadioButton* m_rubyInParentheses = nullptr;
    QRadioButton* m_rubyOmitted = nullptr;
};

}  // namespace velreader
