#pragma once
#include <string>
#include <vector>

namespace devserver {

// One page of a generated book: a heading (may be empty), body lines already wrapped to the page
// width, and the printed label at the foot of the page.
struct PdfPage {
    std::string heading;
    std::vector<std::string> lines;
    std::string footer;
};

// Writes a PDF with the standard Helvetica faces (no embedded fonts, so text is extractable and
// files stay small). Text is UTF-8; letters outside Windows-1252 become "?".
std::string makePdf(const std::string &title, const std::vector<PdfPage> &pages);

// Splits prose into lines of at most `width` characters at spaces.
std::vector<std::string> wrapText(const std::string &text, std::size_t width);

} // namespace devserver
