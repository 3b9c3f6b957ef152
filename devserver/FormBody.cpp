#include "devserver/FormBody.h"

namespace devserver {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::string> percentDecode(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            int hi = hexValue(text[i + 1]);
            int lo = hexValue(text[i + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<FormFields> parseForm(const std::string &body) {
    FormFields fields;
    std::size_t start = 0;
    while (start <= body.size() && !body.empty()) {
        std::size_t end = body.find('&', start);
        if (end == std::string::npos)
            end = body.size();
        const std::string pair = body.substr(start, end - start);
        if (!pair.empty()) {
            const std::size_t eq = pair.find('=');
            if (eq == std::string::npos)
                return std::nullopt;
            auto name = percentDecode(pair.substr(0, eq));
            auto value = percentDecode(pair.substr(eq + 1));
            if (!name || !value)
                return std::nullopt;
            fields.emplace(*name, *value);
        }
        start = end + 1;
    }
    return fields;
}

} // namespace devserver
