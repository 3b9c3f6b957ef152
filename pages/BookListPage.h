#pragma once
#include "service/JsonDocument.h"

#include <string>
#include <string_view>

// The plain book grid page shared by the section page and the two category book lists: breadcrumb,
// heading, one book card per book, the list-page script. No header, no paging.
struct BookListPage {
    std::string_view middleCrumb; // breadcrumb item between "Home" and the active one, or empty
    std::string_view detailFunction;
    bool trailingEmptyLine; // one more line break after "</html>"
};

// Writes the page to `path`; the title goes HTML-encoded into the active breadcrumb item and the
// heading.
void writeBookListPage(const std::string &path, const std::string &title, const JsonDocument &books,
                       const std::string &serviceBase, const BookListPage &page);
