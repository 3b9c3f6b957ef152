// The row of page links and the keyword on the search result pages.
#include "PagesFixture.h"
#include "pages/PageFiles.h"

namespace {

std::string pageRowOf(const std::string &html) {
    const std::size_t start = html.find("<ul class=\"pagination\">\r\n");
    const std::size_t stop = html.find("</ul>", start);
    if (start == std::string::npos || stop == std::string::npos)
        return "<no page row>";
    const std::size_t from = start + std::string("<ul class=\"pagination\">\r\n").size();
    return html.substr(from, stop - from);
}

std::string link(int number, const std::string &field) {
    const std::string n = std::to_string(number);
    return "<li><a href=\"javascript:void(0);\" onClick=\"app.searchResult('kata','" + field + "'," + n +
           ")\">" + n + "</a></li>\r\n";
}

std::string active(int number) {
    return "<li class=\"active\"><a href=\"#\">" + std::to_string(number) + "</a></li>\r\n";
}

struct RowCase {
    const char *totalRows; // JSON value
    int shownPage;
    int links;
};

TEST_F(PagesTest, PageRowHasOneLinkPerTenResults) {
    loadSampleCatalogue(lib);
    const RowCase cases[] = {{"0", 1, 0},   {"10", 1, 1}, {"\"11\"", 2, 2},
                             {"95", 4, 10}, {"-5", 1, 0}, {"10.9", 1, 1}};
    for (const RowCase &c : cases) {
        setReply(lib.FSearchContentJson, std::string(R"({"data":[],"total_rows":)") + c.totalRows + "}");
        lib.renderSearchResult(view, c.shownPage, "kata", "ISBN");
        lib.renderSearchKalimatResult(view, c.shownPage, "kata");
        std::string titleRow, sentenceRow;
        for (int i = 1; i <= c.links; ++i) {
            titleRow += i == c.shownPage ? active(i) : link(i, "ISBN");
            sentenceRow += i == c.shownPage ? active(i) : link(i, "Kalimat");
        }
        EXPECT_EQ(pageRowOf(page(PageFiles::TitleSearch)), titleRow) << c.totalRows;
        EXPECT_EQ(pageRowOf(page(PageFiles::SentenceSearch)), sentenceRow) << c.totalRows;
    }
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(PagesTest, NoResultsShowZeroFoundAndAnEmptyGrid) {
    loadSampleCatalogue(lib);
    setReply(lib.FSearchContentJson, R"({"total_rows":0,"data":[]})");
    lib.renderSearchResult(view, 1, "kata", "Semua");
    const std::string html = page(PageFiles::TitleSearch);
    EXPECT_NE(html.find("Hasil Pencarian : kata ( Found : 0 Records )</li>"), std::string::npos);
    EXPECT_NE(html.find("id=\"contents\">\r\n</div>\r\n\r\n<div class=\"row\">"), std::string::npos);
}

TEST_F(PagesTest, KeywordIsEncodedInTheFieldAndTheBreadcrumb) {
    loadSampleCatalogue(lib);
    const std::string keyword = "<b>Tom & \"Jerry\"</b>";
    const std::string shown = "&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;";
    lib.renderSearchResult(view, 1, keyword, "Semua");
    lib.renderSearchKalimatResult(view, 1, keyword);
    for (const char *file : {PageFiles::TitleSearch, PageFiles::SentenceSearch}) {
        const std::string html = page(file);
        EXPECT_NE(html.find("placeholder=\"Cari...\" value=\"" + shown + "\">"), std::string::npos) << file;
        EXPECT_NE(html.find("Hasil Pencarian" +
                            std::string(file == PageFiles::TitleSearch ? " : " : " Kalimat : ") + shown +
                            " ( Found"),
                  std::string::npos)
            << file;
    }
    EXPECT_NE(page(PageFiles::SentenceSearch).find("<span id=\"search_concept\">Kalimat</span>"),
              std::string::npos);
}

} // namespace
