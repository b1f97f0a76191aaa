#include "common/ui/plain_text.h"

#include <QLabel>
#include <QTextDocument>

namespace common {

QString plainToolTip(const QString& text) {
    // A tooltip that does not look like markup is shown as it is; one that
    // does is given as markup that shows its characters.
    if (text.isEmpty() || !Qt::mightBeRichText(text)) return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

void usePlainLabels(QWidget* root) {
    if (!root) return;
    QList<QLabel*> labels = root->findChildren<QLabel*>();
    if (auto* label = qobject_cast<QLabel*>(root)) labels.prepend(label);
    for (QLabel* label : labels)
        if (label->textFormat() == Qt::AutoText) label->setTextFormat(Qt::PlainText);
}

}  // namespace common
