#include "common/jisx0213.h"

#include <cerrno>
#include <iconv.h>

namespace jisx0213 {
namespace {

// One descriptor per thread, opened on first use and reset before each use.
class Decoder {
public:
    Decoder() : m_cd(iconv_open("UTF-16LE", "EUC-JISX0213")) {}
    ~Decoder() {
        if (valid()) iconv_close(m_cd);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    QString decode(const char* bytes, size_t length) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char16_t out[8] = {};
        char* in = const_cast<char*>(bytes);
        size_t inLeft = length;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        if (iconv(m_cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return {};
        // A cell that ends in a combining mark may be held back until the
        // end of the input is known: flush it.
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return {};
        const auto units = qsizetype((sizeof out - outLeft) / sizeof(char16_t));
        return QString(reinterpret_cast<const QChar*>(out), units);
    }

private:
    iconv_t m_cd;
};

}  // namespace

QString character(int plane, int row, int cell) {
    if (plane < 1 || plane > 2 || row < 1 || row > 94 || cell < 1 || cell > 94) return {};
    thread_local Decoder decoder;
    if (!decoder.valid()) return {};
    // EUC-JISX0213: plane 1 is two bytes 0xA0 + row, 0xA0 + cell; plane 2
    // puts the single shift 0x8F before them.
    char bytes[3];
    size_t length = 0;
    if (plane == 2) bytes[length++] = char(0x8F);
    bytes[length++] = char(0xA0 + row);
    bytes[length++] = char(0xA0 + cell);
    QString text = decoder.decode(bytes, length);
    // Iconv maps a few undefined cells to U+FFFD rather than failing.
    if (text.contains(QChar::ReplacementCharacter)) return {};
    return text;
}

}  // namespace jisx0213
