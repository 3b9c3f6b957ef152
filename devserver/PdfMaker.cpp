#include "devserver/PdfMaker.h"

#include <cstdio>
#include <sstream>

namespace devserver {

namespace {

constexpr int kPageWidth = 595;
constexpr int kPageHeight = 842;

// Windows-1252 code of a Unicode scalar, or '?' when it has none.
char toWinAnsi(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    switch (c) {
    case 0x2018:
        return '\x91';
    case 0x2019:
        return '\x92';
    case 0x201C:
        return '\x93';
    case 0x201D:
        return '\x94';
    case 0x2013:
        return '\x96';
    case 0x2014:
        return '\x97';
    case 0x2026:
        return '\x85';
    default:
        return '?';
    }
}

std::u32string decodeUtf8(const std::string &text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<std::size_t>(extra) >= text.size())) {
            out += U'?';
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        out += c;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

// A PDF literal string: WinAnsi bytes with the delimiters escaped.
std::string literal(const std::string &utf8) {
    std::string out = "(";
    for (char32_t c : decodeUtf8(utf8)) {
        char b = toWinAnsi(c);
        if (b == '(' || b == ')' || b == '\\')
            out += '\\';
        out += b;
    }
    return out + ")";
}

std::string pageContent(const PdfPage &page) {
    std::ostringstream s;
    int y = kPageHeight - 72;
    if (!page.heading.empty()) {
        s << "BT /F2 16 Tf 72 " << y << " Td " << literal(page.heading) << " Tj ET\n";
        y -= 32;
    }
    s << "BT /F1 11 Tf 14 TL 72 " << y << " Td\n";
    for (const std::string &line : page.lines)
        s << literal(line) << " Tj T*\n";
    s << "ET\n";
    if (!page.footer.empty())
        s << "BT /F1 9 Tf " << kPageWidth / 2 - 8 << " 40 Td " << literal(page.footer) << " Tj ET\n";
    return s.str();
}

class Writer {
public:
    int add(const std::string &body) {
        offsets.push_back(out.size());
        int number = static_cast<int>(offsets.size());
        out += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
        return number;
    }
    void reserve(int count) { out.reserve(static_cast<std::size_t>(count) * 1200); }
    std::string finish(int root, int info) {
        std::size_t xref = out.size();
        out += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
        char entry[24];
        for (std::size_t offset : offsets) {
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
            out += entry;
        }
        out += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root " + std::to_string(root) +
               " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" + std::to_string(xref) +
               "\n%%EOF\n";
        return std::move(out);
    }

    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";

private:
    std::vector<std::size_t> offsets;
};

// Lays out the entries of one outline level under the object `parent`: each entry's dictionary (without
// its closing ">>") goes to `bodies` before its children's, numbered from `next` on in that order.
// Answers the level's object numbers.
std::vector<int> layOutline(const std::vector<PdfOutlineEntry> &level, int parent, int &next,
                            std::vector<std::string> &bodies) {
    std::vector<int> numbers;
    std::vector<std::size_t> slots;
    for (const PdfOutlineEntry &entry : level) {
        numbers.push_back(next++);
        slots.push_back(bodies.size());
        bodies.push_back("<< /Title " + literal(entry.title) + " /Parent " + std::to_string(parent) +
                         " 0 R /Dest [" + std::to_string(7 + 2 * entry.pageIndex) + " 0 R /Fit]");
        const std::vector<int> children = layOutline(entry.children, numbers.back(), next, bodies);
        if (!children.empty())
            bodies[slots.back()] += " /First " + std::to_string(children.front()) + " 0 R /Last " +
                                    std::to_string(children.back()) + " 0 R /Count -" +
                                    std::to_string(children.size());
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            bodies[slots[i]] += " /Prev " + std::to_string(numbers[i - 1]) + " 0 R";
        if (i + 1 < numbers.size())
            bodies[slots[i]] += " /Next " + std::to_string(numbers[i + 1]) + " 0 R";
    }
    return numbers;
}

} // namespace

std::vector<std::string> wrapText(const std::string &text, std::size_t width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        if (!line.empty() && decodeUtf8(line).size() + 1 + decodeUtf8(word).size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string makePdf(const std::string &title, const std::vector<PdfPage> &pages,
                    const std::vector<PdfOutlineEntry> &outline) {
    // Objects: 1 catalog, 2 page tree, 3-4 fonts, 5 info, then a content and a page per page, then the
    // outline's root and its entries.
    const int count = static_cast<int>(pages.size());
    const int outlineRoot = 6 + 2 * count;
    Writer w;
    w.reserve(count * 2 + 5);
    std::string kids;
    for (int i = 0; i < count; ++i)
        kids += std::to_string(7 + 2 * i) + " 0 R ";
    w.add(outline.empty()
              ? std::string("<< /Type /Catalog /Pages 2 0 R >>")
              : "<< /Type /Catalog /Pages 2 0 R /Outlines " + std::to_string(outlineRoot) + " 0 R >>");
    w.add("<< /Type /Pages /Count " + std::to_string(count) + " /Kids [" + kids + "] >>");
    w.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    w.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>");
    w.add("<< /Title " + literal(title) + " /Producer (kelvara-devserver) >>");
    for (int i = 0; i < count; ++i) {
        std::string content = pageContent(pages[static_cast<std::size_t>(i)]);
        w.add("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
        w.add("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + std::to_string(kPageWidth) + " " +
              std::to_string(kPageHeight) + "] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents " +
              std::to_string(6 + 2 * i) + " 0 R >>");
    }
    if (!outline.empty()) {
        int next = outlineRoot + 1;
        std::vector<std::string> bodies;
        const std::vector<int> top = layOutline(outline, outlineRoot, next, bodies);
        w.add("<< /Type /Outlines /First " + std::to_string(top.front()) + " 0 R /Last " +
              std::to_string(top.back()) + " 0 R /Count " + std::to_string(top.size()) + " >>");
        for (const std::string &body : bodies)
            w.add(body + " >>");
    }
    return w.finish(1, 5);
}

} // namespace devserver
