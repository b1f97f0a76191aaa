#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

namespace velreader {

// A picture surface with a print position, like the page `Pmain`: 400 x 200
// units on a 400 x 200 pixel image, so one unit is one pixel.
class PageSurface {
public:
    static constexpr int Width = 400;
    static constexpr int Height = 200;

    PageSurface();

    const QImage& image() const { return m_image; }

    // The picture that clearing shows (the design picture).
    void setBasePicture(const QImage& picture);
    // Drawn text and painted pictures go, the base picture shows again, and
    // the print position returns to 0, 0.
    void clear();
    // Paints `picture` at 0, 0 stretched to the whole page.
    void paintPicture(const QImage& picture);
    // Draws `text` at the print position in the page font and text colour,
    // then moves the print position to the start of the next text line.
    void print(const QString& text);

    int x() const { return m_x; }
    int y() const { return m_y; }
    void setX(int x) { m_x = x; }
    void setY(int y) { m_y = y; }

    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor& colour) { m_foreColor = colour; }

    // Height of one text line of the page font, in units.
    int lineHeight() const { return m_lineHeight; }

    bool operator==(const PageSurface& other) const;

private:
    QImage m_image;
    QImage m_base;
    QFont m_font;
    QColor m_foreColor;
    int m_x = 0;
    int m_y = 0;
    int m_lineHeight = 0;
    int m_ascent = 0;
};

// A plain single-colour 400 x 200 picture, like the design pictures of the
// page and its helpers.
QImage blankPicture(const QColor& colour);

}  // namespace velreader
