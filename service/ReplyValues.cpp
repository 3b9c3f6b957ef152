#include "service/ReplyValues.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
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

// The number `text` starts with (0 when none), read as a decimal so that a long one saturates too.
int leadingNumber(std::string_view text) {
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc::result_out_of_range)
        return saturated(number);
    // Beyond a double: a negative exponent makes it nearly 0, otherwise its sign decides.
    const std::string_view read = text.substr(0, static_cast<std::size_t>(end - text.data()));
    const std::size_t exponent = read.find_first_of("eE");
    if (exponent != std::string_view::npos && read.substr(exponent + 1).starts_with('-'))
        return 0;
    return read.starts_with('-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
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
    if (value->is_string())
        return leadingNumber(value->get_ref<const std::string &>());
    return 0;
}

int replyInt(const JsonPtr &reply, const char *key) {
    return replyInt(reply.get(), key);
}

const JsonDocument *replyData(const JsonPtr &reply) {
    return member(reply.get(), "data");
}

QString replyMessage(const JsonPtr &reply) {
    const QString message = QString::fromStdString(replyText(reply, "msg"));
    const std::string code = replyText(reply, "code");
    if (!message.trimmed().isEmpty() || code == "200")
        return message;
    // A refusal without words still tells the member that the service refused, and how.
    return QStringLiteral("Balasan layanan tidak memuat \"msg\" (kode %1)").arg(QString::fromStdString(code));
}

bool replyHasCode(const JsonPtr &reply) {
    const JsonDocument *value = member(reply.get(), "code");
    return value && !value->is_null();
}

bool isAuthFailed(const JsonPtr &reply) {
    return replyText(reply, "code") == "500" && replyText(reply, "msg") == "Auth Failed";
}

SessionValues loginSession(const JsonPtr &loginReply) {
    const JsonDocument *data = replyData(loginReply);
    return {.name = replyText(data, "nama"),
            .username = replyText(data, "username"),
            .userLevel = replyText(data, "level"),
            .lastDate = replyText(data, "tgl_berakhir"),
            .token = replyText(data, "token"),
            .profilePict = replyText(data, "photo"),
            .userId = replyText(data, "id_user")};
}
