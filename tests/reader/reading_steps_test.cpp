// A reading done in steps gives exactly what joining the chunks with "△",
// cutting before the first run of seven and splitting again gives.
#include <QRandomGenerator>
#include <QTextBoundaryFinder>
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

// The chunks of one paragraph cut the plain way: every grapheme boundary of
// the paragraph listed first, then each piece ends at the last boundary
// within 30 units that does not part a surrogate pair; a cluster longer
// than 30 units is cut at 30 (29 where 30 would part a pair).
QStringList referenceChunks(const QString& paragraph) {
    QList<qsizetype> boundaries;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, paragraph);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        const bool partsPair = at < paragraph.size() && paragraph[at - 1].isHighSurrogate() && paragraph[at].isLowSurrogate();
        if (!partsPair) boundaries.append(at);
    }
    QStringList chunks;
    for (qsizetype from = 0; from < paragraph.size();) {
        qsizetype length = std::min<qsizetype>(ChunkWidth, paragraph.size() - from);
        if (from + length < paragraph.size()) {
            qsizetype best = -1;
            for (const qsizetype b : boundaries)
                if (b > from && b <= from + length) best = b;
            if (best > 0) {
                length = best - from;
            } else if (paragraph[from + length - 1].isHighSurrogate() && paragraph[from + length].isLowSurrogate()) {
                --length;
            }
        }
        chunks.append(paragraph.mid(from, length));
        from += length;
    }
    return chunks;
}

// A reading done the plain way, step by step as the rule is written: CR LF
// appended, leading spaces trimmed, blank lines folded by one replace,
// split at CR LF, each paragraph cut, then joined, cut and split.
Reading referenceReading(const QString& text) {
    Reading r;
    r.sourceText = text + QStringLiteral("\r\n");
    while (r.sourceText.startsWith(u' ')) r.sourceText.remove(0, 1);
    r.sourceText.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\r\n"));
    for (const QString& paragraph : r.sourceText.split(QStringLiteral("\r\n"))) r.chunks += referenceChunks(paragraph);
    r.displayLines = joinCutAndSplit(r.chunks);
    return r;
}

// Random texts of short and long paragraphs, blank lines, lone CR and LF,
// separators, and clusters of several units (combining marks, emoji
// sequences, flags, lone surrogates): the reading, whole or in steps, gives
// the plain way's source text, chunks and display lines.
TEST(ReadingInSteps, givesWhatThePlainWayGivesForRandomTexts) {
    QRandomGenerator random(4417);
    const QStringList pieces = {"羊", "ひつじの丘で", "ab", " ", "　", "△", "\r\n", "\r\n\r\n", "\r\n\r\n\r\n", "\r", "\n",
                                "か\u3099", "e\u0301\u0302", "😀", "👩\u200d👩\u200d👧", "🇯🇵", "\U00020BB7",
                                QString(QChar(0xD800)), QString(QChar(0xDC00)), "０１２３４５６７８９"};
    for (int round = 0; round < 300; ++round) {
        QString text;
        if (round % 3 == 0) text += QString(random.bounded(4), u' ');
        const int length = random.bounded(1, round < 250 ? 80 : 3000);
        for (int i = 0; i < length; ++i) {
            // Now and then a long run without a break, to cut in many pieces.
            if (random.bounded(40) == 0) text += QString(random.bounded(20, 200), u'羊');
            text += pieces[random.bounded(int(pieces.size()))];
        }
        const Reading expected = referenceReading(text);
        const Reading whole = readText(text);
        ASSERT_EQ(whole.sourceText, expected.sourceText) << round;
        ASSERT_EQ(whole.chunks, expected.chunks) << round;
        ASSERT_EQ(whole.displayLines, expected.displayLines) << round;
        if (round % 50 == 0) {
            const Reading stepped = readText(text, [] { return true; });
            EXPECT_EQ(stepped.displayLines, expected.displayLines) << round;
        }
    }
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
