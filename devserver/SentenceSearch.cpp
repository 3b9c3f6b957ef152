#include "devserver/SentenceSearch.h"

#include "devserver/Database.h"
#include "devserver/RouteSupport.h"
#include "web/HtmlText.h"

#include <algorithm>

namespace devserver {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t findIgnoringCase(const std::string &text, const std::string &phrase) {
    auto it = std::search(text.begin(), text.end(), phrase.begin(), phrase.end(),
                          [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
    return it == text.end() ? std::string::npos : static_cast<std::size_t>(it - text.begin());
}

bool endsSentence(char c) {
    return c == '.' || c == '!' || c == '?';
}

} // namespace

std::string highlightedSentence(const std::string &text, const std::string &phrase) {
    const std::size_t at = findIgnoringCase(text, phrase);
    if (at == std::string::npos || phrase.empty())
        return {};
    std::size_t begin = at;
    while (begin > 0 && !endsSentence(text[begin - 1]))
        --begin;
    while (begin < at && text[begin] == ' ')
        ++begin;
    std::size_t end = at + phrase.size();
    while (end < text.size() && !endsSentence(text[end - 1]))
        ++end;
    return htmlEncode(text.substr(begin, at - begin)) +
           "<span class=\"highlight\" style=\"background-color:#ffeb3b\">" +
           htmlEncode(text.substr(at, phrase.size())) + "</span>" +
           htmlEncode(text.substr(at + phrase.size(), end - at - phrase.size()));
}

SentenceHits searchSentences(Database &db, const std::string &phrase, std::int64_t page,
                             std::int64_t pageSize) {
    const std::string pattern = likePattern(phrase);
    SentenceHits hits;
    hits.total =
        db.queryOne("SELECT COUNT(*) FROM book_pages WHERE text LIKE ? ESCAPE '\\'", {pattern})->integer(0);
    hits.rows = Json::array();
    for (const SqlRow &row :
         db.query("SELECT b.id, b.img, b.judul, p.label, p.text, p.page_index "
                  "FROM book_pages p JOIN books b ON b.id = p.book_id "
                  "WHERE p.text LIKE ? ESCAPE '\\' ORDER BY b.id, p.page_index LIMIT ? OFFSET ?",
                  {pattern, pageSize, (page - 1) * pageSize}))
        hits.rows.push_back({{"id", row.text(0)},
                             {"img", row.text(1)},
                             {"judul", row.text(2)},
                             {"halaman", row.text(3)},
                             {"hal_txt", highlightedSentence(row.text(4), phrase)},
                             {"hal_idx", row.integer(5)}});
    return hits;
}

} // namespace devserver
