// What the reader builds before its first frame: fonts named by the family
// that is installed and a program icon read without guessing its format,
// each showing exactly what the window's own names and files show.
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "common/datafolder.h"
#include "common/ui/program_icon.h"
#include "reader/drawing/fonts.h"

namespace velreader {
namespace {

QImage written(const QFont& font) {
    QImage image(640, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    // Kana, kanji, Latin, half-width kana, box drawing, and characters the IPA
    // fonts lack (an emoji, Thai, Hangul), which come from the fallbacks.
    painter.drawText(4, 28, QStringLiteral("あいう漢字ABCxyz123「」。ｱｲｳ─│αβ😀฿한∀①"));
    return image;
}

// Each shared font prints exactly as a font of the window's Windows name,
// matched through the substitutions, prints: same family, size, weight and
// pixels, fallbacks included.
TEST(StartUp, fontsPrintAsTheWindowsNamesDo) {
    installFontSubstitutions();
    QFont page(QStringLiteral("ＭＳ ゴシック"), 9);
    page.setStyleStrategy(QFont::NoAntialias);
    const QFont listing(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    const QFont title(QStringLiteral("ＭＳ ゴシック"), 12, QFont::Bold);
    const struct {
        const QFont& shared;
        const QFont& named;
    } cases[] = {{pageFont(), page}, {listingFont(), listing}, {titleFont(), title}};
    for (const auto& c : cases) {
        EXPECT_EQ(QFontInfo(c.shared).family(), QFontInfo(c.named).family());
        EXPECT_EQ(QFontInfo(c.shared).pixelSize(), QFontInfo(c.named).pixelSize());
        EXPECT_EQ(QFontInfo(c.shared).bold(), QFontInfo(c.named).bold());
        EXPECT_EQ(written(c.shared), written(c.named)) << c.named.family().toStdString();
    }
    // Made once: every call gives the same font object.
    EXPECT_EQ(&pageFont(), &pageFont());
}

// The program icon holds the four window sizes, each exactly the picture an
// icon made from its file, with Qt left to find the format, holds.
TEST(StartUp, programIconHoldsItsFourPictures) {
    const QString id = QLatin1String(common::ReaderId);
    const QIcon icon = common::programIcon(id);
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
    for (const int size : {16, 32, 48, 64}) {
        QIcon file;
        file.addFile(QStringLiteral(":/icons/%1/%2.png").arg(size).arg(id), QSize(size, size));
        ASSERT_FALSE(file.isNull()) << size;
        const QImage expected = file.pixmap(QSize(size, size), 1.0).toImage();
        EXPECT_EQ(expected.size(), QSize(size, size));
        EXPECT_EQ(icon.pixmap(QSize(size, size), 1.0).toImage(), expected) << size;
    }
}

}  // namespace
}  // namespace velreader
