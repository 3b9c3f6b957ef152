#pragma once
// Hand-written PDF files for the PDF tests and benchmarks: exact control of text placement, page size,
// rotation and annotations, every page using Helvetica as /F1 and Courier as /F2.

#include <string>
#include <vector>

struct FixturePage {
    double width = 612;
    double height = 792;
    int rotate = 0;
    std::string content;              // content stream operators
    std::vector<std::string> annots;  // annotation dictionaries, written as separate objects
    std::string cropBox;              // e.g. "[10 20 300 400]"; empty for none
    std::string resources;            // more /Resources entries; "@N" stands for a reference to objects[N]
    std::vector<std::string> objects; // objects the resources refer to (patterns, forms)
};

// An outline entry: its title (UTF-8, written as UTF-16), the page it goes to (-1: a web address instead),
// and the entries under it.
struct FixtureOutlineEntry {
    std::string title;
    int page = 0;
    std::vector<FixtureOutlineEntry> children;
};

// A stream object: its dictionary entries and data.
std::string fixtureStream(const std::string &entries, const std::string &data);

// One line of text at (x, y) in Helvetica (or font "F2") of the given size.
std::string fixtureText(double x, double y, double size, const std::string &text, const char *font = "F1");

// A complete PDF with these pages and outline; extraCatalog is added to the catalogue dictionary.
std::string buildFixturePdf(const std::vector<FixturePage> &pages, const std::string &extraCatalog = {},
                            const std::vector<FixtureOutlineEntry> &outline = {});

// A book of `pages` letter pages like a book's body: a running head "Bab C - Halaman N" in Courier, a rule,
// and 46 lines of 10-pt Helvetica drawn from a small Indonesian vocabulary (the same for every call).
std::string buildBookPdf(int pages);

// A signature field, as a page's annotation: a feature the engine refuses, so the page holding it is refused.
inline constexpr const char *FixtureSignatureField =
    "<< /Type /Annot /Subtype /Widget /FT /Sig /T (ttd) /Rect [72 100 272 150] >>";

// Three pages of text with a signature field on the second: the book opens, and its second page is refused.
std::string buildBookSignedOnPageTwo();

// The same document written again by the engine library, encrypted with the given user password.
std::string encryptFixturePdf(const std::string &pdf, const std::string &userPassword);
