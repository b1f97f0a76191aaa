#include "reader/drawing/help_pictures.h"

#include <QPainter>

#include "reader/drawing/preview.h"
#include "reader/rules/colours.h"
#include "reader/drawing/page.h"
#include "reader/drawing/fonts.h"

namespace velreader {
namespace {

QImage canvas(QSize size, qreal scale, const QColor& fill) {
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_RGB32);
    image.fill(fill);
    image.setDevicePixelRatio(scale);
    return image;
}

// Draws what `page` holds into `area`, scaled: pictures stretched over it,
// texts at their baselines in the page font.
void paintPage(QPainter& painter, const PageSurface& page, const QRect& area) {
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(qreal(area.width()) / PageSurface::Width, qreal(area.height()) / PageSurface::Height);
    painter.setFont(page.font());
    for (const PageDrawing& d : page.drawings()) {
        if (d.kind == PageDrawing::Kind::Picture) {
            painter.drawImage(QRect(0, 0, PageSurface::Width, PageSurface::Height), d.picture);
        } else {
            painter.setPen(d.colour);
            painter.drawText(d.baseline, d.text);
        }
    }
    painter.restore();
}

void button(QPainter& painter, const QRect& place, const QString& caption) {
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(QColor(240, 240, 240));
    painter.drawRoundedRect(QRectF(place).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter.setPen(Qt::black);
    painter.drawText(place, Qt::AlignCenter, caption);
}

void textBox(QPainter& painter, const QRect& place, const QString& text) {
    painter.setPen(QColor(120, 120, 120));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(place).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(Qt::black);
    painter.drawText(place.adjusted(4, 3, -14, -3), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    // The scroll bar.
    painter.fillRect(QRect(place.right() - 11, place.top() + 1, 11, place.height() - 2), QColor(232, 232, 232));
}

void tab(QPainter& painter, const QRect& place, const QString& caption, bool active) {
    if (active) painter.fillRect(place, QColor(255, 128, 128));
    painter.setPen(QColor(128, 64, 0));
    painter.drawText(place, Qt::AlignLeft | Qt::AlignTop, caption);
}

}  // namespace

QImage drawWindowPicture(bool playerView, const QImage& pagePicture, qreal scale) {
    QImage image = canvas(QSize(418, 304), scale, QColor(255, 220, 224));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(pageFont());
    tab(painter, QRect(7, 14, 67, 13), QStringLiteral("プレーヤー"), playerView);
    tab(painter, QRect(77, 14, 78, 13), QStringLiteral("文章読み込み"), !playerView);
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(QRect(210, 14, 120, 12), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Filename-hitsuji.vln"));
    if (playerView) {
        const PageSurface page = previewPage(pagePicture, DefaultTextColour,
                                          {QStringLiteral("ひつじの旅"), QStringLiteral("朝の光が、丘の小屋を照らしました。"),
                                           QStringLiteral("子ひつじのモフは、大きくのびをしました。")});
        paintPage(painter, page, QRect(7, 28, 400, 200));
        painter.setPen(QPen(QColor(255, 156, 0), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(6.5, 27.5, 401, 201));
        textBox(painter, QRect(7, 238, 316, 57), QStringLiteral("ロード完了。"));
        button(painter, QRect(331, 238, 78, 29), QStringLiteral("再生"));
        button(painter, QRect(331, 266, 78, 29), QStringLiteral("巻き戻し"));
    } else {
        painter.setFont(listingFont());
        textBox(painter, QRect(7, 28, 316, 200),
                QStringLiteral("指定語＞朝\n絵ファイルの名前＞asa.png＞茶(0)"));
        painter.setFont(pageFont());
        textBox(painter, QRect(7, 238, 316, 57), QStringLiteral("海：umi.png＞青"));
        button(painter, QRect(331, 28, 78, 29), QStringLiteral("単語表示"));
        button(painter, QRect(331, 63, 78, 29), QStringLiteral("全文表示"));
        button(painter, QRect(331, 98, 78, 29), QStringLiteral("単語消す"));
        button(painter, QRect(331, 238, 78, 29), QStringLiteral("読み込み"));
        button(painter, QRect(331, 266, 78, 29), QStringLiteral("単語指定"));
    }
    return image;
}

QImage drawColourChart(qreal scale) {
    constexpr int Cell = 40;
    const auto& table = textColourTable();
    QImage image = canvas(QSize(Cell * int(table.size()), 52), scale, Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = titleFont();
    for (int i = 0; i < int(table.size()); ++i) {
        const QRect cell(i * Cell, 0, Cell, 52);
        // The word as it shows on the blank page, then its colour alone.
        painter.fillRect(cell.adjusted(2, 2, -2, -26), DesignPictureColour);
        painter.setFont(font);
        painter.setPen(table[i].colour);
        painter.drawText(cell.adjusted(2, 2, -2, -26), Qt::AlignCenter, QString(QChar(table[i].word)));
        painter.setPen(QColor(128, 128, 128));
        painter.setBrush(table[i].colour);
        painter.drawRect(QRectF(cell.adjusted(4, 30, -4, -4)).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    return image;
}

QImage drawPage(const QImage& picture, const QColor& colour, const QStringList& rows, qreal scale) {
    QImage image = canvas(QSize(PageSurface::Width, PageSurface::Height), scale, Qt::white);
    QPainter painter(&image);
    paintPage(painter, previewPage(picture, colour, rows), QRect(0, 0, PageSurface::Width, PageSurface::Height));
    return image;
}

}  // namespace velreader
