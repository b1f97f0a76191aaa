# The reader's fuzz targets: book files (parsed, written again, loaded and
# played), the reading of a text into display lines, and designations.
woolmere_add_fuzzer(book book_fuzzer.cpp velreader_core)
woolmere_add_fuzzer(reading reading_fuzzer.cpp velreader_core)
woolmere_add_fuzzer(designation designation_fuzzer.cpp velreader_core)
