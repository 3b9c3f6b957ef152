#pragma once
#include "service/JsonDocument.h"

#include <QString>

#include <string>

struct TDetailBook;

// The six lines a copied passage carries on the clipboard, joined by CR LF, without a final break.
QString citationBlock(const TDetailBook &book, const std::string &pageLabel, const QString &phrase);

// Adds {"page": label, "text": phrase} to the copied-text document unless an entry has both already;
// true when it was added.
bool recordCopiedText(JsonDocument &textCopy, const std::string &pageLabel, const std::string &phrase);
