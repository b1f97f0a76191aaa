#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

// The row with the one button "閉じる" that the game's dialogs end with; it
// closes `dialog` as Escape does.
inline QDialogButtonBox* closeButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
