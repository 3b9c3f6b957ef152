#include "pages/JsonValues.h"

#include "web/HtmlText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

std::runtime_error valueError(std::string_view key, std::string_view problem) {
    return std::runtime_error("Value \"" + std::string(key) + "\" " + std::string(problem));
}

// The member under `key`, or nullptr when it is missing. Reading from a non-object is an error.
const JsonDocument *findMember(const JsonDocument &object, std::string_view key) {
    if (!object.is_object())
        throw valueError(key, "is read from a value that is not an object");
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

long long wholePart(double value, std::string_view key) {
    const double whole = std::trunc(value);
    if (!std::isfinite(whole) || whole < -9.2e18 || whole > 9.2e18)
        throw valueError(key, "is out of range for a number");
    return static_cast<long long>(whole);
}

long long numberFromText(const std::string &text, std::string_view key) {
    double value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        throw valueError(key, "is not a valid number: \"" + text + "\"");
    return wholePart(value, key);
}

} // namespace

JsonPtr replyDocument(const ReplyField &field, std::string_view fieldName) {
    JsonPtr document = field.load();
    if (!document)
        throw std::runtime_error("No reply in " + std::string(fieldName));
    return document;
}

JsonPtr replyDocument(const JsonPtr &given, const ReplyField &field, std::string_view fieldName) {
    return given ? given : replyDocument(field, fieldName);
}

const JsonDocument &objectMember(const JsonDocument &object, std::string_view key) {
    const JsonDocument *member = findMember(object, key);
    if (!member || !member->is_object())
        throw valueError(key, "is not an object");
    return *member;
}

std::string textMember(const JsonDocument &object, std::string_view key) {
    const JsonDocument *member = findMember(object, key);
    if (!member)
        return {};
    switch (member->type()) {
    case JsonDocument::value_t::string:
        return member->get_ref<const std::string &>();
    case JsonDocument::value_t::number_integer:
        return std::to_string(member->get<std::int64_t>());
    case JsonDocument::value_t::number_unsigned:
        return std::to_string(member->get<std::uint64_t>());
    case JsonDocument::value_t::number_float:
        return generalDecimal(member->get<double>());
    case JsonDocument::value_t::boolean:
        return member->get<bool>() ? "true" : "false";
    case JsonDocument::value_t::null:
        throw valueError(key, "is null where text is expected");
    default:
        throw valueError(key, "is not a text value");
    }
}

std::string shownMember(const JsonDocument &object, std::string_view key) {
    return htmlEncode(textMember(object, key));
}

long long numberMember(const JsonDocument &object, std::string_view key) {
    const JsonDocument *member = findMember(object, key);
    if (!member)
        return 0;
    switch (member->type()) {
    case JsonDocument::value_t::string:
        return numberFromText(member->get_ref<const std::string &>(), key);
    case JsonDocument::value_t::number_integer:
        return member->get<std::int64_t>();
    case JsonDocument::value_t::number_unsigned:
        return wholePart(static_cast<double>(member->get<std::uint64_t>()), key);
    case JsonDocument::value_t::number_float:
        return wholePart(member->get<double>(), key);
    case JsonDocument::value_t::boolean:
        return member->get<bool>() ? 1 : 0;
    case JsonDocument::value_t::null:
        throw valueError(key, "is null where a number is expected");
    default:
        throw valueError(key, "is not a number");
    }
}

const JsonDocument &arrayMember(const JsonDocument &object, std::string_view key) {
    static const JsonDocument emptyArray = JsonDocument::array();
    const JsonDocument *member = findMember(object, key);
    if (!member)
        return emptyArray;
    if (!member->is_array())
        throw valueError(key, "is not an array");
    return *member;
}

bool isNullOrMissing(const JsonDocument &object, std::string_view key) {
    const JsonDocument *member = findMember(object, key);
    return !member || member->is_null();
}

std::string generalDecimal(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    // "1.5E+20" and "1E-05" are written "1.5E20" and "1E-5".
    const auto exponent = text.find('E');
    if (exponent == std::string::npos)
        return text;
    std::string mantissa = text.substr(0, exponent);
    std::string digits = text.substr(exponent + 1);
    const bool negative = digits.front() == '-';
    digits.erase(0, digits.find_first_not_of("+-0"));
    return mantissa + "E" + (negative ? "-" : "") + (digits.empty() ? "0" : digits);
}
