#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// Shows one picture surface of the game inside a border and reports mouse
// presses in the surface's pixel coordinates. It only paints what the
// surface holds; all drawing happens on the surface itself. At any zoom and
// on any screen each surface pixel is a block of whole device pixels, the
// border is filled beside the picture (never over it), and a press maps to
// the surface pixel drawn under the pointer.
class SurfaceView : public QWidget {
    Q_OBJECT
public:
    enum class Border { Flat, Sunken };

    SurfaceView(const QImage* surface, Border border, QWidget* parent = nullptr);

    // Border width at zoom 1, in pixels.
    int borderWidth() const { return m_border == Border::Flat ? 1 : 2; }
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    // Where the surface is drawn, in the view's coordinates.
    QRectF pictureRect() const;

    // A veil over the picture: dimmed, with `text` in its middle (an empty
    // text lifts it). The surface itself is not changed.
    void setVeil(const QString& text);
    const QString& veil() const { return m_veil; }
    // A small pixel picture drawn over the surface at `at` (surface pixels),
    // in whole blocks like the surface; a null image takes it away.
    void setBadge(const QImage& badge, QPoint at);
    // A right press on the view opens no context menu (the field shears
    // with every button); the Menu key still does.
    void setMouseContextMenu(bool enabled) { m_mouseContextMenu = enabled; }

signals:
    // A mouse button went down over the surface pixel (x, y); presses on the
    // border are not reported.
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, float x, float y);
    // Enter or Space while the view has the keyboard focus.
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const QImage* m_surface;
    Border m_border;
    int m_zoom = 1;
    QString m_veil;
    QImage m_badge;
    QPoint m_badgeAt;
    bool m_mouseContextMenu = true;
};
