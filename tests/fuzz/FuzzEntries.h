#pragma once
// The fuzz targets' entry points: each takes bytes as the outside world could send them and runs them
// through the client's code the way the client reads them. libFuzzer drives them (scripts/fuzz,
// FuzzerMain.cpp); the suite replays the kept inputs of tests/fuzz/inputs through the same functions.
// Each returns 0; a fault shows as a crash or a sanitizer report.

#include <cstddef>
#include <cstdint>

// The bytes opened as a book as the reader opens one: every page's text walked as the in-book search
// walks it, page 0 drawn, a search run over the book and marked on page 0.
int fuzzPdfBook(const std::uint8_t *data, std::size_t size);
// The bytes as "tempAnnot.json" coming back with a loan: taken over, painted on a page, written out again
// as the return writes it.
int fuzzAnnotationDocument(const std::uint8_t *data, std::size_t size);
// The bytes as a service reply (the first two bytes choose the HTTP status, the rest is the body): read
// as every call reads its reply, made-up failure replies included, its values read and written out.
int fuzzServiceReply(const std::uint8_t *data, std::size_t size);
// The bytes as a reply with status 200, read as every call reads its reply, then every page generator
// run on it (first and following pages). Aborts when a text of the reply put a script element into a
// page unescaped.
int fuzzPageGenerators(const std::uint8_t *data, std::size_t size);
