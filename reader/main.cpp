// velreader: the reader and player for illustrated texts.
#include <QApplication>
#include <QMessageBox>

#include "common/appfolder.h"
#include "common/ui/translations.h"
#include "reader/ui/vreader3.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    common::installQtTranslations(app);
    const QString folder = common::applicationFolder();
    if (folder.isEmpty()) {
        // Pictures and books are found beside the program, so it needs its folder.
        QMessageBox::critical(nullptr, QStringLiteral("Velin-Reader Ver 1.0"),
                              QStringLiteral("プログラムのフォルダがわかりません。起動できません。"));
        return 1;
    }
    velreader::VReader3 window(folder);
    window.show();
    return app.exec();
}
