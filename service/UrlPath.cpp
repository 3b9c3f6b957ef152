#include "service/UrlPath.h"

namespace {

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

std::string encodePathSegment(const std::string &segment) {
    static const char hex[] = "0123456789ABCDEF";
    const bool onlyDots = !segment.empty() && segment.find_first_not_of('.') == std::string::npos;
    std::string encoded;
    for (const unsigned char c : segment) {
        if (isUnreserved(c) && !onlyDots) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 0x0F];
        }
    }
    return encoded;
}
