#pragma once

namespace common {

// Large blocks of memory (from 256 KiB) are mapped on their own and given
// back to the system when freed. By default the C library raises that bound
// as large blocks are freed, up to 32 MiB, and then keeps freed blocks of a
// big text (a document's buffer, a listing, a file's bytes) in its heap,
// where later small ones split them up: the process then holds its largest
// texts' worth of memory long after they are gone. Called once, at start.
void giveLargeBlocksBack();

}  // namespace common
