// Fuzzes the reader of "hituji.dat": any bytes either decode to the two
// counts or are treated as absent, and a decoded save encodes back to the
// first six bytes it came from.
#include "game/services/savefiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto decoded = savefiles::decodeSave(bytes);
    if (!decoded) return 0;
    if (savefiles::encodeSave(*decoded) != bytes.first(6)) std::abort();
    savefiles::encodeReport(*decoded);
    return 0;
}
