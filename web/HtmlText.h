#pragma once
#include <string>
#include <string_view>

// Text transformations for values put into the generated pages.

// Replaces "&", "<", ">" and the double quote by their entities; nothing else changes.
std::string htmlEncode(std::string_view text);

// Escapes backslash, single quote and line breaks so `text` reads back unchanged from a
// single-quoted script string.
std::string scriptStringBody(std::string_view text);

// Removes white space and control characters from both ends.
std::string_view trimmed(std::string_view text);

// Removes every CR LF pair.
std::string withoutCrLf(std::string_view text);

// Appends the parts to `out`, one after another.
template <typename... Parts> void appendAll(std::string &out, const Parts &...parts) {
    (out.append(std::string_view(parts)), ...);
}
