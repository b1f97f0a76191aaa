// velreader: the reader and player for illustrated texts.
#include <QApplication>

#include "common/appfolder.h"
#include "reader/window/vreader3.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velreader::VReader3 window(common::applicationFolder());
    window.show();
    return app.exec();
}
