#pragma once
#include <QString>

#include <string>

// `text` in the ANSI code page of the client's Windows locales (Windows-1252); a character that it
// cannot represent becomes "?".
std::string toAnsiText(const QString &text);
