#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace devserver {

class Database;

// The sample catalogue: departments, categories, sub-categories and about forty books, each with
// a cover, a PDF with real text and its page texts stored for sentence search.
void createSampleBooks(Database &db, const std::filesystem::path &publicDir);

// Printed label of a zero-based page: Roman numerals for the front matter, then 1, 2, ...
std::string pageLabel(int pageIndex, int romanPages);

} // namespace devserver
