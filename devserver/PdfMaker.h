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

// One entry of a book's outline: its title, the page it goes to, and the entries under it.
struct PdfOutlineEntry {
    std::string title;
    int pageIndex = 0;
    std::vector<PdfOutlineEntry> children;
};

// Writes a PDF with the standard Helvetica faces (no embedded fonts, so text is extractable and
// files stay small), with the outline when one is given. Text is UTF-8; letters outside Windows-1252
// become "?".
std::string makePdf(const std::string &title, const std::vector<PdfPage> &pages,
                    const std::vector<PdfOutlineEntry> &outline = {});

// Splits prose into lines of at most `width` characters at spaces.
std::vector<std::string> wrapText(const std::string &text, std::size_t width);

} // namespace devserver
