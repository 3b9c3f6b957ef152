#pragma once
#include <string>
#include <utility>
#include <vector>

// Name/value pairs of a form body, in the order they are sent.
using FormFields = std::vector<std::pair<std::string, std::string>>;

// application/x-www-form-urlencoded: UTF-8 bytes percent-encoded, a space as "+", letters, digits
// and "*-._" left as they are, pairs joined by "&" in list order.
std::string encodeForm(const FormFields &fields);
// One name or value encoded as above.
std::string encodeFormComponent(const std::string &text);
