#include "reader/core/web_book_of.h"

#include "reader/core/reader_core.h"

namespace velreader::web {

WebBook webBookOf(const ReaderCore& reader) {
    return makeWebBook(reader.state(), reader.page(), reader.blankPage(), reader.pictureFolders());
}

}  // namespace velreader::web
