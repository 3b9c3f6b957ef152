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
    // The searched keyword as the keyword field's value (search result pages only).
    const std::string *keyword = nullptr;
    // The last-viewed page writes the logout call with a trailing ";".
    bool logoutWithSemicolon = false;
};

void catalogueHeader(PageText &out, const JsonDocument &client, const std::string &serviceBase,
                     const HeaderOptions &options);

// The lines that submit the header's search form through `app.searching`; every page with the
// header ends its script element with them.
void searchSubmitScript(PageText &out);
