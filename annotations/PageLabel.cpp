#include "annotations/PageLabel.h"

#include <algorithm>
#include <cctype>
#include <utility>

std::string romanNumeral(int number) {
    static const std::pair<int, const char *> numerals[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string out;
    for (const auto &[value, text] : numerals)
        for (; number >= value; number -= value)
            out += text;
    return out;
}

std::string printedPageLabel(int pageIndex, int romanPages) {
    if (pageIndex < romanPages)
        return romanNumeral(pageIndex + 1);
    return std::to_string(pageIndex + 1 - romanPages);
}

namespace {

std::string trimmed(const std::string &text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<int> pageNumber(const std::string &digits) {
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    return std::stoi(digits);
}

} // namespace

std::optional<int> pageIndexOfTyped(const std::string &typed, int romanPages, int pageCount) {
    std::string text = trimmed(typed);
    if (const auto slash = text.find('/'); slash != std::string::npos)
        text = trimmed(text.substr(0, slash));
    if (const std::optional<int> number = pageNumber(text))
        return *number >= 1 && *number <= pageCount ? std::optional<int>(*number - 1) : std::nullopt;
    std::string upper;
    for (const unsigned char c : text)
        upper += static_cast<char>(std::toupper(c));
    for (int index = 0; index < std::min(romanPages, pageCount); ++index)
        if (!upper.empty() && romanNumeral(index + 1) == upper)
            return index;
    return std::nullopt;
}
