// Finding a passage in display lines, held against a search of the whole
// text joined, on random lines.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "reader/rules/text_search.h"

namespace velreader::testing {
namespace {

// The same search done the plain way: every occurrence in the joined text,
// mapped back to the lines it starts and ends in.
FoundPassage joinedSearch(const QStringList& lines, QStringView needle, qsizetype from, bool forward) {
    const QString joined = lines.join(QString());
    std::vector<qsizetype> lineOf(joined.size());
    std::vector<qsizetype> startOf;
    qsizetype at = 0;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        startOf.push_back(at);
        for (qsizetype k = 0; k < lines[n].size(); ++k) lineOf[at++] = n;
    }
    // For each line, the passage that starts in it: one inside the line if
    // there is one, else the first that starts there.
    std::vector<FoundPassage> inLine(lines.size());
    for (qsizetype p = joined.indexOf(needle); p >= 0; p = joined.indexOf(needle, p + 1)) {
        const FoundPassage f{int(lineOf[p]), int(lineOf[p + needle.size() - 1])};
        FoundPassage& best = inLine[f.line];
        if (!best.found() || (best.lastLine != best.line && f.lastLine == f.line)) best = f;
    }
    for (qsizetype n = from; n >= 0 && n < lines.size(); n += forward ? 1 : -1)
        if (inLine[n].found()) return inLine[n];
    return {};
}

TEST(TextSearch, findsWhatTheJoinedTextHoldsAlsoAcrossTheCuts) {
    QRandomGenerator random(2203);
    for (int round = 0; round < 5000; ++round) {
        QStringList lines;
        const int count = int(random.bounded(1, 12));
        for (int n = 0; n < count; ++n) {
            QString line;
            for (int k = int(random.bounded(6)); k > 0; --k) line += QChar(u'あ' + int(random.bounded(3)));
            lines << line;
        }
        QString needle;
        for (int k = int(random.bounded(1, 5)); k > 0; --k) needle += QChar(u'あ' + int(random.bounded(3)));
        const qsizetype from = random.bounded(-1, count + 1);
        const bool forward = random.bounded(2) == 0;
        EXPECT_EQ(findPassage(lines, lines.size(), needle, from, forward), joinedSearch(lines, needle, from, forward))
            << lines.join(u'|').toStdString() << " / " << needle.toStdString() << " from " << from << (forward ? " on" : " back");
    }
    EXPECT_FALSE(findPassage({"羊"}, 1, u"", 0, true).found());
    EXPECT_FALSE(findPassage({"羊", "羊飼い"}, 1, u"羊飼", 0, true).found()) << "only the first `count` lines";
}

}  // namespace
}  // namespace velreader::testing
