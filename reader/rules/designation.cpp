#include "reader/rules/designation.h"

namespace velreader {

std::optional<Designation> parseDesignation(const QString& text) {
    const qsizetype colon = text.indexOf(u'：');
    if (colon < 0) return std::nullopt;
    if (text == u"：＞" || text.endsWith(u'＞')) return std::nullopt;
    return Designation{text.left(colon), text.mid(colon + 1)};
}

QString designationEcho(const Designation& designation, int slot) {
    return QStringLiteral("指定語＞%1\r\n絵ファイルの名前＞%2(%3)").arg(designation.word, designation.entry).arg(slot);
}

}  // namespace velreader
