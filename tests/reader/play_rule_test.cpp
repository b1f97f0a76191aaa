// The play rule against the design's wording of a play step, written out
// the plain way: every slot in order, a substring search per word, the
// entry cut at its first "＞".
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "reader/rules/colours.h"
#include "reader/rules/lines.h"
#include "reader/rules/play_rule.h"

namespace velreader::testing {
namespace {

struct Shown {
    QString name;
    QRgb colour;
    bool operator==(const Shown&) const = default;
};

// What the step does, from the design's steps: colour first, then the
// picture, for each slot whose word is in the line.
std::pair<QRgb, QList<Shown>> plainStep(const std::array<QString, WordSlots>& words,
                                        const std::array<QString, WordSlots>& entries, const QString& line,
                                        QRgb colour) {
    QList<Shown> offered;
    for (int k = 0; k < WordSlots; ++k) {
        if (words[k].isEmpty() || entries[k].isEmpty() || !line.contains(words[k])) continue;
        QString picture = entries[k];
        if (const qsizetype marker = entries[k].indexOf(u'＞'); marker >= 0) {
            if (const auto c = textColourFor(QStringView(entries[k]).mid(marker + 1))) colour = c->rgb();
            picture = entries[k].left(marker);
        }
        if (!picture.isEmpty()) offered.append({picture, colour});
    }
    return {colour, offered};
}

TEST(PlayRule, entriesReadAsAPlayStepReadsThem) {
    const struct {
        const char16_t* entry;
        std::optional<QRgb> colour;
        const char16_t* picture;
    } cases[] = {
        {u"rain.png＞青", qRgb(0, 0, 255), u"rain.png"},
        {u"rain.png", std::nullopt, u"rain.png"},
        {u"＞赤", qRgb(255, 0, 0), u""},
        {u"＞赤い", std::nullopt, u""},           // the whole text after "＞" must be a colour word
        {u"a＞b＞青", std::nullopt, u"a"},         // cut at the first "＞"
        {u"rain.png>青", std::nullopt, u"rain.png>青"},  // a half-width ">" is part of the name
        {u"", std::nullopt, u""},
    };
    for (const auto& c : cases) {
        const EntryEffect e = entryEffect(QString::fromUtf16(c.entry));
        EXPECT_EQ(e.colour, c.colour) << QString::fromUtf16(c.entry).toStdString();
        EXPECT_EQ(e.picture, QString::fromUtf16(c.picture)) << QString::fromUtf16(c.entry).toStdString();
    }
}

TEST(PlayRule, randomDesignationsApplyAsThePlainStepAndPagesBreakAsDesigned) {
    QRandomGenerator random(2112);
    const QString letters = QStringLiteral("海山川あいう");
    const QStringList colours{"", "赤", "青", "オ", "赤い", "x"};
    const auto text = [&](int most) {
        QString s;
        for (int n = int(random.bounded(most + 1)); n > 0; --n) s += letters[random.bounded(int(letters.size()))];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        std::array<QString, WordSlots> words, entries;
        for (int k = 0; k < WordSlots; ++k) {
            if (random.bounded(3) != 0) continue;
            words[k] = text(2);
            const QString colour = colours[random.bounded(int(colours.size()))];
            entries[k] = text(1).replace(u'あ', u'p') + (colour.isEmpty() && random.bounded(2) ? QString() : u'＞' + colour);
        }
        const PlayRule rule(words, entries);
        ASSERT_TRUE(rule.madeFrom(words, entries));
        for (int i = 0; i < 20; ++i) {
            const QString line = text(80);
            const QRgb before = qRgb(136, 0, 0);
            // Pictures whose name starts with "海" never show.
            QList<Shown> offered;
            const AppliedDesignations applied = rule.apply(line, before, [&](const QString& name, QRgb colour) {
                offered.append({name, colour});
                return !name.startsWith(u'海');
            });
            const auto [colour, plainOffered] = plainStep(words, entries, line, before);
            EXPECT_EQ(applied.colour, colour) << line.toStdString();
            EXPECT_EQ(offered, plainOffered) << line.toStdString();
            QString lastShown;
            for (const Shown& s : plainOffered)
                if (!s.name.startsWith(u'海')) lastShown = s.name;
            EXPECT_EQ(applied.picture ? *applied.picture : QString(), lastShown);

            const int rowIndex = int(random.bounded(PageRowSlots + 1));
            const int lines = int(random.bounded(PageLines + 2));
            const LinePlace place = PlayRule::place(line, rowIndex, lines);
            const int rows = int(pageRows(line).size());
            EXPECT_EQ(place.rows, rows);
            EXPECT_EQ(place.newPage, lines >= 12 || rowIndex + rows > 31);
        }
        words[0] += u'x';
        EXPECT_FALSE(rule.madeFrom(words, entries));
    }
}

}  // namespace
}  // namespace velreader::testing
