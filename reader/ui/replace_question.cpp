#include "reader/ui/replace_question.h"

#include <QMessageBox>
#include <QPushButton>

#include "reader/drawing/fonts.h"

namespace velreader {

bool askReplace(QWidget* parent, const QString& fileName) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velin-Reader Ver 1.0"),
                    QStringLiteral("「%1」はもうあります。置き換えますか？").arg(fileName), QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    box.setFont(listingFont());
    QPushButton* replace = box.addButton(QStringLiteral("置き換える"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    // Enter alone never replaces a file.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == replace;
}

}  // namespace velreader
