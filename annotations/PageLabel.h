#pragma once
#include <optional>
#include <string>

// The printed label of page `pageIndex` (zero-based) of a book whose first `romanPages` pages are front
// matter numbered in upper-case Roman numerals: those pages are "I", "II", ...; the pages after them
// count from "1".
std::string printedPageLabel(int pageIndex, int romanPages);
std::string romanNumeral(int number);

// The zero-based page that a member's typed text names in a book of `pageCount` pages: a one-based page
// number (optionally followed by "/" and anything, as the page box shows it), or the printed label of
// a front-matter page in Roman numerals, in either case. Nothing when no page of the book has it.
std::optional<int> pageIndexOfTyped(const std::string &typed, int romanPages, int pageCount);
