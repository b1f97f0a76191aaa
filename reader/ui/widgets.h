#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

namespace velreader {

class PageSurface;

// A label that reports a click, for the tab labels.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// One of the two helper pictures: an image at its natural size (times the
// zoom) inside a sunken two-pixel border.
class PictureView : public QWidget {
public:
    explicit PictureView(QWidget* parent);
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    void setZoom(int zoom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    int m_zoom = 1;
};

// The page `Pmain`: shows the page at the zoom, its pictures in whole
// pixels and its text drawn at the screen's own resolution. A left click
// and a turn of the wheel towards the user (one line a notch) ask for the
// next line, a turn away for the line before. It takes the keyboard focus;
// its keys are the window's.
class PageView : public QWidget {
    Q_OBJECT
public:
    PageView(const PageSurface& page, QWidget* parent);
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    // Shows only the first `shown` UTF-16 units of the rows drawn from
    // drawing `lineStart` on (the line still appearing); -1 shows them whole.
    void setReveal(int lineStart, int shown);

signals:
    void nextLineWanted();
    void previousLineWanted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const PageSurface& m_page;
    int m_zoom = 1;
    int m_wheel = 0;  // eighths of a degree turned, not yet a notch (towards the user: negative)
    int m_revealStart = 0;
    int m_revealShown = -1;
};

// The four frame lines of the page, Line1 to Line4, filled beside the page
// so that they never cover it. They lie over the helper pictures, whose
// strip at the window's edge would otherwise hide part of the frame, and
// under every other control.
class FrameLines : public QWidget {
public:
    explicit FrameLines(QWidget* parent);
    void setZoom(int zoom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_zoom = 1;
};

// The client area: the window background, and the frame lines of the page.
class FormSurface : public QWidget {
public:
    explicit FormSurface(QWidget* parent);
    // Made once the helper pictures are, to lie over them.
    void addLines();
    void setLinesVisible(bool visible);
    bool linesVisible() const { return m_lines && m_lines->isVisible(); }
    void setZoom(int zoom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FrameLines* m_lines = nullptr;
};

}  // namespace velreader
