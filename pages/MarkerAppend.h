#pragma once
#include <string>
#include <string_view>

// Grows a page file that is already shown: the fragment goes in front of the marker line (a line
// that is only an HTML comment), which stays in place for the next append; every line that then
// contains the rewrite token (ignoring case) is replaced by the rewrite text.
struct MarkerRewrite {
    std::string_view marker;
    std::string token;
    std::string text;
};

// Throws std::runtime_error when the file cannot be read or written.
void appendAtMarker(const std::string &path, std::string_view fragment, const MarkerRewrite &rewrite);
