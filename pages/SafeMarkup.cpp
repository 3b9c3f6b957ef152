#include "pages/SafeMarkup.h"

#include "web/HtmlText.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view keptElements[] = {
    "a",     "abbr",  "b",  "blockquote", "br",  "caption", "cite", "code",  "dd",   "del",    "div", "dl",
    "dt",    "em",    "h1", "h2",         "h3",  "h4",      "h5",   "h6",    "hr",   "i",      "img", "ins",
    "li",    "mark",  "ol", "p",          "pre", "q",       "s",    "small", "span", "strong", "sub", "sup",
    "table", "tbody", "td", "tfoot",      "th",  "thead",   "tr",   "u",     "ul"};
constexpr std::string_view voidElements[] = {"br", "hr", "img"};
// Elements whose content is script, style, another document or a foreign language: dropped whole.
constexpr std::string_view droppedWithContent[] = {
    "applet", "embed",     "frame",  "frameset", "iframe", "math",     "noembed",  "noframes", "noscript",
    "object", "plaintext", "script", "style",    "svg",    "template", "textarea", "title",    "xmp"};
constexpr std::string_view keptAttributes[] = {"align", "alt",     "class", "colspan", "dir",  "height",
                                               "lang",  "rowspan", "style", "title",   "width"};
constexpr std::string_view addressAttributes[] = {"href", "src"};
constexpr std::string_view safeSchemes[] = {"http", "https", "mailto"};

