// Fuzzes the code page 932 decoder: it either decodes or reports an offset
// inside the input, and whatever it decodes encodes again and decodes to the
// same text.
#include "common/cp932.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const cp932::DecodeResult decoded = cp932::decode(bytes);
    if (!decoded.ok) {
        if (decoded.offset < 0 || decoded.offset >= bytes.size()) std::abort();
        return 0;
    }
    const cp932::EncodeResult encoded = cp932::encode(decoded.text);
    if (!encoded.ok) std::abort();
    const cp932::DecodeResult again = cp932::decode(encoded.bytes);
    if (!again.ok || again.text != decoded.text) std::abort();
    return 0;
}
