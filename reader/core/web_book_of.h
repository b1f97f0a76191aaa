#pragma once

#include "reader/services/web_book.h"

namespace velreader {

class ReaderCore;

namespace web {

// Takes what the web page needs from the reader; changes nothing in it.
// Cheap: the lines are shared, not copied.
WebBook webBookOf(const ReaderCore& reader);

}  // namespace web
}  // namespace velreader
