#include "reader/words/designation.h"

namespace velreader {

std::optional<Designation> parseDesignation(const QString& text) {
    const qsizetype colon = text.indexOf(u'：');
    if (colon < 0) return std::nullopt;
    if (text == u"：＞" || text.endsWith(u'＞')) return std::nullopt;
    return Designation{text.left(colon), text.mid(colon + 1)};
}

}  // namespace velreader
