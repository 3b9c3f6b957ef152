#pragma once
#include "service/JsonDocument.h"

#include <cstdint>
#include <string>

// Reading replies the lenient way the service's envelope asks for: a missing key, a null or a value
// of another kind reads as empty text or 0; numbers and texts convert into each other.

// The value under `key` of `object` as text: a string as it is, a number in its shortest form,
// true/false as "true"/"false"; "" when missing, null, an array or an object.
std::string jsonText(const JsonDocument &object, const std::string &key);
// The value under `key` as an integer: a whole number, or a text holding one; otherwise 0.
std::int64_t jsonInt(const JsonDocument &object, const std::string &key);
// A reply succeeded only when its "code", read as text, is exactly "200".
bool isSuccessReply(const JsonDocument &reply);
