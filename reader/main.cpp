// velreader: the reader and player for illustrated texts.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "common/appfolder.h"
#include "common/datafolder.h"
#include "common/large_blocks.h"
#include "common/ui/font_warm_up.h"
#include "common/ui/lazy_icon_style.h"
#include "common/ui/session_bus_warm_up.h"
#include "common/ui/stop_signals.h"
#include "common/ui/translations.h"
#include "reader/ui/vreader3.h"

int main(int argc, char** argv) {
    common::giveLargeBlocksBack();
    // With no session bus to be had, none is looked for (a fork, on a display
    // without one); said before the first thread starts.
    common::disableUnreachableSessionBus();
    // Fontconfig loads on the other core while Qt connects to the display.
    const common::FontConfigurationWarmUp fonts;
    QApplication app(argc, argv);
    // Then Qt's list of the installed fonts, and the session bus, which the
    // accessibility bridge waits for, while the window is built.
    const common::FontDatabaseWarmUp fontList;
    const common::SessionBusWarmUp bus;
    // The platform's style; the menu bar's rarely seen extension arrow is
    // read when first drawn rather than before the first frame.
    QApplication::setStyle(new common::LazyIconStyle);
    QGuiApplication::setDesktopFileName(QLatin1String(common::ReaderId));
    common::installQtTranslations(app);
    const QString folder = common::applicationFolder();
    if (folder.isEmpty()) {
        // Pictures and books are found beside the program, so it needs its folder.
        QMessageBox::critical(nullptr, QStringLiteral("Velin-Reader Ver 1.0"),
                              QStringLiteral("プログラムのフォルダがわかりません。起動できません。"));
        return 1;
    }
    // A portable copy keeps everything beside the program; an installed one
    // starts its book dialogs in the user's own "Book" folder (given the
    // sample book the first time) and looks for pictures in the user's "E"
    // before the installed one.
    velreader::ReaderFolders folders = velreader::ReaderFolders::portable(folder);
    const QString user = common::userDataFolder(QLatin1String(common::ReaderId));
    if (common::isInstalledCopy(folder) && !user.isEmpty()) {
        folders = velreader::ReaderFolders::installed(folder, user);
        velreader::offerSampleBooks(folder + QStringLiteral("Book"), folders.bookFolder);
    }
    // Unsaved work is kept in the user's data folder when the session ends
    // under the reader, never beside a portable copy.
    folders.dataFolder = user;
    velreader::VReader3 window(folders);
    // Told to stop (the session ends, say), the reader closes its window.
    common::closeOnStopSignals(window);
    window.show();
    // A file named on the command line (a book opened from a file manager,
    // say) is opened as a dropped one is: a ".vln" book loads, anything else
    // is read in as a text.
    const QStringList arguments = app.arguments();
    if (arguments.size() > 1) window.openFile(arguments.at(1));
    if (arguments.size() > 2)
        std::fprintf(stderr, "velreader: only the first file is opened; %lld more ignored\n", arguments.size() - 2LL);
    return app.exec();
}
