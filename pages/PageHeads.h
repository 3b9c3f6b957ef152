#pragma once
#include "pages/PageText.h"

#include <string_view>

// The head of the home page, which the chart and sentence search pages share: doctype, metas,
// title "Index", the catalogue style sheets, and the opening "<style>".
void catalogueHead(PageText &out);

// The head of the book grid pages up to the end of their ".section-wrapper" rule, whose top margin
// is `marginTop` (a CSS length).
void bookGridHead(PageText &out, std::string_view marginTop);

// The lines shared by every generated head: the charset, compatibility and viewport metas.
void headMetas(PageText &out);
