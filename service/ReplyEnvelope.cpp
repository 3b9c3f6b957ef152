#include "service/ReplyEnvelope.h"

#include <charconv>
#include <cmath>

namespace {

const JsonDocument *member(const JsonDocument &object, const std::string &key) {
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

} // namespace

std::string jsonText(const JsonDocument &object, const std::string &key) {
    const JsonDocument *value = member(object, key);
    if (!value || value->is_null() || value->is_structured())
        return {};
    if (value->is_string())
        return value->get<std::string>();
    return value->dump();
}

std::int64_t jsonInt(const JsonDocument &object, const std::string &key) {
    const JsonDocument *value = member(object, key);
    if (!value)
        return 0;
    if (value->is_number_integer())
        return value->get<std::int64_t>();
    if (value->is_number_unsigned())
        return static_cast<std::int64_t>(value->get<std::uint64_t>());
    if (value->is_number_float()) {
        const double number = value->get<double>();
        return std::isfinite(number) && std::fabs(number) < 9.2e18 ? static_cast<std::int64_t>(number) : 0;
    }
    if (!value->is_string())
        return 0;
    const std::string &text = value->get_ref<const std::string &>();
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() ? number : 0;
}

bool isSuccessReply(const JsonDocument &reply) {
    return jsonText(reply, "code") == "200";
}
