#pragma once
#include <string>

// The printed label of page `pageIndex` (zero-based) of a book whose first `romanPages` pages are front
// matter numbered in upper-case Roman numerals: those pages are "I", "II", ...; the pages after them
// count from "1".
std::string printedPageLabel(int pageIndex, int romanPages);
std::string romanNumeral(int number);
