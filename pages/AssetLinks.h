#pragma once
#include "pages/PageText.h"

// The style sheets and scripts that a page links, by the kind of page.
enum class AssetSet {
    Login,     // login page
    Catalogue, // home, chart and sentence search pages (carousels and "js/main.js")
    List,      // section page, category book lists, title search results (no "js/main.js")
    Category,  // category page (Select2)
    Detail,    // book detail page
};

void styleSheetLinks(PageText &out, AssetSet set);
// With `commented`, the jQuery and Bootstrap includes are each preceded by their comment line.
void scriptIncludes(PageText &out, AssetSet set, bool commented = false);
