// What the windows build before their first frame, made cheaper without a
// pixel of difference: the deferred standard icons and the program icon.
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QImageReader>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <fstream>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include "common/ui/font_warm_up.h"
#include "common/ui/lazy_icon_style.h"
#include "common/ui/program_icon.h"
#include "common/ui/session_bus_warm_up.h"

namespace common {
namespace {

QImage painted(const QIcon& icon, QSize size, QIcon::Mode mode) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, image.rect(), Qt::AlignCenter, mode);
    return image;
}

// Every standard icon of the lazy style, deferred or not, gives the very
// pictures of the style it wraps, in every size and mode, painted or as a
// pixmap, and its sizes.
TEST(LazyIconStyle, everyStandardIconIsTheWrappedStylesOwn) {
    LazyIconStyle lazy;
    QStyle* const base = lazy.baseStyle();
    ASSERT_NE(base, nullptr);
    QMenuBar bar;
    for (int which = 0; which <= int(QStyle::SP_LineEditClearButton); ++which) {
        const auto pixmap = QStyle::StandardPixmap(which);
        const QIcon mine = lazy.standardIcon(pixmap, nullptr, &bar);
        const QIcon theirs = base->standardIcon(pixmap, nullptr, &bar);
        ASSERT_EQ(mine.isNull(), theirs.isNull()) << which;
        if (theirs.isNull()) continue;
        for (const int side : {8, 13, 16, 24, 32, 64})
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
                const QSize size(side, side);
                EXPECT_EQ(mine.actualSize(size, mode), theirs.actualSize(size, mode)) << which << " " << side;
                EXPECT_EQ(mine.pixmap(size, mode).toImage(), theirs.pixmap(size, mode).toImage()) << which << " " << side;
                EXPECT_EQ(painted(mine, size, mode), painted(theirs, size, mode)) << which << " " << side;
            }
        EXPECT_EQ(mine.availableSizes(), theirs.availableSizes()) << which;
        const QIcon copy = mine;  // a copy made before first use paints the same
        EXPECT_EQ(copy.pixmap(16).toImage(), theirs.pixmap(16).toImage()) << which;
    }
}

// A menu bar made under the lazy style still has its extension arrow, the
// same as the wrapped style draws.
TEST(LazyIconStyle, menuBarKeepsItsExtensionArrow) {
    auto* lazy = new LazyIconStyle;
    QMenuBar bar;
    bar.setStyle(lazy);
    const QIcon arrow = lazy->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &bar);
    EXPECT_FALSE(arrow.isNull());
    EXPECT_EQ(arrow.pixmap(16).toImage(),
              lazy->baseStyle()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16).toImage());
    bar.setStyle(nullptr);
    delete lazy;
}

// Qt matches fonts while the configuration is still loading on the
// warm-up's thread, and again after any number of warm-ups: the same
// families and the same match every time.
TEST(FontConfigurationWarmUp, fontsMatchTheSameWhileAndAfterItLoads) {
    QStringList families;
    QString matched;
    {
        const FontConfigurationWarmUp warmUp;
        families = QFontDatabase::families();
        matched = QFontInfo(QFont(QStringLiteral("IPAGothic"), 9)).family();
    }
    EXPECT_TRUE(families.contains(QStringLiteral("IPAGothic")));
    EXPECT_EQ(matched, QStringLiteral("IPAGothic"));
    for (int i = 0; i < 5; ++i) {
        const FontConfigurationWarmUp again;
        EXPECT_EQ(QFontDatabase::families(), families);
    }
}

// A bus is found exactly where libdbus would find one: an address (an empty
// one is none), the user's bus socket, or a dbus-launch it could run, from its
// own folder or along PATH, where an empty entry is the current folder. A
// dbus-launch that cannot run is none.
TEST(SessionBus, foundWhereLibdbusWouldFindIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    for (const char* folder : {"/run", "/run-bus", "/empty", "/plain", "/launcher"})
        ASSERT_EQ(mkdir((root + folder).c_str(), 0755), 0);
    std::ofstream(root + "/run-bus/bus");
    std::ofstream(root + "/plain/dbus-launch");
    std::ofstream(root + "/launcher/dbus-launch");
    ASSERT_EQ(chmod((root + "/launcher/dbus-launch").c_str(), 0755), 0);
    const std::string run = root + "/run", runBus = root + "/run-bus", empty = root + "/empty";
    const std::string plain = root + "/plain", launcher = root + "/launcher";
    const std::string noLauncher = empty + ":" + plain;
    const std::string launcherLast = noLauncher + ":" + launcher;
    struct Case {
        const char* address;
        const std::string* runtimeDir;
        const std::string* path;
        const std::string& binDir;
        bool found;
    } cases[] = {
        {"unix:path=/nowhere", nullptr, &noLauncher, empty, true},
        {"", &run, &noLauncher, empty, false},
        {"", &run, &launcherLast, empty, true},
        {nullptr, &runBus, &noLauncher, empty, true},
        {nullptr, &run, &noLauncher, empty, false},
        {nullptr, nullptr, &noLauncher, plain, false},
        {nullptr, &run, &launcherLast, empty, true},
        {nullptr, &run, &noLauncher, launcher, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.address ? c.address : "(no address)") + std::string(" ") + (c.path ? *c.path : "") + " " + c.binDir);
        EXPECT_EQ(sessionBusCanBeFound(c.address, c.runtimeDir ? c.runtimeDir->c_str() : nullptr,
                                       c.path ? c.path->c_str() : nullptr, c.binDir),
                  c.found);
    }
    // An empty PATH entry is the current folder.
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(launcher)));
    const std::string emptyEntry = noLauncher + "::" + empty;
    EXPECT_TRUE(sessionBusCanBeFound(nullptr, run.c_str(), emptyEntry.c_str(), empty));
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(plain)));
    EXPECT_FALSE(sessionBusCanBeFound(nullptr, run.c_str(), emptyEntry.c_str(), empty));
    QDir::setCurrent(here);
}

}  // namespace
}  // namespace common
