#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

namespace velreader {

// A note that says why something did nothing, over the window near the
// place it concerns. Unlike a tooltip it stays: at least minimumShown()
// and until the next key or click after it appeared, whichever is later.
// Its text is shown as it is, never as markup.
class StayingNotice : public QLabel {
    Q_OBJECT
public:
    static constexpr int DefaultMinimumMs = 8000;

    explicit StayingNotice(QWidget* parent);
    ~StayingNotice() override;

    // Shows `text` just above `anchor` (in the parent's coordinates), or
    // below it when there is no room above, `width` wide at most.
    void showAbove(const QString& text, const QRect& anchor, int width);
    void setMinimumShown(int milliseconds) { m_minimumMs = milliseconds; }
    int minimumShown() const { return m_minimumMs; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hideWhenDone();

    int m_minimumMs = DefaultMinimumMs;
    QTimer m_minimum;
    bool m_inputSeen = false;
};

}  // namespace velreader
