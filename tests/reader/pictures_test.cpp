// The one picture decoder and PNG encoder, reached the three ways the reader
// decodes: a page picture from its folder, a thumbnail of a file, and bytes
// in memory.
#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "reader/services/picture_files.h"
#include "reader/services/pictures.h"

namespace velreader::testing {
namespace {

QImage decodeBytes(const QByteArray& bytes, QSize size = {}, bool keepShape = false) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodePicture(&buffer, size, keepShape);
}

TEST(PictureCodec, everyWayToDecodeGivesTheSamePixelsAndPngKeepsThemExactly) {
    QTemporaryDir folder;
    const QString pictures = folder.path() + u'/';
    QRandomGenerator random(21);
    for (int round = 0; round < 12; ++round) {
        const bool alpha = round % 2;
        QImage original(int(random.bounded(8, 90)), int(random.bounded(8, 90)),
                        alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        for (int y = 0; y < original.height(); ++y)
            for (int x = 0; x < original.width(); ++x)
                original.setPixel(x, y, qRgba(int(random.bounded(256)), int(random.bounded(256)),
                                               int(random.bounded(256)), alpha ? int(random.bounded(256)) : 255));
        const QByteArray png = pngBytes(original);
        ASSERT_EQ(decodeBytes(png).convertToFormat(original.format()), original) << "round " << round;

        const QString name = QStringLiteral("p%1.png").arg(round);
        QFile file(pictures + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(png);
        file.close();
        PictureStore store({pictures});
        for (const QSize size : {QSize(40, 20), QSize(400, 200), original.size()}) {
            const QImage page = store.load(name, size);
            ASSERT_EQ(page.size(), size);
            EXPECT_EQ(page, decodeBytes(png, size).convertToFormat(page.format())) << "round " << round;
            const QImage thumbnail = pictureThumbnail(pictures + name, size, true);
            EXPECT_EQ(thumbnail, decodeBytes(png, size, true));
            EXPECT_EQ(thumbnail.size(), original.size().scaled(size, Qt::KeepAspectRatio));
        }
    }
    // Only the four formats are decoded, whatever Qt could read.
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray ppm;
    QBuffer out(&ppm);
    out.open(QIODevice::WriteOnly);
    small.save(&out, "PPM");
    EXPECT_TRUE(decodeBytes(ppm).isNull());
    EXPECT_TRUE(decodeBytes("not a picture").isNull());
    EXPECT_TRUE(decodeBytes(pngBytes(small).left(30)).isNull());
}

}  // namespace
}  // namespace velreader::testing