template <std::size_t N> bool listed(const std::string_view (&list)[N], std::string_view name) {
    return std::find(std::begin(list), std::end(list), name) != std::end(list);
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

// The length of the character reference at the start of `text` ("&amp;", "&#39;", "&#x27;"), or 0.
std::size_t referenceLength(std::string_view text) {
    std::size_t i = 1;
    if (i < text.size() && text[i] == '#') {
        ++i;
        const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        i += hex ? 1 : 0;
        const std::size_t digits = i;
        while (i < text.size() && i - digits < 7 && (hex ? isHexDigit(text[i]) : isDigit(text[i])))
            ++i;
        if (i == digits)
            return 0;
    } else {
        if (i >= text.size() || !isAsciiLetter(text[i]))
            return 0;
        while (i < text.size() && i < 33 && (isAsciiLetter(text[i]) || isDigit(text[i])))
            ++i;
    }
    return i < text.size() && text[i] == ';' ? i + 1 : 0;
}

void appendUtf8(std::string &out, std::uint32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// An attribute value as the browser reads it: numeric references and the named ones that can hide
// an address's scheme are decoded; any other reference stays as written and so, once the value is
// encoded again, is shown literally instead of being decoded.
std::string decodedValue(std::string_view value) {
    static const std::pair<std::string_view, std::string_view> named[] = {
        {"&amp;", "&"},   {"&lt;", "<"},   {"&gt;", ">"},       {"&quot;", "\""},      {"&apos;", "'"},
        {"&colon;", ":"}, {"&Tab;", "\t"}, {"&NewLine;", "\n"}, {"&nbsp;", "\xC2\xA0"}};
    std::string out;
    for (std::size_t i = 0; i < value.size();) {
        const std::size_t length = value[i] == '&' ? referenceLength(value.substr(i)) : 0;
        if (length == 0) {
            out += value[i++];
            continue;
        }
        const std::string_view reference = value.substr(i, length);
        if (reference[1] == '#') {
            const bool hex = reference[2] == 'x' || reference[2] == 'X';
            appendUtf8(out, static_cast<std::uint32_t>(
                                std::stoul(std::string(reference.substr(hex ? 3 : 2, length - (hex ? 4 : 3))),
                                           nullptr, hex ? 16 : 10)));
        } else {
            const auto found = std::find_if(std::begin(named), std::end(named),
                                            [&](const auto &entry) { return entry.first == reference; });
            out += found != std::end(named) ? found->second : reference;
        }
        i += length;
    }
    return out;
}

// The address as the browser takes it (tabs and line breaks removed, ends trimmed), or nothing when
// it names a scheme that could run script or open something other than a web page or mail.
std::optional<std::string> safeAddress(std::string_view value) {
    std::string address;
    for (const char c : decodedValue(value))
        if (c != '\t' && c != '\n' && c != '\r')
            address += c;
    address = std::string(trimmed(address));
    const std::size_t stop = address.find_first_of(":/?#");
    if (stop != std::string::npos && address[stop] == ':' &&
        !listed(safeSchemes, lowered(std::string_view(address).substr(0, stop))))
        return std::nullopt;
    return address;
}

struct Attribute {
    std::string name;
    std::string value;
};

struct Tag {
    std::string name; // lower case
    bool closing = false;
    std::vector<Attribute> attributes;
    std::size_t end = 0; // position after the ">"
};

std::size_t skipSpaces(std::string_view text, std::size_t i) {
    while (i < text.size() && (isSpace(text[i]) || text[i] == '/'))
        ++i;
    return i;
}

std::size_t nameEnd(std::string_view text, std::size_t i, bool attribute) {
    const std::size_t start = i;
    while (i < text.size() && !isSpace(text[i]) && text[i] != '/' && text[i] != '>' &&
           !(attribute && text[i] == '=' && i > start))
        ++i;
    return i;
}

// Reads one attribute's value after its "=", quoted or not; nothing when the text ends inside quotes.
std::optional<std::string> attributeValue(std::string_view text, std::size_t &i) {
    while (i < text.size() && isSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
        const std::size_t close = text.find(text[i], i + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        std::string value(text.substr(i + 1, close - i - 1));
        i = close + 1;
        return value;
    }
    const std::size_t start = i;
    while (i < text.size() && !isSpace(text[i]) && text[i] != '>')
        ++i;
    return std::string(text.substr(start, i - start));
}

// Reads the tag that starts at `start` ("<name" or "</name"); nothing when the text ends inside it,
// in which case the browser would drop it too.
std::optional<Tag> readTag(std::string_view text, std::size_t start) {
    Tag tag;
    std::size_t i = start + 1;
    tag.closing = text[i] == '/';
    i += tag.closing ? 1 : 0;
    const std::size_t nameStop = nameEnd(text, i, false);
    tag.name = lowered(text.substr(i, nameStop - i));
    i = nameStop;
    for (;;) {
        i = skipSpaces(text, i);
        if (i >= text.size())
            return std::nullopt;
        if (text[i] == '>') {
            tag.end = i + 1;
            return tag;
        }
        const std::size_t attributeStop = nameEnd(text, i, true);
        Attribute attribute{lowered(text.substr(i, attributeStop - i)), {}};
        i = attributeStop;
        while (i < text.size() && isSpace(text[i]))
            ++i;
        if (i < text.size() && text[i] == '=') {
            ++i;
            const std::optional<std::string> value = attributeValue(text, i);
            if (!value)
                return std::nullopt;
            attribute.value = *value;
        }
        tag.attributes.push_back(std::move(attribute));
    }
}

// The kept tag written anew, with its kept attributes only.
std::string keptTag(const Tag &tag) {
    if (tag.closing)
        return "</" + tag.name + ">";
    std::string out = "<" + tag.name;
    for (const Attribute &attribute : tag.attributes) {
        std::optional<std::string> value;
        if (listed(keptAttributes, attribute.name))
            value = decodedValue(attribute.value);
        else if (listed(addressAttributes, attribute.name))
            value = safeAddress(attribute.value);
        if (value)
            appendAll(out, " ", attribute.name, "=\"", htmlEncode(*value), "\"");
    }
    return out + ">";
}

// The position after the end tag of `name` that closes content dropped whole; the end of the text
// when there is none.
std::size_t afterClosingTag(std::string_view text, std::size_t from, const std::string &name) {
    for (std::size_t i = text.find("</", from); i != std::string_view::npos; i = text.find("</", i + 2)) {
        const std::size_t stop = nameEnd(text, i + 2, false);
        if (lowered(text.substr(i + 2, stop - i - 2)) != name)
            continue;
        const std::size_t close = text.find('>', stop);
        return close == std::string_view::npos ? text.size() : close + 1;
    }
    return text.size();
}

// The position after a comment, a declaration or a processing instruction starting at `start`.
std::size_t afterComment(std::string_view text, std::size_t start) {
    if (text.substr(start, 4) == "<!--") {
        const std::size_t close = text.find("-->", start + 4);
        return close == std::string_view::npos ? text.size() : close + 3;
    }
    const std::size_t close = text.find('>', start);
    return close == std::string_view::npos ? text.size() : close + 1;
}

} // namespace

std::string safeMarkup(std::string_view markup) {
    std::string out;
    out.reserve(markup.size());
    std::size_t i = 0;
    while (i < markup.size()) {
        const char c = markup[i];
        const char next = i + 1 < markup.size() ? markup[i + 1] : '\0';
        const char afterSlash = i + 2 < markup.size() ? markup[i + 2] : '\0';
        if (c == '&') {
            const std::size_t length = referenceLength(markup.substr(i));
            out += length ? markup.substr(i, length) : "&amp;";
            i += length ? length : 1;
        } else if (c == '>') {
            out += "&gt;";
            ++i;
        } else if (c != '<') {
            out += c;
            ++i;
        } else if (next == '!' || next == '?' || (next == '/' && !isAsciiLetter(afterSlash))) {
            i = afterComment(markup, i);
        } else if (!isAsciiLetter(next) && next != '/') {
            out += "&lt;";
            ++i;
        } else {
            const std::optional<Tag> tag = readTag(markup, i);
            if (!tag)
                break;
            i = tag->end;
            if (!tag->closing && listed(droppedWithContent, tag->name))
                i = afterClosingTag(markup, i, tag->name);
            else if (listed(keptElements, tag->name) && !(tag->closing && listed(voidElements, tag->name)))
                out += keptTag(*tag);
        }
    }
    return out;
}
