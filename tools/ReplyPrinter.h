#pragma once
#include "service/JsonDocument.h"

#include <cstdio>

// Prints a reply on `out` as indented JSON. A reply nested deeper than maxPrintedDepth levels is
// refused with std::runtime_error before anything is printed: its printout would take the stack
// (and, indented, gigabytes) with it.
void printReply(std::FILE *out, const JsonDocument &reply);

inline constexpr std::size_t maxPrintedDepth = 512;
