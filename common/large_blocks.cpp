#include "common/large_blocks.h"

#include <malloc.h>

namespace common {

void giveLargeBlocksBack() {
    // A fixed bound also stops the C library from moving it.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

}  // namespace common
