#pragma once

#include <QWidget>

namespace velreader {

// The thin bar under the page that shows where the reader is: filled in
// proportion step / total, in another colour while auto-play runs. Its
// tooltip and accessible name read "N / M 行". A found passage's step is
// marked with a thin blue line. A click or a drag on it asks
// to go to the step under the pointer.
class PositionBar : public QWidget {
    Q_OBJECT
public:
    explicit PositionBar(QWidget* parent = nullptr);

    void setPosition(int step, int total, bool autoPlaying);
    int step() const { return m_step; }
    int total() const { return m_total; }
    bool autoPlaying() const { return m_autoPlaying; }
    void setZoom(int zoom);
    // Marks a step (the place a find went to) with a thin line; -1: none.
    void setMark(int step);
    int mark() const { return m_mark; }

signals:
    void stepWanted(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void seek(qreal x);

    int m_step = 0;
    int m_total = 0;
    bool m_autoPlaying = false;
    int m_zoom = 1;
    int m_mark = -1;
};

}  // namespace velreader
