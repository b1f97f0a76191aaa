#include "reader/rules/aozora_accents.h"

#include <QChar>

namespace velreader {
namespace {

struct Mark {
    char16_t mark;
    // Pairs of a plain letter and its accented letter.
    const char16_t* letters;
};

// The library's accent table: for each mark, the letters it is defined for.
// Combinations outside the table stay as written.
constexpr Mark Marks[] = {
    {u'\'', u"aácćeéiílĺmḿnńoóuúyýzźrŕsśAÁCĆEÉIÍLĹMḾNŃOÓUÚYÝZŹRŔSŚ"},
    {u'`', u"aàeèiìnǹoòuùAÀEÈIÌNǸOÒUÙ"},
    {u'^', u"aâcĉeêgĝhĥiîjĵoôsŝuûAÂCĈEÊGĜHĤIÎJĴOÔSŜUÛ"},
    {u'~', u"aãeẽiĩnñoõuũAÃEẼIĨNÑOÕUŨ"},
    {u':', u"aäeëiïoöuüyÿAÄEËIÏOÖUÜ"},
    {u'&', u"aåuůAÅUŮ"},
    {u',', u"cçsştţCÇSŞTŢ"},
    {u'/', u"dđhħiɨlłoøDĐLŁOØ"},
    {u'_', u"aāeēiīoōuūAĀEĒIĪOŌUŪ"},
};

struct Ligature {
    const char16_t* written;
    char16_t letter;
};

constexpr Ligature Ligatures[] = {
    {u"ae&", u'æ'}, {u"AE&", u'Æ'}, {u"oe&", u'œ'}, {u"OE&", u'Œ'}, {u"s&", u'ß'},
};

char16_t accented(char16_t letter, char16_t mark) {
    for (const Mark& m : Marks) {
        if (m.mark != mark) continue;
        for (const char16_t* p = m.letters; p[0] && p[1]; p += 2)
            if (p[0] == letter) return p[1];
        return 0;
    }
    return 0;
}

bool isVowel(QChar c) {
    // Vowels, also those already accented or still to be (the next letter
    // of "n'e^tes" is a plain "e").
    const QString folded = QString(c).normalized(QString::NormalizationForm_D);
    return QStringLiteral("aeiouyhAEIOUYH").contains(folded.isEmpty() ? c : folded.front());
}

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// True when the mark at `at` is punctuation here, not an accent.
bool isPunctuation(QStringView text, qsizetype at) {
    const QChar mark = text[at];
    const QChar next = at + 1 < text.size() ? text[at + 1] : QChar();
    if (mark == u',' || mark == u':') return next.isSpace();
    if (mark != u'\'') return false;
    const QChar before = text[at - 1];
    if (before == u'n' && next == u't') return true;  // "don't"
    if (!isVowel(next)) return false;
    const bool qu = (before == u'u' || before == u'U') && at >= 2 && (text[at - 2] == u'q' || text[at - 2] == u'Q');
    return qu || !isVowel(before);
}

}  // namespace

bool isAccentSpan(QStringView inside) {
    bool letter = false;
    for (const QChar c : inside) {
        if (c.unicode() >= 0x2E80) return false;
        letter = letter || isAsciiLetter(c);
    }
    return letter;
}

QString composeAccents(QStringView inside) {
    QString out;
    out.reserve(inside.size());
    for (qsizetype i = 0; i < inside.size(); ++i) {
        const QChar c = inside[i];
        if (isAsciiLetter(c)) {
            bool joined = false;
            for (const Ligature& l : Ligatures) {
                const QStringView written(l.written);
                if (inside.sliced(i).startsWith(written)) {
                    out += QChar(l.letter);
                    i += written.size() - 1;
                    joined = true;
                    break;
                }
            }
            if (joined) continue;
            if (i + 1 < inside.size() && !isPunctuation(inside, i + 1)) {
                if (const char16_t a = accented(c.unicode(), inside[i + 1].unicode())) {
                    out += QChar(a);
                    ++i;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

}  // namespace velreader
