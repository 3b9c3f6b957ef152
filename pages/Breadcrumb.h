#pragma once
#include <string_view>

// The first breadcrumb item of the pages below the home page: back to the home page.
inline constexpr std::string_view homeCrumbItem =
    "<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.back()\">Home</a></li>";
