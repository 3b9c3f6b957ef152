#pragma once
#include "pages/PageText.h"
#include "service/JsonDocument.h"

// Style rules that colour the catalogue pages after the institution ("data" of the client reply).

// The rules common to the pages with the catalogue header.
void brandingRules(PageText &out, const JsonDocument &client);
// The rules of the list layouts of the chart and search pages.
void listRules(PageText &out);
// The two rules of the "Selebihnya" button in the accent colour.
void moreButtonRules(PageText &out, const JsonDocument &client);
// A rule written as the selector line(s) ending in "{", one declaration a line, then "}".
void cssRule(PageText &out, std::initializer_list<std::string_view> selectors,
             std::initializer_list<std::string_view> declarations);
