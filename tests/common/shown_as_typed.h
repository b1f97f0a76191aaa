#pragma once

#include <QAbstractItemView>
#include <QLabel>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

namespace common::testing {

// What a tooltip shows: markup rendered, anything else as it is.
inline QString shownToolTip(const QString& tip) {
    if (!Qt::mightBeRichText(tip)) return tip;
    QTextDocument document;
    document.setHtml(tip);
    QString shown = document.toPlainText();
    shown.replace(QChar::Nbsp, u' ');
    return shown;
}

// Checks that the user's `text` shows exactly as typed wherever `root` (and
// every widget under it) shows it: in labels, which then show plain text,
// and in tooltips of widgets and of list and table cells. Returns in how
// many places it shows, so that a test can tell it looked at them.
inline int expectShownAsTyped(QWidget* root, const QString& text) {
    int places = 0;
    const auto checkTip = [&](const QString& tip, const QString& where) {
        if (tip.isEmpty()) return;
        const bool holds = tip.contains(text) || shownToolTip(tip).contains(text);
        if (!holds) return;
        EXPECT_TRUE(shownToolTip(tip).contains(text)) << where.toStdString() << ": " << tip.toStdString();
        ++places;
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        const QString where = widget->metaObject()->className() + QStringLiteral(" ") + widget->objectName();
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->text().contains(text)) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << where.toStdString() << ": " << label->text().toStdString();
            ++places;
        }
        checkTip(widget->toolTip(), where);
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
            const QAbstractItemModel* model = view->model();
            for (int row = 0; row < model->rowCount(); ++row)
                for (int column = 0; column < model->columnCount(); ++column)
                    checkTip(model->index(row, column).data(Qt::ToolTipRole).toString(), where + " cell");
        }
    }
    return places;
}

}  // namespace common::testing
