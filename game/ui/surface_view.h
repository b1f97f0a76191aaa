#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// Shows one picture surface of the game inside a border and reports mouse
// presses in the surface's pixel coordinates. It only paints what the
// surface holds; all drawing happens on the surface itself.
class SurfaceView : public QWidget {
    Q_OBJECT
public:
    enum class Border { Flat, Sunken };

    SurfaceView(const QImage* surface, Border border, QWidget* parent = nullptr);

    int borderWidth() const { return m_border == Border::Flat ? 1 : 2; }

signals:
    // A mouse button went down at (x, y) in pixels of the surface.
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage* m_surface;
    Border m_border;
};
