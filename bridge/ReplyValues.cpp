#include "bridge/ReplyValues.h"

#include <charconv>

namespace {
const JsonDocument *member(const JsonDocument *object, const char *key) {
    if (!object || !object->is_object())
        return nullptr;
    auto it = object->find(key);
    return it == object->end() ? nullptr : &*it;
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

int replyInt(const JsonPtr &reply, const char *key) {
    const JsonDocument *value = member(reply.get(), key);
    if (!value)
        return 0;
    if (value->is_number_integer())
        return value->get<int>();
    if (value->is_number())
        return static_cast<int>(value->get<double>());
    if (value->is_string()) {
        const std::string &text = value->get_ref<const std::string &>();
        int number = 0;
        std::from_chars(text.data(), text.data() + text.size(), number);
        return number;
    }
    return 0;
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
