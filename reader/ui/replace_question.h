#pragma once

#include <QString>

class QWidget;

namespace velreader {

// "「NAME」はもうあります。置き換えますか？" with 置き換える / キャンセル, the name
// shown as it is (never as markup). True when the user chose 置き換える;
// キャンセル, Escape and closing the box keep the file.
bool askReplace(QWidget* parent, const QString& fileName);

}  // namespace velreader
