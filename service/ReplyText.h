#pragma once
#include <string>

// The reply body as UTF-8, decoded from the character set its Content-Type declares. A body that
// declares none, or one this system cannot convert from, is taken as UTF-8; a UTF-8 byte-order mark
// is dropped. The body is taken over: UTF-8 comes back in the same buffer, and decoded text in one of
// exactly its size, with the body freed before the return.
std::string replyTextAsUtf8(std::string body, const std::string &contentType);

// The "charset" parameter of a Content-Type value, lower case, without quotes; "" when absent.
std::string declaredCharset(const std::string &contentType);
