#pragma once
#include "devserver/Replies.h"

#include <cstdint>
#include <string>

namespace devserver {

class Database;

struct SentenceHits {
    std::int64_t total = 0; // pages holding the phrase, in all books
    Json rows;              // this page of hits: "id", "img", "judul", "halaman", "hal_txt", "hal_idx"
};

// Finds a phrase in the books' page texts, ignoring ASCII letter case: one hit per page, ordered by
// book and page.
SentenceHits searchSentences(Database &db, const std::string &phrase, std::int64_t page,
                             std::int64_t pageSize);

// The sentence of `text` around the first occurrence of `phrase`, HTML-escaped, with the phrase
// wrapped in a highlighting span. Empty when the phrase is absent.
std::string highlightedSentence(const std::string &text, const std::string &phrase);

} // namespace devserver
