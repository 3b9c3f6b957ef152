#pragma once

// The names of the page files in the data folder.
namespace PageFiles {
inline constexpr const char *Login = "login.html";
inline constexpr const char *Home = "index.html";
inline constexpr const char *Section = "index_detail.html";
inline constexpr const char *Category = "category.html";
inline constexpr const char *CategoryBooks = "category_detail.html";
inline constexpr const char *SubCategoryBooks = "subCategoryDetail.html";
inline constexpr const char *Chart = "topChart.html";
inline constexpr const char *Detail = "detail.html";
inline constexpr const char *TitleSearch = "search_result.html";
inline constexpr const char *SentenceSearch = "search_kalimat_result.html";
} // namespace PageFiles
