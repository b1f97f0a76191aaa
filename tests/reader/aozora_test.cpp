// Texts in the Aozora Bunko notation, interpreted and cut into display
// lines: one table row per rule of the notation, and the bad input.
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "common/jisx0213.h"
#include "reader/rules/aozora_notation.h"

namespace velreader::testing {
namespace {

const QString Dashes(40, u'-');

QString lines(std::initializer_list<QString> list) { return QStringList(list).join(QStringLiteral("\r\n")); }
QString spaces(int n) { return QString(n, u'　'); }

struct Case {
    const char* rule;
    QString text;
    QString expected;  // the display lines joined with "|"
    AozoraCounts counts;
    RubyStyle ruby = RubyStyle::Parentheses;
};

AozoraCounts counts(int ruby, int annotations, int characters, int kept) {
    AozoraCounts c;
    c.ruby = ruby;
    c.annotations = annotations;
    c.characters = characters;
    c.kept = kept;
    return c;
}

TEST(AozoraNotation, eachRuleGivesTheTextTheLibraryMeans) {
    const QString forty = QString(20, u'羊') + QString(20, u'草');
    const Case cases[] = {
        {"the legend goes, the title and author stay",
         lines({"羊の丘", "山野ひつじ", Dashes, "【テキスト中に現れる記号について】", "", "《》：ルビ", "（例）丘《おか》", Dashes, "",
                "　丘《おか》の上に羊がいた。"}),
         "羊の丘|山野ひつじ|　丘（おか）の上に羊がいた。", counts(1, 0, 0, 0)},
        {"ruby: the base is the run of one kind before it, or starts at ｜",
         "朝の牧場《まきば》へ｜羊飼い《ひつじかい》がメエメエ《めえめえ》とSheep《ひつじ》",
         "朝の牧場（まきば）へ羊飼い（ひつじかい）が|メエメエ（めえめえ）とSheep（ひつじ）", counts(4, 0, 0, 0)},
        {"ruby left out", "朝の牧場《まきば》へ｜羊飼い《ひつじかい》", "朝の牧場へ羊飼い", counts(2, 0, 0, 0), RubyStyle::Omit},
        {"a ruby group is never cut: the line ends before it",
         QString(26, u'あ') + "｜臆病《おくびょう》な気持", QString(26, u'あ') + "|臆病（おくびょう）な気持", counts(1, 0, 0, 0)},
        {"a ruby group longer than a line is cut as text", "｜羊《" + QString(40, u'ひ') + "》",
         "羊（" + QString(28, u'ひ') + "|" + QString(12, u'ひ') + "）", counts(1, 0, 0, 0)},
        {"no line starts with a closing mark", QString(30, u'い') + "。", QString(29, u'い') + "|い。", counts(0, 0, 0, 0)},
        {"no line ends with an opening mark", QString(29, u'い') + "「羊」", QString(29, u'い') + "|「羊」", counts(0, 0, 0, 0)},
        {"a heading indented by N, emphasis and page breaks leave the text",
         lines({"［＃７字下げ］一［＃「一」は中見出し］", "羊が跳ねた［＃「跳ねた」に傍点］。［＃改ページ］", "羊［＃レ］見る"}),
         spaces(7) + "一|羊が跳ねた。|羊見る", counts(0, 5, 0, 0)},
        {"a block indent holds for every line until its end",
         lines({"［＃ここから２字下げ］", forty, "［＃ここで字下げ終わり］", "後"}),
         spaces(2) + forty.left(28) + "|" + spaces(2) + forty.mid(28) + "|後", counts(0, 2, 0, 0)},
        {"a hanging indent", lines({"［＃ここから改行天付き、折り返して１字下げ］", forty}),
         forty.left(30) + "|" + spaces(1) + forty.mid(30), counts(0, 1, 0, 0)},
        {"right alignment makes a line of its own",
         lines({"本文です［＃地付き］羊飼い記", "［＃地から２字上げ］以上", "［＃地付き］" + forty}),
         "本文です|" + spaces(26) + "羊飼い記|" + spaces(26) + "以上|" + forty.left(30) + "|" + forty.mid(30), counts(0, 3, 0, 0)},
        {"rare characters by plane-row-cell and code point; a kanji base with them",
         "※［＃「木＋吶のつくり」、第3水準1-85-54］の枝と※［＃「口＋世」、U+546D、12-3］、※［＃「木＋吶のつくり」、第3水準1-85-54］木《ほぞき》",
         "枘の枝と呭、枘木（ほぞき）", counts(1, 0, 3, 0)},
        {"a rare character that cannot be made", "※［＃「架空の字」、第3水準1-99-99］と※［＃「壊れた字」、U+D800］",
         "※（架空の字）と※（壊れた字）", counts(0, 0, 0, 2)},
        {"accented letters inside 〔〕, punctuation kept", "〔Crevez chiens, si vous n'e^tes pas contents〕〔garc,on ae&on cafe' Noe:l l'e'te'〕〔注〕",
         "Crevez chiens, si vous n'êtes |pas contentsgarçon æon café No|ël l'été〔注〕", counts(0, 0, 0, 0)},
        {"the two-line iteration marks", "ゆらり／＼と、ぶら／″＼と", "ゆらり〳〵と、ぶら〴〵と", counts(0, 0, 0, 0)},
        {"an annotation inside a ruby", "羊《ひ［＃「ひ」は底本では「ぴ」］つじ》", "羊（ひつじ）", counts(1, 1, 0, 0)},
        {"what cannot be interpreted stays as written",
         lines({"羊《ひつじ", "羊［＃傍点", "｜羊が", "羊［＃ほげほげ］だ", "「《ひつじ》"}),
         "羊《ひつじ|羊［＃傍点|｜羊が|羊［＃ほげほげ］だ|「《ひつじ》", counts(0, 0, 0, 5)},
        {"a legend without its end stays", lines({"題", Dashes, "【テキスト中に現れる記号について】", "本文"}),
         "題|" + Dashes.left(30) + "|" + Dashes.mid(30) + "|【テキスト中に現れる記号について】|本文", counts(0, 0, 0, 1)},
    };
    for (const Case& c : cases) {
        const AozoraText text = interpretAozora(c.text, c.ruby);
        EXPECT_EQ(aozoraDisplayLines(text, 30).join(u'|'), c.expected) << c.rule;
        EXPECT_EQ(text.counts.ruby, c.counts.ruby) << c.rule;
        EXPECT_EQ(text.counts.annotations, c.counts.annotations) << c.rule;
        EXPECT_EQ(text.counts.characters, c.counts.characters) << c.rule;
        EXPECT_EQ(text.counts.kept, c.counts.kept) << c.rule;
    }
}

TEST(AozoraNotation, theFirstNotationKeptIsNamedWithItsLine) {
    const AozoraText text = interpretAozora(lines({"羊", "草", "羊［＃ほげほげ］と《ひつじ"}), RubyStyle::Parentheses);
    EXPECT_EQ(text.counts.kept, 2);
    EXPECT_EQ(text.counts.firstKeptLine, 3);
    EXPECT_EQ(text.counts.firstKept, "［＃ほげほげ］");
}

TEST(JisX0213, planeRowCellComesFromTheSystemTable) {
    const struct {
        int plane, row, cell;
        const char16_t* expected;
    } cases[] = {
        {1, 85, 54, u"枘"}, {1, 9, 64, u"ê"}, {2, 1, 1, u"𠂉"}, {1, 4, 87, u"か\u309A"},
        {1, 99, 99, u""},   {2, 2, 1, u""},   {3, 1, 1, u""},   {1, 0, 5, u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(jisx0213::character(c.plane, c.row, c.cell), QString::fromUtf16(c.expected)) << c.plane << "-" << c.row << "-" << c.cell;
}

// Random texts made of the notation's pieces: the interpreter always ends,
// in time linear in the text, and plain text with unknown annotations comes
// out exactly as written.
TEST(AozoraNotation, randomTextsNeverCrashNorStallAndKeepUnknownNotation) {
    const QStringList pieces = {"《", "》", "｜", "［＃", "］", "※", "〔", "〕", "／", "＼", "″", "漢", "か", "カ", "a", "e^",
                                "n'", "c,", "字下げ", "地付き", "ここから", "３", "\r\n", "「", "第3水準1-85-54", "U+D800", "、", "-"};
    QRandomGenerator random(22);
    for (int round = 0; round < 300; ++round) {
        QString text;
        const int length = int(random.bounded(200));
        for (int i = 0; i < length; ++i) text += pieces[int(random.bounded(pieces.size()))];
        const AozoraText interpreted = interpretAozora(text, round % 2 ? RubyStyle::Omit : RubyStyle::Parentheses);
        for (const QString& line : aozoraDisplayLines(interpreted, 30)) ASSERT_LE(line.size(), 30) << text.toStdString();
    }

    const QStringList plain = {"羊", "が", "丘", "を", "ゆく", "。", "Sheep", " ", "「", "」"};
    for (int round = 0; round < 200; ++round) {
        QString text;
        int unknown = 0;
        for (int i = 0; i < 30; ++i) {
            if (random.bounded(5) == 0) {
                text += QStringLiteral("［＃ひつじ%1］").arg(i);
                ++unknown;
            } else {
                text += plain[int(random.bounded(plain.size()))];
            }
        }
        const AozoraText interpreted = interpretAozora(text, RubyStyle::Parentheses);
        EXPECT_EQ(aozoraDisplayLines(interpreted, 30).join(QString()), text);
        EXPECT_EQ(interpreted.counts.kept, unknown);
    }

    // Lines of a million openers without closers, and the like.
    for (const QString& unit : {QStringLiteral("《"), QStringLiteral("［＃"), QStringLiteral("｜"), QStringLiteral("漢《"),
                                QStringLiteral("〔a"), QStringLiteral("※［＃")}) {
        const QString line = unit.repeated(1'000'000 / unit.size());
        QElapsedTimer timer;
        timer.start();
        int calls = 0;
        const AozoraText interpreted = interpretAozora(line, RubyStyle::Parentheses, [&] { ++calls; });
        EXPECT_EQ(aozoraDisplayLines(interpreted, 30).join(QString()), line) << unit.toStdString();
        EXPECT_LT(timer.elapsed(), 3000) << unit.toStdString();
        EXPECT_GT(calls, 0) << "the window is given its turns within one line";
    }
}

}  // namespace
}  // namespace velreader::testing
