// A reader window with unsaved work, for the tests that end a reader from
// outside: it reads a text and designates a word as a user does (typed
// into Text1, then the buttons), prints "ready" and waits to be ended.
//   reader_work_child APPFOLDER DATAFOLDER TEXT DESIGNATION
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "common/ui/stop_signals.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader/ui/widgets.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: reader_work_child APPFOLDER DATAFOLDER TEXT DESIGNATION\n");
        return 2;
    }
    velreader::ReaderFolders folders = velreader::ReaderFolders::portable(QString::fromUtf8(argv[1]));
    folders.dataFolder = QString::fromUtf8(argv[2]);
    velreader::VReader3 window(folders);
    common::closeOnStopSignals(window);
    window.show();
    QTest::mouseClick(window.tab(2), Qt::LeftButton);
    window.text1()->setPlainText(QString::fromUtf8(argv[3]));
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    window.text1()->setPlainText(QString::fromUtf8(argv[4]));
    QTest::mouseClick(window.command(3), Qt::LeftButton);
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
