#include "service/FormBody.h"

namespace {

bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' ||
           c == '-' || c == '.' || c == '_';
}

} // namespace

std::string encodeFormComponent(const std::string &text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const unsigned char c : text) {
        if (keptAsIs(c)) {
            encoded += static_cast<char>(c);
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 0x0F];
        }
    }
    return encoded;
}

std::string encodeForm(const FormFields &fields) {
    std::string body;
    for (const auto &[name, value] : fields) {
        if (!body.empty())
            body += '&';
        body += encodeFormComponent(name) + '=' + encodeFormComponent(value);
    }
    return body;
}
