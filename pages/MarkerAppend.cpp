#include "pages/MarkerAppend.h"

#include "pages/PageFile.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// Splits at CR LF, a lone CR or a lone LF; a final line break does not start another line.
std::vector<std::string> splitLines(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, stop - start));
        start = stop + (text.compare(stop, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

bool containsIgnoringCase(std::string_view text, std::string_view token) {
    const auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    return std::search(text.begin(), text.end(), token.begin(), token.end(), same) != text.end();
}

} // namespace

void appendAtMarker(const std::string &path, std::string_view fragment, const MarkerRewrite &rewrite) {
    std::vector<std::string> lines = splitLines(readWholeFile(path));
    for (std::string &line : lines) {
        if (line == rewrite.marker)
            line = std::string(fragment) + "\r\n" + std::string(rewrite.marker);
        if (containsIgnoringCase(line, rewrite.token))
            line = rewrite.text;
    }
    std::string grown;
    for (const std::string &line : lines)
        grown += line + "\r\n";
    PageFile file(path);
    file.write(grown);
    file.close();
}
