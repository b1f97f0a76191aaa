#pragma once

#include <QFont>
#include <QList>
#include <QRect>

class QWidget;

namespace common {

// The controls of a window at their design places and in their design
// fonts, laid out again at any whole zoom: every place and font size times
// the zoom, as if the screen's scale had changed.
class ZoomLayout {
public:
    // Puts `widget` at `design` (its place at zoom 1) and remembers it; a
    // control placed after a zoom is laid out at that zoom.
    template <typename W>
    W* place(W* widget, const QRect& design) {
        setPlace(widget, design);
        return widget;
    }
    // Gives `widget` its font at zoom 1 and remembers it (at the zoom in
    // force, like a place).
    void setFont(QWidget* widget, const QFont& font);
    // Lays every remembered control out at `zoom`.
    void apply(int zoom);

private:
    void setPlace(QWidget* widget, const QRect& design);

    struct Placed {
        QWidget* widget;
        QRect design;
    };
    struct Fonted {
        QWidget* widget;
        QFont font;
    };
    QList<Placed> m_placed;
    QList<Fonted> m_fonts;
    int m_zoom = 1;
};

}  // namespace common
