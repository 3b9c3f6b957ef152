#include "annotations/AnnotationValues.h"

#include <cmath>
#include <limits>

namespace {
const JsonDocument *find(const JsonDocument &object, const char *key) {
    if (!object.is_object())
        return nullptr;
    auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}
} // namespace

double numberAt(const JsonDocument &object, const char *key) {
    const JsonDocument *value = find(object, key);
    if (!value || !value->is_number())
        return 0;
    const double number = value->get<double>();
    return std::isfinite(number) ? number : 0;
}

int integerAt(const JsonDocument &object, const char *key) {
    const double number = numberAt(object, key);
    if (number <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (number >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(number);
}

std::string textAt(const JsonDocument &object, const char *key) {
    const JsonDocument *value = find(object, key);
    return value && value->is_string() ? value->get<std::string>() : std::string();
}

const JsonDocument &memberAt(const JsonDocument &object, const char *key) {
    static const JsonDocument none;
    const JsonDocument *value = find(object, key);
    return value ? *value : none;
}
