#pragma once
// A generated text in the Aozora Bunko notation, for the benchmarks: our
// own random prose with a title, the legend, ruby every few words, notes,
// headings, a few rare characters and a colophon.
#include <QRandomGenerator>
#include <QString>

#include "bench/reader/big_book_tools.h"

namespace aozorabench {

// About `bytes` bytes once written in Shift-JIS (two a character), CR LF
// lines; always the same for the same size.
inline QString generatedText(qint64 bytes) {
    const QString& pool = bigbooks::prosePool();
    const QString kana = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん");
    const QString kanji = QStringLiteral("羊毛丘森海夜朝空星月旅風雲雨雪花草木山川道家町村人子母父友声音光影色");
    const QString dashes(55, u'-');
    QRandomGenerator random(1350);
    QString text = QStringLiteral("羊飼いの長い旅\r\n山野ひつじ\r\n") + dashes +
                   QStringLiteral("\r\n【テキスト中に現れる記号について】\r\n\r\n《》：ルビ\r\n（例）牧場《まきば》\r\n\r\n"
                                  "｜：ルビの付く文字列の始まりを特定する記号\r\n\r\n［＃］：入力者注\r\n") +
                   dashes + QStringLiteral("\r\n\r\n");
    text.reserve(bytes / 2 + 1024);
    int chapter = 0;
    while (text.size() * 2 < bytes) {
        const int kind = int(random.bounded(40));
        if (kind == 0) {
            text += QStringLiteral("［＃７字下げ］%1［＃「%1」は中見出し］\r\n\r\n").arg(++chapter);
            continue;
        }
        if (kind == 1) {
            text += QStringLiteral("［＃地付き］（山野記）\r\n");
            continue;
        }
        QString paragraph = QStringLiteral("　");
        const int length = int(random.bounded(40, 200));
        while (paragraph.size() < length) {
            const int piece = int(random.bounded(30));
            if (piece == 0) {
                QString base;
                for (int k = int(random.bounded(1, 4)); k > 0; --k) base += kanji[random.bounded(int(kanji.size()))];
                QString reading;
                for (int k = int(random.bounded(2, 7)); k > 0; --k) reading += kana[random.bounded(int(kana.size()))];
                paragraph += (random.bounded(2) ? QStringLiteral("｜") : QString()) + base + u'《' + reading + u'》';
            } else if (piece == 1 && random.bounded(20) == 0) {
                const QString word = kanji[random.bounded(int(kanji.size()))];
                paragraph += QStringLiteral("%1［＃「%1」に傍点］").arg(word);
            } else if (piece == 2 && random.bounded(400) == 0) {
                paragraph += QStringLiteral("※［＃「木＋吶のつくり」、第3水準1-85-54］");
            } else {
                paragraph += pool[random.bounded(int(pool.size()))];
            }
        }
        text += paragraph + QStringLiteral("\r\n");
    }
    text += QStringLiteral("\r\n底本：「羊飼いの長い旅」架空書房\r\n入力：山野ひつじ\r\n");
    return text;
}

}  // namespace aozorabench
