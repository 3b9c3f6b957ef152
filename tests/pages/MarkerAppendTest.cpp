// Further pages of the home and chart pages grow the file already shown at its marker line.
#include "PagesFixture.h"
#include "pages/FirstRun.h"
#include "pages/PageFiles.h"

#include <algorithm>

namespace {

std::vector<std::string> linesOf(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t stop; (stop = text.find("\r\n", start)) != std::string::npos; start = stop + 2)
        lines.push_back(text.substr(start, stop - start));
    return lines;
}

long countOf(const std::vector<std::string> &lines, const std::string &line) {
    return std::count(lines.begin(), lines.end(), line);
}

std::size_t indexOf(const std::vector<std::string> &lines, const std::string &line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
}

TEST_F(PagesTest, HomeFurtherPagesKeepOneMarkerAfterTheLastFragment) {
    loadSampleCatalogue(lib);
    FirstRun = 1;
    lib.renderHomeHtmlFile(view, 1);
    setReply(lib.FHomeContentJson, R"({"data":[{"id":"2","judul_section":"Dua\r\nBaris","rows":[]}]})");
    lib.renderHomeHtmlFile(view, 2);
    setReply(lib.FHomeContentJson, R"({"data":[{"id":"3","judul_section":"Tiga","rows":[]}]})");
    lib.renderHomeHtmlFile(view, 3);
    const auto lines = linesOf(page(PageFiles::Home));
    EXPECT_EQ(countOf(lines, "<!--KONTEN-->"), 1);
    const std::size_t marker = indexOf(lines, "<!--KONTEN-->");
    ASSERT_GE(marker, 2u);
    // The CR LF inside the title is removed with the fragment's line breaks.
    EXPECT_TRUE(
        lines[marker - 2].starts_with("<div class=\"col-sm-12 section-item\"><div class=\"row\"><div "
                                      "class=\"title-section-wrap\"><h2 class=\"title-section\">DuaBaris"));
    EXPECT_TRUE(lines[marker - 1].find("Tiga</h2>") != std::string::npos);
    EXPECT_TRUE(lines[marker - 1].ends_with("<div class=\"row small-gutters multiple-items\"></div></div>"));
    // The introduction is not opened again when the grown page is reloaded.
    EXPECT_EQ(countOf(lines, "$(document).ready(readyFunctionScript(1));"), 0);
    EXPECT_EQ(countOf(lines, "$(document).ready(readyFunctionScript(2));"), 1);
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"navigate " + pageUrlOf(PageFiles::Home), "reload", "reload"}));
}

TEST_F(PagesTest, LaterHomePagesOfARunDoNotOpenTheIntroduction) {
    loadSampleCatalogue(lib);
    FirstRun = 1;
    lib.renderHomeHtmlFile(view, 1);
    EXPECT_NE(page(PageFiles::Home).find("\r\n$(document).ready(readyFunctionScript(1));\r\n"),
              std::string::npos);
    lib.renderHomeHtmlFile(view, 1);
    EXPECT_NE(page(PageFiles::Home).find("\r\n$(document).ready(readyFunctionScript(2));\r\n"),
              std::string::npos);
    EXPECT_EQ(FirstRun, 2);
}

TEST_F(PagesTest, AFurtherPageWithoutAHomePageFailsWithTheHomePrefix) {
    loadSampleCatalogue(lib);
    lib.renderHomeHtmlFile(view, 2);
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_TRUE(shownBoxes()[0].starts_with("Error Exception #798: Cannot open file \"" + lib.FPath +
                                            "/index.html\""))
        << shownBoxes()[0];
    EXPECT_TRUE(view.calls.empty());
    lib.renderTopChart(view, 2);
    ASSERT_EQ(shownBoxes().size(), 2u);
    EXPECT_TRUE(shownBoxes()[1].starts_with("Error Exception #1951 : Cannot open file")) << shownBoxes()[1];
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(PagesTest, ChartFurtherPagesAppendRowsAndAskForTheNextPage) {
    loadSampleCatalogue(lib);
    lib.renderTopChart(view, 1);
    setReply(lib.FChartContentJson,
             R"({"total":1,"data":[{"id_konten":"301","judul":"Tiga","penerbit":"A & B",
        "isbn":"<9>","nilai_rate":"2","sinopsis":"baris satu\nbaris dua","stok":"1","qty":"1"}]})");
    lib.renderTopChart(view, 2);
    setReply(lib.FChartContentJson, R"({"total":1,"data":[{"id_konten":"401","judul":"Empat"}]})");
    lib.renderTopChart(view, 3);
    expectGolden("topChart_grown.html", page(PageFiles::Chart));
    const auto lines = linesOf(page(PageFiles::Chart));
    EXPECT_EQ(countOf(lines, "<!--LAST-->"), 1);
    const std::size_t marker = indexOf(lines, "<!--LAST-->");
    EXPECT_NE(lines[marker - 1].find("app.detailFromChart('401')"), std::string::npos);
    EXPECT_EQ(countOf(lines,
                      "<a href=\"javascript:void(0);\" id=\"loadMore\" class=\"btn btn-primary btn-block\" "
                      "onClick=\"app.loadMoreChart(4)\">Selebihnya</a>"),
              1);
    // Publisher and ISBN: encoded on the first page and in appended rows.
    const std::string grown = page(PageFiles::Chart);
    EXPECT_NE(grown.find("<h4 class=\"author\">Gramedia &amp; Co</h4>\r\n"), std::string::npos);
    EXPECT_NE(grown.find("<h4 class=\"author\">A &amp; B</h4><h4 class=\"author\">&lt;9&gt;</h4>"),
              std::string::npos);
    const std::vector<std::string> expected = {"navigate " + pageUrlOf(PageFiles::Chart), "reload",
                                               "script $(\"#btnMore\").show()", "reload",
                                               "script $(\"#btnMore\").show()"};
    EXPECT_EQ(view.calls, expected);
}

TEST_F(PagesTest, ChartFurtherPageWithoutRowsOnlyHidesTheButton) {
    loadSampleCatalogue(lib);
    lib.renderLastView(view, 1);
    const std::string before = page(PageFiles::Chart);
    setReply(lib.FChartContentJson, R"({"total":"0","data":[{"id_konten":"9"}]})");
    lib.renderLastView(view, 2);
    EXPECT_EQ(page(PageFiles::Chart), before);
    EXPECT_EQ(view.calls.back(), "script $(\"#btnMore\").hide()");
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(PagesTest, EachChartListRewritesItsOwnMoreCall) {
    loadSampleCatalogue(lib);
    lib.renderLastRead(view, 1);
    lib.renderLastRead(view, 2);
    const std::string grown = page(PageFiles::Chart);
    EXPECT_NE(grown.find("onClick=\"app.loadMoreLastRead(3)\">Selebihnya</a>\r\n"), std::string::npos);
    EXPECT_EQ(grown.find("app.loadMoreLastRead(2)"), std::string::npos);
}

} // namespace
