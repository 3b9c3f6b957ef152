#pragma once
#include "web/HtmlText.h"

#include <string>
#include <string_view>

// A rating as a number input that the star plugin turns into five read-only stars; the value is
// HTML-encoded. The chart pages' form carries id="rating" as its first attribute.
inline std::string ratingStars(std::string_view value, bool chartForm = false) {
    std::string input =
        chartForm ? "<input id=\"rating\" class=\"rating-detail\"" : "<input  class=\"rating-detail\"";
    input += " type=\"number\" min=\"0\" max=\"5\" step=\"1\" data-size=\"sm\" value=\"";
    input += htmlEncode(value);
    input += "\">";
    return input;
}
