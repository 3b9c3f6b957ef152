#pragma once
#include "pages/PageText.h"
#include "service/JsonDocument.h"

#include <string>
#include <string_view>

// A book in a grid: cover, title, author, stock and rating stars inside a link to the book's
// detail. In compact form (PageText) the same elements follow each other without line breaks.
struct BookCardStyle {
    std::string_view detailFunction; // the `app` function the card calls with "id_konten"
};

void bookCard(PageText &out, const JsonDocument &book, const std::string &serviceBase,
              const BookCardStyle &style);

// The cards of every book of `books` (an array), in array order.
void bookCards(PageText &out, const JsonDocument &books, const std::string &serviceBase,
               const BookCardStyle &style);
