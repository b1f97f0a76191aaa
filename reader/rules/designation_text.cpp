#include "reader/rules/designation_text.h"

#include "reader/rules/colours.h"

namespace velreader {
namespace {

const QChar Colon(u'：');
const QChar ColourMarker(u'＞');

// The colour words and two examples, the end of every refusal.
QString syntaxReminder() {
    return QStringLiteral("\n色の言葉：%1\n例：雨：rain.png＞青　星：yoru.png　怒：＞赤").arg(colourWords().join(u' '));
}

bool hasLineBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

}  // namespace

QStringList colourWords() {
    QStringList words;
    for (const ColourWord& c : textColourTable()) words << QString(QChar(c.word));
    return words;
}

QString composeDesignation(const DesignationParts& parts) {
    QString text = parts.word + Colon + parts.picture;
    if (!parts.colour.isEmpty()) text += ColourMarker + parts.colour;
    return text;
}

QString designationProblem(const DesignationParts& parts) {
    if (parts.word.isEmpty()) return QStringLiteral("単語を入れてください。");
    if (parts.word.contains(Colon))
        return QStringLiteral("単語に「：」は使えません（「：」から後は絵と色の指定になります）。");
    if (hasLineBreak(parts.word)) return QStringLiteral("単語に改行は使えません。");
    if (parts.picture.isEmpty() && parts.colour.isEmpty()) return QStringLiteral("絵か色を選んでください。");
    if (!parts.picture.isEmpty()) {
        if (parts.picture.contains(ColourMarker))
            return QStringLiteral("名前に「＞」がある絵は使えません（「＞」から後は色の指定になります）。");
        if (!isPlainFileName(parts.picture) || hasLineBreak(parts.picture))
            return QStringLiteral("この名前の絵は使えません。");
    }
    if (!parts.colour.isEmpty() && !textColourFor(parts.colour))
        return QStringLiteral("色は %1 の十一の言葉から選んでください。").arg(colourWords().join(u' '));
    return {};
}

bool isPlainFileName(const QString& name) {
    if (name.isEmpty() || name == u"." || name == u"..") return false;
    return !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QChar(0));
}

DesignationParts splitDesignation(const QString& word, const QString& entry) {
    const qsizetype marker = entry.indexOf(ColourMarker);
    if (marker < 0) return {word, entry, {}};
    return {word, entry.left(marker), entry.mid(marker + 1)};
}

QString designationRefusal(const QString& text) {
    QString reason;
    if (text.contains(Colon)) {
        // The same test "単語指定" makes: a marker that ends the text has no colour.
        if (!(text == u"：＞" || text.endsWith(ColourMarker))) return {};
        reason = QStringLiteral("「＞」の後に色の言葉がありません。色を付けないときは「＞」を消します。");
    } else {
        reason = text.contains(u':') ? QStringLiteral("「:」が半角です。単語と絵の名前の間には全角の「：」を書きます。")
                                     : QStringLiteral("「：」（全角のコロン）がありません。単語と絵の名前の間に「：」を書きます。");
        if (text.contains(u'>')) reason += QStringLiteral("\n「>」も半角です。色の言葉の前には全角の「＞」を書きます。");
    }
    return reason + syntaxReminder();
}

}  // namespace velreader
