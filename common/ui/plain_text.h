#pragma once

#include <QString>

class QWidget;

namespace common {

// Qt takes any label, tooltip or message text that looks like markup for
// rich text, so a title such as "特殊文字<script>" would show cut. These
// helpers make the user's texts (titles, file names, words, picture and
// player names) show as they are.

// `text` as a tooltip that shows it character for character.
QString plainToolTip(const QString& text);

// Makes `root` and every label under it that has not been told otherwise
// (its format is still Qt::AutoText) show its text as plain text.
void usePlainLabels(QWidget* root);

}  // namespace common
