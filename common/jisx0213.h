#pragma once

#include <QString>

// Characters of JIS X 0213 named by plane, row and cell, the way Japanese
// texts refer to characters outside the common set ("1-85-54"). The one
// source is the system's iconv (its EUC-JISX0213 table): nothing here is a
// table of our own.
namespace jisx0213 {

// The character at `plane`-`row`-`cell` (plane 1 or 2, row and cell 1 to
// 94): one code point, or for a few cells a base and a combining mark.
// Empty when the cell holds no character or the numbers are out of range.
QString character(int plane, int row, int cell);

}  // namespace jisx0213
