#include "bridge/ReplyValues.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace {
const JsonDocument *member(const JsonDocument *object, const char *key) {
    if (!object || !object->is_object())
        return nullptr;
    auto it = object->find(key);
    return it == object->end() ? nullptr : &*it;
}

// A reply number as an int, clamped to int's range (NaN reads as 0) rather than undefined behaviour.
template <typename Number> int saturated(Number value) {
    if constexpr (std::is_floating_point_v<Number>) {
        if (std::isnan(value))
            return 0;
    }
    if constexpr (std::is_signed_v<Number>) {
        if (value <= static_cast<Number>(std::numeric_limits<int>::min()))
            return std::numeric_limits<int>::min();
    }
    if (value >= static_cast<Number>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}
} // namespace

std::string replyText(const JsonDocument *object, const char *key) {
    const JsonDocument *value = member(object, key);
    if (!value || value->is_null())
        return {};
    if (value->is_string())
        return value->get<std::string>();
    return value->dump();
}

std::string replyText(const JsonPtr &reply, const char *key) {
    return replyText(reply.get(), key);
}

int replyInt(const JsonDocument *object, const char *key) {
    const JsonDocument *value = member(object, key);
    if (!value)
        return 0;
    if (value->is_number_integer())
        return value->is_number_unsigned() ? saturated(value->get<std::uint64_t>())
                                           : saturated(value->get<std::int64_t>());
    if (value->is_number())
        return saturated(value->get<double>());
    if (value->is_string()) {
        const std::string &text = value->get_ref<const std::string &>();
        int number = 0;
        std::from_chars(text.data(), text.data() + text.size(), number);
        return number;
    }
    return 0;
}

int replyInt(const JsonPtr &reply, const char *key) {
    return replyInt(reply.get(), key);
}

const JsonDocument *replyData(const JsonPtr &reply) {
    return member(reply.get(), "data");
}

bool replyHasCode(const JsonPtr &reply) {
    const JsonDocument *value = member(reply.get(), "code");
    return value && !value->is_null();
}

bool isAuthFailed(const JsonPtr &reply) {
    return replyText(reply, "code") == "500" && replyText(reply, "msg") == "Auth Failed";
}
