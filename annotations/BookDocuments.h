#pragma once
#include "service/JsonDocument.h"

#include <optional>
#include <string>

// The two documents a reader tab keeps for its book, the annotations and the copied passages, share one
// envelope: {"id_konten": the book's content id, "data": [entries in the order they were added]}.
JsonDocument emptyBookDocument(const std::string &idKonten);

// Takes over the annotation document stored by an earlier loan from the file `path` ("tempAnnot.json" of
// the data folder): nothing when there is no such file; otherwise its text, decoded by its byte-order
// mark (UTF-8, UTF-16 LE or BE) or else as UTF-8, parsed as a JSON object and returned unchanged, and the
// file deleted. Throws std::runtime_error with the parser's message when the text is not a JSON object
// or nests deeper than 256 levels, and then keeps the file.
std::optional<JsonDocument> takeStoredAnnotations(const std::string &path);
