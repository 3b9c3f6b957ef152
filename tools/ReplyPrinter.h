#pragma once
#include "service/JsonDocument.h"

#include <cstdio>

// Prints a reply on `out` as indented JSON. Replies come from the service client, which refuses one
// nested deeper than DeepestJsonNesting, so the printout stays shallow.
void printReply(std::FILE *out, const JsonDocument &reply);
