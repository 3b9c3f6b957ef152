#pragma once
#include "service/JsonDocument.h"

#include <string>
#include <string_view>

// How the pages take values out of the service's replies. Every failure throws
// std::runtime_error with a message naming the key, which ends the render.

// The document of a reply field; throws when the field holds none.
JsonPtr replyDocument(const ReplyField &field, std::string_view fieldName);
// `given` when there is one, else the reply held in `field`.
JsonPtr replyDocument(const JsonPtr &given, const ReplyField &field, std::string_view fieldName);

// The object under `key`; anything else (missing included) is an error.
const JsonDocument &objectMember(const JsonDocument &object, std::string_view key);

// A value read as text: missing gives "", a string itself, a number its decimal form, a boolean
// "true"/"false"; null, an array or an object is a type error.
std::string textMember(const JsonDocument &object, std::string_view key);

// A value read as text and HTML-encoded: how a service value goes into a page, whether as text, in
// an attribute or in a style rule (where a valid colour is left as it is and a "<" cannot end the
// style element).
std::string shownMember(const JsonDocument &object, std::string_view key);

// A value read as a number: missing gives 0, a numeric string its value, a fraction its whole part,
// true 1 and false 0; null, any other string, an array or an object is an error.
long long numberMember(const JsonDocument &object, std::string_view key);

// The array under `key` to walk; a missing one is walked as empty, any other kind is an error.
const JsonDocument &arrayMember(const JsonDocument &object, std::string_view key);

// True when `key` is missing or null.
bool isNullOrMissing(const JsonDocument &object, std::string_view key);

// The general decimal form of a fractional number: up to 15 significant digits, "." as separator.
std::string generalDecimal(double value);
