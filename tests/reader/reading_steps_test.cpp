// A reading done in steps gives exactly what joining the chunks with "△",
// cutting before the first run of seven and splitting again gives.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "reader/rules/lines.h"

namespace velreader {
namespace {

// The reading's last step as the rule states it, on the chunks.
QStringList joinCutAndSplit(const QStringList& chunks) {
    QString joined = chunks.join(QChar(Separator)) + QString(7, QChar(Separator));
    joined.truncate(joined.indexOf(QString(7, QChar(Separator))));
    joined += QChar(Separator);
    return joined.split(QChar(Separator));
}

TEST(ReadingInSteps, givesTheLinesOfJoiningCuttingAndSplittingForAnyText) {
    QRandomGenerator random(2027);
    const QStringList pieces = {"羊", "ab", " ", "△", "△△△", "\r\n", "\r\n\r\n", "\r", "\n", "ひつじの丘", "😀", "　"};
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int length = random.bounded(1, round < 300 ? 60 : 4000);
        for (int i = 0; i < length; ++i) text += pieces[random.bounded(int(pieces.size()))];
        int calls = 0;
        const Reading stepped = readText(text, [&] { return ++calls, true; });
        EXPECT_EQ(stepped.displayLines, joinCutAndSplit(stepped.chunks)) << text.toStdString();
        QString source = text + QStringLiteral("\r\n");
        while (source.startsWith(u' ')) source.remove(0, 1);
        while (source.endsWith(u' ')) source.chop(1);
        source.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\r\n"));
        EXPECT_EQ(stepped.sourceText, source);
        EXPECT_EQ(readText(text).displayLines, stepped.displayLines);
    }
}

// The blank lines are folded a slice of 256 K characters at a time, in the
// text as given (the CR LF the rule appends is never added to a copy): a run
// of line breaks that starts just before, at or just after the end of a
// slice, or that ends the text, folds as the one-pass rule says.
TEST(ReadingInSteps, foldsRunsOfLineBreaksThatStraddleTheEndOfASliceOrEndTheText) {
    constexpr qsizetype SliceEnd = 256 * 1024;
    for (const bool last : {true, false}) {
        for (int breaks = 0; breaks <= 5; ++breaks) {
            for (qsizetype at = SliceEnd - 10; at <= SliceEnd + 2; ++at) {
                QString text(at, u'羊');
                for (int b = 0; b < breaks; ++b) text += QStringLiteral("\r\n");
                if (!last) text += QStringLiteral("丘");
                QString source = text + QStringLiteral("\r\n");
                source.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\r\n"));
                const Reading reading = readText(text);
                ASSERT_EQ(reading.sourceText, source) << breaks << " breaks at " << at;
                // Without a break, "丘" ends the paragraph of sheep.
                const qsizetype lines = last ? (at + 29) / 30 + 1 : breaks > 0 ? (at + 29) / 30 + 2 : (at + 30) / 30 + 1;
                EXPECT_EQ(reading.displayLines.size(), lines) << breaks << " breaks at " << at;
            }
        }
    }
}

TEST(ReadingInSteps, aLongTextLetsTheCallerBreatheAndASmallOneDoesNot) {
    int calls = 0;
    readText(QStringLiteral("ひつじ\r\n丘"), [&] { return ++calls, true; });
    EXPECT_EQ(calls, 0);
    QString text;
    for (int i = 0; i < 40000; ++i) text += QStringLiteral("羊の毛を刈る日、丘の上で\r\n");
    const Reading whole = readText(text, [&] { return ++calls, true; });
    EXPECT_GT(calls, 4);
    EXPECT_EQ(whole.displayLines.size(), 40001);
    EXPECT_EQ(whole.displayLines[39999], "羊の毛を刈る日、丘の上で");
}

}  // namespace
}  // namespace velreader
