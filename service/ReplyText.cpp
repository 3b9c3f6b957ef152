#include "service/ReplyText.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <functional>
#include <memory>

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool isUtf8Name(const std::string &charset) {
    return charset.empty() || charset == "utf-8" || charset == "utf8";
}

std::string withoutUtf8Mark(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3); // in place: no second copy of the text
    return text;
}

struct IconvClose {
    void operator()(void *converter) const { iconv_close(static_cast<iconv_t>(converter)); }
};
using Converter = std::unique_ptr<void, IconvClose>;

Converter openConverter(const std::string &charset) {
    const iconv_t converter = iconv_open("UTF-8", charset.c_str());
    return Converter(converter == reinterpret_cast<iconv_t>(-1) ? nullptr : converter);
}

// Converts `body` through a small buffer, handing each converted piece to `sink`; false when the
// bytes do not fit the character set.
bool convertInPieces(const std::string &body, const std::string &charset,
                     const std::function<void(const char *, size_t)> &sink) {
    const Converter converter = openConverter(charset);
    if (!converter)
        return false;
    char *in = const_cast<char *>(body.data()); // iconv's signature; it does not write the input
    size_t inLeft = body.size();
    std::array<char, 64 * 1024> piece;
    while (true) {
        char *out = piece.data();
        size_t outLeft = piece.size();
        const size_t result = iconv(static_cast<iconv_t>(converter.get()), &in, &inLeft, &out, &outLeft);
        sink(piece.data(), piece.size() - outLeft);
        if (result != static_cast<size_t>(-1) && inLeft == 0)
            return true;
        if (result == static_cast<size_t>(-1) && errno != E2BIG)
            return false;
    }
}

// The converted text in a buffer of exactly its size: a first pass measures it, a second fills it.
bool convertToUtf8(const std::string &body, const std::string &charset, std::string &out) {
    size_t size = 0;
    if (!convertInPieces(body, charset, [&size](const char *, size_t n) { size += n; }))
        return false;
    out.reserve(size);
    return convertInPieces(body, charset, [&out](const char *piece, size_t n) { out.append(piece, n); });
}

} // namespace

std::string declaredCharset(const std::string &contentType) {
    const std::string lower = lowerCase(contentType);
    const size_t key = lower.find("charset=");
    if (key == std::string::npos)
        return {};
    std::string value = lower.substr(key + 8);
    value = value.substr(0, value.find(';'));
    value.erase(
        std::remove_if(value.begin(), value.end(), [](char c) { return c == '"' || std::isspace(c); }),
        value.end());
    return value;
}

std::string replyTextAsUtf8(std::string body, const std::string &contentType) {
    const std::string charset = declaredCharset(contentType);
    std::string converted;
    if (isUtf8Name(charset) || !convertToUtf8(body, charset, converted))
        return withoutUtf8Mark(std::move(body));
    std::string().swap(body); // freed now: a parameter may otherwise live until the caller's statement ends
    return withoutUtf8Mark(std::move(converted));
}
