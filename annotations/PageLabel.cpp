#include "annotations/PageLabel.h"

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
