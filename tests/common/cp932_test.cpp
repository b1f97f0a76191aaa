#include "common/cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp932, roundTripsTheCharactersWhereItDiffersFromShiftJis) {
    const struct {
        const char16_t* text;
        QByteArray bytes;
    } cases[] = {
        {u"～", QByteArray("\x81\x60", 2)},  // FULLWIDTH TILDE, not WAVE DASH
        {u"―", QByteArray("\x81\x5C", 2)},  // HORIZONTAL BAR, not EM DASH
        {u"－", QByteArray("\x81\x7C", 2)},  // FULLWIDTH HYPHEN-MINUS, not MINUS SIGN
        {u"①", QByteArray("\x87\x40", 2)},  // NEC special row
        {u"髙", QByteArray("\xFB\xFC", 2)},  // IBM extension kanji
        {u"Velin 1.0\r\n", QByteArray("Velin 1.0\r\n")},
        {u"ひつじ△ｱ", QByteArray("\x82\xD0\x82\xC2\x82\xB6\x81\xA2\xB1", 9)},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const cp932::EncodeResult encoded = cp932::encode(text);
        EXPECT_TRUE(encoded.ok && encoded.bytes == c.bytes) << text.toStdString();
        const cp932::DecodeResult decoded = cp932::decode(c.bytes);
        EXPECT_TRUE(decoded.ok && decoded.text == text) << text.toStdString();
    }
}

TEST(Cp932, refusesAnEmojiOrLoneSurrogateAndReportsWhere) {
    const cp932::EncodeResult emoji = cp932::encode(u"あいう😀え");
    EXPECT_FALSE(emoji.ok);
    EXPECT_TRUE(emoji.bytes.isEmpty());
    EXPECT_EQ(emoji.position, 3);
    EXPECT_EQ(emoji.character, U'\U0001F600');
    EXPECT_TRUE(emoji.errorText().contains(QStringLiteral("U+1F600")));
    EXPECT_TRUE(emoji.errorText().contains(QStringLiteral("position 3")));
    const cp932::EncodeResult lone = cp932::encode(QStringLiteral("ab") + QChar(0xD83D) + QStringLiteral("c"));
    EXPECT_FALSE(lone.ok);
    EXPECT_EQ(lone.position, 2);
}

TEST(Cp932, reportsInvalidAndIncompleteBytesWithTheirOffset) {
    const struct {
        QByteArray bytes;
        qsizetype offset;
    } cases[] = {
        {QByteArray("abc\x82", 4), 3},             // a lone lead byte at the end
        {QByteArray("\x82\xA0xy\x81\x20", 6), 4},  // a lead byte with an invalid trail byte
        {QByteArray("ab\xA0", 3), 2},              // neither a character nor a lead byte
    };
    for (const auto& c : cases) {
        const cp932::DecodeResult r = cp932::decode(c.bytes);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.text.isEmpty());
        EXPECT_EQ(r.offset, c.offset) << c.bytes.toHex().toStdString();
        EXPECT_TRUE(r.errorText().contains(QString::number(c.offset)));
    }
}

// A half-width katakana takes one byte in code page 932 and three in UTF-8,
// so a long run of them makes the decoder grow its output buffer.
TEST(Cp932, decodesTextThatGrowsBeyondTheFirstOutputBuffer) {
    const QByteArray bytes(5000, '\xB1');
    const cp932::DecodeResult decoded = cp932::decode(bytes + QByteArray("\x82\xA0", 2));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.text, QString(5000, QChar(0xFF71)) + QChar(0x3042));
    const cp932::EncodeResult encoded = cp932::encode(decoded.text);
    EXPECT_TRUE(encoded.ok);
    EXPECT_EQ(encoded.bytes, bytes + QByteArray("\x82\xA0", 2));
}

// Each of these has bytes in code page 932 that read back as another
// character: a strict encoder refuses them, and each has its look-alike.
TEST(Cp932, refusesCharactersThatComeBackAsALookAlike) {
    const QString from = QStringLiteral("〜−—‖¢£¬¥‾");
    const QString to = QStringLiteral("～－―∥￠￡￢￥￣");
    for (qsizetype i = 0; i < from.size(); ++i) {
        const cp932::EncodeResult r = cp932::encode(QStringLiteral("ab") + from[i]);
        EXPECT_FALSE(r.ok) << i;
        EXPECT_EQ(r.position, 2);
        EXPECT_EQ(r.unencodable, (QList<cp932::Unencodable>{{from[i].unicode(), 2}}));
        EXPECT_EQ(cp932::lookAlike(from[i].unicode()), to[i].unicode());
        EXPECT_TRUE(cp932::encode(QString(to[i])).ok) << "the look-alike itself is stored";
    }
    EXPECT_EQ(cp932::lookAlike(u'あ'), 0);
    QString text = QStringLiteral("〜a〜¥");
    QList<cp932::Replacement> counts;
    EXPECT_TRUE(cp932::replaceLookAlikes(text, counts));
    EXPECT_EQ(text, QStringLiteral("～a～￥"));
    EXPECT_EQ(counts.size(), 9);
    EXPECT_EQ(counts[0], (cp932::Replacement{u'〜', u'～', 2}));
    EXPECT_EQ(counts[7], (cp932::Replacement{u'¥', u'￥', 1}));
    // Only a text with something to replace is copied: a save looks at
    // every line of a book held elsewhere too.
    const QString shared = QStringLiteral("ひつじ～〜");
    QString plain = shared.left(4);
    const QString plainBefore = plain;
    QString withLookAlike = shared;
    EXPECT_FALSE(cp932::replaceLookAlikes(plain, counts));
    EXPECT_EQ(plain.constData(), plainBefore.constData());
    EXPECT_TRUE(cp932::replaceLookAlikes(withLookAlike, counts));
    EXPECT_EQ(shared, QStringLiteral("ひつじ～〜"));
    EXPECT_EQ(withLookAlike, QStringLiteral("ひつじ～～"));
}

TEST(Cp932, listsEveryDistinctUnencodableCharacterOnceAtItsFirstPlace) {
    const cp932::EncodeResult r = cp932::encode(QStringLiteral("a😀b©c😀—") + QChar(0xDC00));
    EXPECT_FALSE(r.ok);
    const QList<cp932::Unencodable> expected{{U'\U0001F600', 1}, {0xA9, 4}, {0x2014, 8}, {0xDC00, 9}};
    EXPECT_EQ(r.unencodable, expected);
    EXPECT_EQ(r.character, U'\U0001F600');
}

}  // namespace
