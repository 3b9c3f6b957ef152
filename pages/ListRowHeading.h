#pragma once
#include "pages/PageText.h"
#include "service/JsonDocument.h"

#include <string>
#include <string_view>

// The opening of one row of a book list (charts, sentence hits): the row's containers, the
// lazily loaded cover and the title heading that opens the book's detail through `detailFunction`
// with `id`. The caller writes the lines below the title and closes the row.
void listRowHeading(PageText &out, const JsonDocument &book, const std::string &serviceBase,
                    std::string_view detailFunction, const std::string &id);
