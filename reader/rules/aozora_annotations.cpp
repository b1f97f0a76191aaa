#include "reader/rules/aozora_annotations.h"

#include <optional>

#include "common/jisx0213.h"

namespace velreader {
namespace {

// Words of the annotations that change nothing on a line of 30 characters:
// headings, emphasis and type faces, notes on the source, page breaks,
// pictures and the like.
constexpr const char16_t* PlainWords[] = {
    u"見出し", u"傍点", u"傍線", u"波線", u"破線", u"鎖線", u"二重", u"太字", u"斜体", u"ゴシック",
    u"割り注", u"底本", u"ママ", u"改ページ", u"改丁", u"改段", u"改見開き", u"縦中横", u"横組み",
    u"罫囲み", u"注記", u"ルビ", u"挿絵", u"字詰め", u"大きな文字", u"小さな文字", u"上付き",
    u"下付き", u"小書き", u"返り点", u"送り仮名", u"左右中央", u"本文終わり", u"字幅", u"下線",
    u"上線", u"白抜き", u"囲み", u"行右", u"行左", u"入る", u"訂正", u"誤植",
};

// Kunten, the reading marks of classical Chinese ("［＃二］", "［＃レ］").
bool isKunten(QStringView body) {
    if (body.size() >= 2 && body.front() == u'（' && body.back() == u'）') return true;
    for (const QChar c : body)
        if (!QStringView(u"一二三四上中下甲乙丙丁天地人レ").contains(c)) return false;
    return !body.isEmpty();
}

int digitValue(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'０' && c <= u'９') return c.unicode() - u'０';
    return -1;
}

// A number of ASCII or full-width digits at `at`, moving `at` past it.
std::optional<int> number(QStringView text, qsizetype& at) {
    int value = 0;
    const qsizetype start = at;
    while (at < text.size() && digitValue(text[at]) >= 0 && at - start < 6) value = value * 10 + digitValue(text[at++]);
    if (at == start) return std::nullopt;
    return value;
}

// "N" + `suffix` making up the whole of `text`.
std::optional<int> numberThen(QStringView text, QStringView suffix) {
    qsizetype at = 0;
    const std::optional<int> n = number(text, at);
    if (!n || text.sliced(at) != suffix) return std::nullopt;
    return n;
}

Annotation make(Annotation::Kind kind, int first = 0, int rest = 0) { return {kind, first, rest}; }

}  // namespace

Annotation classifyAnnotation(QStringView body) {
    using K = Annotation::Kind;
    const QStringView indent(u"字下げ");
    if (body.startsWith(u"天から")) body = body.sliced(3);
    if (const auto n = numberThen(body, indent)) return make(K::Indent, *n, *n);
    if (body == u"地付き") return make(K::RightAlign);
    if (body.startsWith(u"地から")) {
        if (const auto n = numberThen(body.sliced(3), u"字上げ")) return make(K::RightAlign, *n);
    }
    if (body == u"ここで字下げ終わり") return make(K::BlockIndentEnd);
    if (body == u"ここで地付き終わり" || body == u"ここで字上げ終わり") return make(K::BlockRightAlignEnd);
    if (body.startsWith(u"ここから")) {
        const QStringView rest = body.sliced(4);
        if (rest == u"地付き") return make(K::BlockRightAlign);
        if (rest.startsWith(u"地から")) {
            if (const auto n = numberThen(rest.sliced(3), u"字上げ")) return make(K::BlockRightAlign, *n);
        }
        const qsizetype comma = rest.indexOf(u'、');
        const QStringView head = comma < 0 ? rest : rest.first(comma);
        std::optional<int> first = head == u"改行天付き" ? std::optional<int>(0) : numberThen(head, indent);
        if (first) {
            if (comma < 0) return make(K::BlockIndent, *first, *first);
            const QStringView tail = rest.sliced(comma + 1);
            if (tail.startsWith(u"折り返して")) {
                if (const auto then = numberThen(tail.sliced(5), indent)) return make(K::BlockIndent, *first, *then);
            }
        }
    }
    for (const char16_t* word : PlainWords)
        if (body.contains(QStringView(word))) return make(K::Plain);
    if (isKunten(body)) return make(K::Plain);
    return make(K::Unknown);
}

RareCharacter rareCharacter(QStringView body) {
    RareCharacter r;
    // The description runs to the first "、" outside quotes.
    int depth = 0;
    qsizetype comma = body.size();
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] == u'「') ++depth;
        else if (body[i] == u'」') --depth;
        else if (body[i] == u'、' && depth <= 0) {
            comma = i;
            break;
        }
    }
    QStringView description = body.first(comma);
    if (description.size() >= 2 && description.front() == u'「' && description.back() == u'」')
        description = description.sliced(1, description.size() - 2);
    r.description = description.toString();
    const QStringView codes = comma < body.size() ? body.sliced(comma + 1) : QStringView();

    // A plane-row-cell: digits "-" digits "-" digits, the plane 1 or 2.
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (digitValue(codes[i]) < 0 || (i > 0 && digitValue(codes[i - 1]) >= 0)) continue;
        qsizetype at = i;
        const auto plane = number(codes, at);
        if (!plane || at >= codes.size() || (codes[at] != u'-' && codes[at] != u'－')) continue;
        ++at;
        const auto row = number(codes, at);
        if (!row || at >= codes.size() || (codes[at] != u'-' && codes[at] != u'－')) continue;
        ++at;
        const auto cell = number(codes, at);
        if (!cell) continue;
        r.text = jisx0213::character(*plane, *row, *cell);
        return r;
    }
    // A code point "U+XXXX".
    const qsizetype u = codes.indexOf(u"U+", 0, Qt::CaseInsensitive);
    if (u >= 0) {
        qsizetype end = u + 2;
        while (end < codes.size() && end - u - 2 < 6 && QStringView(u"0123456789abcdefABCDEF").contains(codes[end])) ++end;
        bool ok = false;
        const uint code = codes.sliced(u + 2, end - u - 2).toUInt(&ok, 16);
        const bool character = ok && end - u - 2 >= 4 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF) &&
                               code != 0 && (code & 0xFFFE) != 0xFFFE;
        if (character) {
            const char32_t c = code;
            r.text = QString::fromUcs4(&c, 1);
        }
    }
    return r;
}

}  // namespace velreader
