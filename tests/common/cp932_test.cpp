#include "common/cp932.h"

#include <gtest/gtest.h>

namespace {

struct Pair {
    const char16_t* text;
    QByteArray bytes;
};

// Characters where code page 932 differs from plain Shift_JIS, and the
// extension rows that only code page 932 has.
const Pair RoundTrips[] = {
    {u"～", QByteArray("\x81\x60", 2)},  // FULLWIDTH TILDE, not WAVE DASH
    {u"―", QByteArray("\x81\x5C", 2)},  // HORIZONTAL BAR, not EM DASH
    {u"－", QByteArray("\x81\x7C", 2)},  // FULLWIDTH HYPHEN-MINUS, not MINUS SIGN
    {u"①", QByteArray("\x87\x40", 2)},  // NEC special row
    {u"髙", QByteArray("\xFB\xFC", 2)},  // IBM extension kanji
    {u"Velin 1.0\r\n", QByteArray("Velin 1.0\r\n")},
    {u"ひつじ△", QByteArray("\x82\xD0\x82\xC2\x82\xB6\x81\xA2", 8)},
    {u"ｱ", QByteArray("\xB1", 1)},  // half-width katakana: one byte
};

TEST(Cp932, roundTripsTheCharactersWhereItDiffersFromShiftJis) {
    for (const Pair& pair : RoundTrips) {
        const QString text = QString::fromUtf16(pair.text);
        const cp932::EncodeResult encoded = cp932::encode(text);
        ASSERT_TRUE(encoded.ok) << text.toStdString();
        EXPECT_EQ(encoded.bytes, pair.bytes) << text.toStdString();
        const cp932::DecodeResult decoded = cp932::decode(pair.bytes);
        ASSERT_TRUE(decoded.ok) << text.toStdString();
        EXPECT_EQ(decoded.text, text);
    }
}

TEST(Cp932, encodesWindowsOneWayFits) {
    // MINUS SIGN and WAVE DASH are stored like their full-width look-alikes.
    EXPECT_EQ(cp932::encode(u"−").bytes, QByteArray("\x81\x7C", 2));
    EXPECT_EQ(cp932::encode(u"〜").bytes, QByteArray("\x81\x60", 2));
}

TEST(Cp932, refusesAnEmojiAndReportsWhere) {
    const QString text = QStringLiteral("あいう😀え");
    const cp932::EncodeResult r = cp932::encode(text);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.bytes.isEmpty());
    EXPECT_EQ(r.position, 3);
    EXPECT_EQ(r.character, U'\U0001F600');
    EXPECT_TRUE(r.errorText().contains(QStringLiteral("U+1F600")));
    EXPECT_TRUE(r.errorText().contains(QStringLiteral("position 3")));
}

TEST(Cp932, refusesALoneSurrogate) {
    const QString text = QStringLiteral("ab") + QChar(0xD83D) + QStringLiteral("c");
    const cp932::EncodeResult r = cp932::encode(text);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.position, 2);
}

TEST(Cp932, reportsInvalidAndIncompleteBytesWithTheirOffset) {
    const struct {
        QByteArray bytes;
        qsizetype offset;
    } cases[] = {
        {QByteArray("abc\x82", 4), 3},          // a lone lead byte at the end
        {QByteArray("\x82\xA0xy\x81\x20", 6), 4},  // a lead byte with an invalid trail byte
        {QByteArray("ab\xA0", 3), 2},          // a byte that is neither character nor lead byte
    };
    for (const auto& c : cases) {
        const cp932::DecodeResult r = cp932::decode(c.bytes);
        EXPECT_FALSE(r.ok) << c.bytes.toHex().toStdString();
        EXPECT_TRUE(r.text.isEmpty());
        EXPECT_EQ(r.offset, c.offset) << c.bytes.toHex().toStdString();
        EXPECT_TRUE(r.errorText().contains(QString::number(c.offset)));
    }
}

}  // namespace
