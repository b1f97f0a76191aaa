// The user's texts show as typed: tooltips and labels never take them for markup.
#include <QLabel>
#include <QRandomGenerator>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include "common/ui/plain_text.h"
#include "tests/common/shown_as_typed.h"

namespace common {
namespace {

// Random texts made of markup's own characters, entities, words and line
// breaks: each tooltip shows exactly the text (line breaks as breaks), and
// one that does not look like markup is left as it is.
TEST(PlainText, everyToolTipShowsItsTextExactly) {
    const QStringList pieces{"<", ">", "&", "amp;", "lt;", "<b>", "</b>", "<script>", "<br>", "\"", "'",
                             "羊", "ひつじ", "a", " ", "\n", "<p style=\"x\">", "&#65;", "/"};
    QRandomGenerator random(24);
    for (int i = 0; i < 2000; ++i) {
        QString text;
        const int count = 1 + random.bounded(8);
        for (int k = 0; k < count; ++k) text += pieces[random.bounded(int(pieces.size()))];
        const QString tip = plainToolTip(text);
        QString shown = testing::shownToolTip(tip);
        shown.replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
        QString expected = text;
        if (Qt::mightBeRichText(tip)) expected = expected.simplified(), shown = shown.simplified();
        EXPECT_EQ(shown, expected) << text.toStdString();
        if (!Qt::mightBeRichText(text)) EXPECT_EQ(tip, text);
    }
}

// Labels that are not told otherwise show plain text; a label made rich on
// purpose stays rich.
TEST(PlainText, labelsBecomePlainUnlessMadeRichOnPurpose) {
    QWidget root;
    auto* layout = new QVBoxLayout(&root);
    auto* typed = new QLabel(QStringLiteral("特殊文字のテスト<script>x</script>"));
    auto* rich = new QLabel(QStringLiteral("<b>版</b>"));
    rich->setTextFormat(Qt::RichText);
    layout->addWidget(typed);
    layout->addWidget(rich);
    usePlainLabels(&root);
    EXPECT_EQ(typed->textFormat(), Qt::PlainText);
    EXPECT_EQ(rich->textFormat(), Qt::RichText);
    EXPECT_EQ(testing::expectShownAsTyped(&root, QStringLiteral("<script>x</script>")), 1);
}

}  // namespace
}  // namespace common
