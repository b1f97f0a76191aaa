// Fuzzes the designation parser: a designation splits its text at the first
// "：" without losing or adding a character.
#include "fuzz_text.h"
#include "reader/rules/designation.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = utf16FromBytes(data, size);
    const auto parsed = velreader::parseDesignation(text);
    if (!parsed) return 0;
    if (parsed->word.contains(u'：')) std::abort();
    if (parsed->word + u'：' + parsed->entry != text) std::abort();
    if (text.endsWith(u'＞')) std::abort();
    return 0;
}
