#include "pages/Branding.h"

#include "pages/JsonValues.h"

namespace {

std::string colourDeclaration(std::string_view property, const JsonDocument &client, std::string_view key) {
    return std::string(property) + shownMember(client, key) + ";";
}

} // namespace

void cssRule(PageText &out, std::initializer_list<std::string_view> selectors,
             std::initializer_list<std::string_view> declarations) {
    const std::string_view *last = selectors.end() - 1;
    for (const std::string_view *selector = selectors.begin(); selector != last; ++selector)
        out.line(*selector);
    out.line(*last, "{");
    for (const std::string_view declaration : declarations)
        out.line(declaration);
    out.line("}");
}

void brandingRules(PageText &out, const JsonDocument &client) {
    const auto accent = [&](std::string_view property) {
        return colourDeclaration(property, client, "warna_button_login");
    };
    cssRule(out, {".navbar-default"}, {colourDeclaration("background-color: ", client, "warna_header")});
    cssRule(out, {".search-area .btn-filter:hover,", ".search-area .btn-filter:focus"}, {accent("color: ")});
    cssRule(out, {"#header .login-inner ul li .list-item:hover"},
            {accent("border-left: 4px solid "), accent("color: ")});
    cssRule(out, {".main-banners .menu-item-inner:hover"}, {accent("color: "), accent("border: 1px solid ")});
    cssRule(out, {".tabs-category .nav-tabs>li.active"}, {accent("background-color: ")});
    cssRule(out, {".tabs-category .nav-tabs>li:hover"},
            {colourDeclaration("background-color: ", client, "warna_hover_button_login")});
    cssRule(out, {".list-item-category:hover"}, {accent("color: "), accent("border: 1px solid ")});
}

void listRules(PageText &out) {
    cssRule(out, {".title-books"},
            {"margin-top: 0;", "margin-bottom: 5px;", "font-size: 16px;", "font-weight: 700;",
             "color: #333333;", "white-space: nowrap;", "overflow: hidden;", "text-overflow: ellipsis;"});
    cssRule(out, {".author"},
            {"margin-top: 0;", "margin-bottom: 5px;", "font-size: 14px;", "font-weight: 700;",
             "color: #959595;"});
    cssRule(out, {".txt16"}, {"font-size: 16px;"});
    cssRule(out, {".list-chart"}, {"padding: 0 15px;", "border: 1px solid #ccc;", "background-color: #fff;"});
    cssRule(out, {".list-chart-row"}, {"padding: 15px 0;", "border-bottom: 1px solid #ccc;"});
    cssRule(out, {".list-chart-row:last-child"}, {"border-bottom: none;"});
    cssRule(out, {".middle-section"}, {"border-right: 1px solid #ccc;"});
    cssRule(out, {"#btnMore"}, {"margin-bottom: 20px;"});
}

void moreButtonRules(PageText &out, const JsonDocument &client) {
    const auto accent = [&] { return shownMember(client, "warna_button_login"); };
    out.line(".btn-more{ margin-bottom : 30px; background-color: ", accent(), "; border-color:", accent(),
             "}");
    out.line(".btn-more:hover{ background-color:", accent(), "; opacity:0.5; border-color:", accent(), ";}");
}
