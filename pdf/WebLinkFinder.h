#pragma once
// Web addresses written in a page's text: "http://" and "https://" addresses, "www." names (given an
// "http://" scheme) and e-mail addresses (given "mailto:"), each with its character range. An address
// wrapped at a line end continues on the next line when the break falls after a character that cannot
// end an address (such as "/" or "-"; not a full stop, which more often ends a sentence).

#include <string>
#include <vector>

struct WebLink {
    std::u16string url;
    int start = 0;
    int count = 0;
};

std::vector<WebLink> findWebLinks(const std::u16string &text);
