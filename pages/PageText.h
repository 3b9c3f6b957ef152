#pragma once
#include "web/HtmlText.h"

#include <initializer_list>
#include <string>
#include <string_view>

// Page text built line by line: in page form every line ends with CR LF, in compact form (the
// fragments appended to a page already shown) the same lines follow each other without breaks.
class PageText {
public:
    explicit PageText(bool compact = false) : compact(compact) {}

    template <typename... Parts> PageText &line(const Parts &...parts) {
        appendAll(text, parts...);
        if (!compact)
            text += "\r\n";
        return *this;
    }
    PageText &lines(std::initializer_list<std::string_view> each) {
        for (const std::string_view one : each)
            line(one);
        return *this;
    }
    bool isCompact() const { return compact; }

    std::string text;

private:
    bool compact;
};
