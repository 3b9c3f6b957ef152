#include "service/ReplyText.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool isUtf8Name(const std::string &charset) {
    return charset.empty() || charset == "utf-8" || charset == "utf8";
}

std::string withoutUtf8Mark(const std::string &text) {
    return text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
}

// Converts with iconv; false when the character set is unknown or the bytes do not fit it.
bool convertToUtf8(const std::string &body, const std::string &charset, std::string &out) {
    iconv_t converter = iconv_open("UTF-8", charset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string input = body;
    char *in = input.data();
    size_t inLeft = input.size();
    out.assign(input.size() * 4 + 16, '\0');
    char *target = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(converter, &in, &inLeft, &target, &outLeft);
    iconv_close(converter);
    if (result == static_cast<size_t>(-1))
        return false;
    out.resize(out.size() - outLeft);
    return true;
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

std::string replyTextAsUtf8(const std::string &body, const std::string &contentType) {
    const std::string charset = declaredCharset(contentType);
    std::string converted;
    if (isUtf8Name(charset) || !convertToUtf8(body, charset, converted))
        return withoutUtf8Mark(body);
    return withoutUtf8Mark(converted);
}
