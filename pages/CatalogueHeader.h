#pragma once
#include "pages/PageText.h"
#include "service/JsonDocument.h"

#include <string>

// The header bar that opens the body of the home, chart and search pages: logo, search area with
// its filter menu, account menu. Starts with "<body>".
enum class HeaderForm { Home, List };

struct HeaderOptions {
    HeaderForm form = HeaderForm::List;
    std::string_view filterLabel = "Semua";
    // The searched keyword as the keyword field's value, HTML-encoded (search result pages only).
    const std::string *keyword = nullptr;
    // The last-viewed page writes the logout call with a trailing ";".
    bool logoutWithSemicolon = false;
};

void catalogueHeader(PageText &out, const JsonDocument &client, const std::string &serviceBase,
                     const HeaderOptions &options);

// The header's behaviour, which every page with the header ends its script element with: choosing
// a filter item makes its label the searched field (and its link the hidden parameter), the account
// menu opens on hover over the dimmed page, and the search form is submitted through `app.searching`
// with the keyword and the filter label. Written into each page, so no page shows a header without it.
void headerScript(PageText &out);
