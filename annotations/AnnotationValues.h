#pragma once
#include "service/JsonDocument.h"

#include <string>

// Reading the entries of an annotation document: a missing key, or a value of another type, reads as 0
// or the empty text, so an incomplete entry is painted and hit-tested at 0 and never fails.
double numberAt(const JsonDocument &object, const char *key);
int integerAt(const JsonDocument &object, const char *key);
std::string textAt(const JsonDocument &object, const char *key);
// The object or array under `key`, or an empty one.
const JsonDocument &memberAt(const JsonDocument &object, const char *key);
