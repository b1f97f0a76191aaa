#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

namespace velreader {

// What was drawn on the page since it was last cleared, in order, so that a
// window can draw the same page at any scale: pictures stretched over the
// whole page, and texts at their baseline in page units.
struct PageDrawing {
    enum class Kind { Picture, Text };
    Kind kind = Kind::Picture;
    QImage picture;
    QString text;
    QPoint baseline;  // where the text starts, on its baseline
    QColor colour;

    bool operator==(const PageDrawing&) const = default;
};

// A picture surface with a print position, like the page `Pmain`: 400 x 200
// units on a 400 x 200 pixel image, so one unit is one pixel.
class PageSurface {
public:
    static constexpr int Width = 400;
    static constexpr int Height = 200;

    PageSurface();

    const QImage& image() const { return m_image; }
    // Everything drawn since the last clear; the first entry is always a
    // picture covering the page.
    const QList<PageDrawing>& drawings() const { return m_drawings; }
    // The page font at 1 unit a pixel.
    const QFont& font() const;

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
    int lineHeight() const;

    bool operator==(const PageSurface& other) const;

private:
    QImage m_image;
    QImage m_base;
    QList<PageDrawing> m_drawings;
    QColor m_foreColor;
    int m_x = 0;
    int m_y = 0;
};

// A plain single-colour 400 x 200 picture, like the design pictures of the
// page and its helpers.
QImage blankPicture(const QColor& colour);

}  // namespace velreader
