#pragma once
#include <map>
#include <optional>
#include <string>

namespace devserver {

// Fields of an "application/x-www-form-urlencoded" body. Parsing fails (nullopt) on a broken
// percent escape or a field without "=", so malformed bodies get a clear refusal.
using FormFields = std::map<std::string, std::string>;

std::optional<FormFields> parseForm(const std::string &body);
std::optional<std::string> percentDecode(const std::string &text);

} // namespace devserver
