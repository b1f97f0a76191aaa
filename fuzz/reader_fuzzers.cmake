# The reader's fuzz targets: book files (parsed, written again, loaded and
# played), the reading of a text into display lines, designations, and the
# notation of Aozora Bunko texts.
woolmere_add_fuzzer(book book_fuzzer.cpp velreader_core)
woolmere_add_fuzzer(reading reading_fuzzer.cpp velreader_core)
woolmere_add_fuzzer(designation designation_fuzzer.cpp velreader_core)
# The interpreter of Aozora Bunko texts and the cut into display lines.
woolmere_add_fuzzer(aozora aozora_fuzzer.cpp velreader_core)
