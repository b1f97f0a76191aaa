#include "reader/drawing/page.h"

#include <QColorSpace>
#include <QFontMetrics>
#include <QPainter>

#include "reader/drawing/fonts.h"

namespace velreader {

QImage blankPicture(const QColor& colour) {
    const auto make = [&colour] {
        QImage image(PageSurface::Width, PageSurface::Height, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    };
    // The design's blank is wanted by the page, the player and each preview:
    // made once, its pixels shared until one of them draws on its copy.
    if (colour == DesignPictureColour) {
        static const QImage blank = make();
        return blank;
    }
    return make();
}

PageSurface::PageSurface()
    : m_image(blankPicture(DesignPictureColour)),
      m_base(m_image),
      m_foreColor(Qt::black) {
    m_drawings.append({PageDrawing::Kind::Picture, m_base, {}, {}, {}});
}

namespace {

struct LineMetrics {
    int height;
    int ascent;
};

// The page font's line on the page's pictures, the same for every page:
// measured once, when a page first prints or is asked, so that making the
// reader's first page needs no font.
const LineMetrics& lineMetrics() {
    static const LineMetrics metrics = [] {
        const QImage page = blankPicture(DesignPictureColour);
        const QFontMetrics font(pageFont(), &page);
        return LineMetrics{font.height(), font.ascent()};
    }();
    return metrics;
}

}  // namespace

const QFont& PageSurface::font() const {
    return pageFont();
}

int PageSurface::lineHeight() const {
    return lineMetrics().height;
}

void PageSurface::setBasePicture(const QImage& picture) {
    m_base = picture.convertToFormat(QImage::Format_RGB32)
                 .scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void PageSurface::clear() {
    m_image = m_base;
    m_drawings = {{PageDrawing::Kind::Picture, m_base, {}, {}, {}}};
    m_x = 0;
    m_y = 0;
}

void PageSurface::paintPicture(const QImage& picture) {
    if (!picture.hasAlphaChannel() && picture.size() == m_image.size() && picture.format() == m_image.format() &&
        picture.devicePixelRatio() == m_image.devicePixelRatio() && picture.colorSpace() == m_image.colorSpace()) {
        // Drawn over the whole page, an opaque picture of the page's own size
        // and format would give its own pixels: the page shares them instead
        // of copying the page to draw on it (the start-up paints the blank
        // picture twice, and every page of a picture book starts with one).
        m_image = picture;
    } else {
        QPainter painter(&m_image);
        painter.drawImage(QRect(0, 0, Width, Height), picture);
    }
    // An opaque picture covers the whole page: what lay below is gone.
    if (!picture.hasAlphaChannel()) m_drawings.clear();
    m_drawings.append({PageDrawing::Kind::Picture, picture, {}, {}, {}});
}

void PageSurface::print(const QString& text) {
    if (!text.isEmpty()) {
        QPainter painter(&m_image);
        painter.setFont(pageFont());
        painter.setPen(m_foreColor);
        const QPoint start(m_x, m_y + lineMetrics().ascent);
        painter.drawText(start, text);
        m_drawings.append({PageDrawing::Kind::Text, {}, text, start, m_foreColor});
    }
    m_x = 0;
    m_y += lineHeight();
}

bool PageSurface::operator==(const PageSurface& other) const {
    return m_image == other.m_image && m_base == other.m_base && m_foreColor == other.m_foreColor &&
           m_x == other.m_x && m_y == other.m_y;
}

}  // namespace velreader
