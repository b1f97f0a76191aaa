// The cut of a paragraph into display lines with the rules of Japanese line
// breaking, held against the rule stated as properties of every cut.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "reader/rules/line_breaking.h"

namespace velreader::testing {
namespace {

constexpr int Width = 30;

bool mayCut(const QString& text, qsizetype at) {
    return !isLineStartForbidden(text[at].unicode()) && !isLineEndForbidden(text[at - 1].unicode());
}

// Random paragraphs of kana, kanji, Latin letters and the marks the rules
// name; a third of them with ruby groups, some longer than a line.
TEST(LineBreaking, everyCutIsTheLastAllowedOneWithinThreeOfTheThirtiethOrTheThirtieth) {
    const QString alphabet = QStringLiteral("あいうかき漢字羊ab。、」』）ー…っャ々「『（〔“");
    QRandomGenerator random(2200);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = int(random.bounded(1, 160));
        for (int i = 0; i < length; ++i) text += alphabet[int(random.bounded(alphabet.size()))];
        QList<Unbreakable> groups;
        if (round % 3 == 0) {
            for (qsizetype at = random.bounded(10); at < text.size();) {
                const qsizetype size = std::min<qsizetype>(text.size() - at, random.bounded(2, round % 2 ? 12 : 40));
                groups.append({at, size});
                at += size + random.bounded(1, 20);
            }
        }
        QStringList lines;
        breakLines(text, groups, LineLayout(), Width, lines);
        ASSERT_EQ(lines.join(QString()), text);

        qsizetype start = 0;
        for (int n = 0; n < lines.size(); ++n) {
            const qsizetype size = lines[n].size();
            ASSERT_GE(size, 1);
            ASSERT_LE(size, Width);
            const qsizetype cut = start + size;
            for (const Unbreakable& g : groups)
                if (g.length <= Width) EXPECT_FALSE(cut > g.start && cut < g.start + g.length) << "a group is cut: " << text.toStdString();
            if (groups.isEmpty() && n + 1 < lines.size()) {
                // Without groups every piece is one character.
                if (size == Width) {
                    if (!mayCut(text, cut))
                        for (int back = 1; back <= 3; ++back) EXPECT_FALSE(mayCut(text, cut - back)) << text.toStdString();
                } else {
                    EXPECT_GE(size, Width - 3) << text.toStdString();
                    EXPECT_TRUE(mayCut(text, cut)) << text.toStdString();
                    for (qsizetype later = cut + 1; later <= start + Width; ++later)
                        EXPECT_FALSE(mayCut(text, later)) << text.toStdString();
                }
            }
            start = cut;
        }
    }
}

TEST(LineBreaking, indentationAndRightAlignmentUseFullWidthSpaces) {
    const QString text = QString(35, u'羊');
    const struct {
        LineLayout layout;
        QStringList expected;
    } cases[] = {
        {{4, 4, -1}, {QString(4, u'　') + QString(26, u'羊'), QString(4, u'　') + QString(9, u'羊')}},
        {{0, 2, -1}, {QString(30, u'羊'), QString(2, u'　') + QString(5, u'羊')}},
        {{40, 40, -1}, {QString(28, u'　') + QString(2, u'羊'), QString(28, u'　') + QString(2, u'羊')}},
        {{0, 0, 3}, {QString(30, u'羊'), QString(5, u'羊')}},
    };
    for (const auto& c : cases) {
        QStringList lines;
        breakLines(text, {}, c.layout, Width, lines);
        EXPECT_EQ(lines.first(c.expected.size()), c.expected) << c.layout.indent << " " << c.layout.raise;
    }
    QStringList aligned;
    breakLines(u"羊飼い記", {}, {0, 0, 3}, Width, aligned);
    EXPECT_EQ(aligned, QStringList{QString(23, u'　') + "羊飼い記"});
}

}  // namespace
}  // namespace velreader::testing
