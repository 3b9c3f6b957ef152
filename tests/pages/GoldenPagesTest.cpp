// Every page written from a small catalogue, compared byte for byte with its golden file.
#include "PagesFixture.h"
#include "pages/FirstRun.h"
#include "pages/PageFiles.h"

namespace {

class GoldenPages : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        loadSampleCatalogue(lib);
    }
    // The page was written, shown in the view, and no error box came up.
    void expectShown(const char *fileName, const std::string &golden) {
        EXPECT_TRUE(shownBoxes().empty()) << shownBoxes().front();
        EXPECT_EQ(view.calls, std::vector<std::string>{"navigate " + pageUrlOf(fileName)});
        expectGolden(golden, page(fileName));
    }
};

TEST_F(GoldenPages, LoginPage) {
    lib.renderLoginHtmlFile(view);
    expectShown(PageFiles::Login, "login.html");
}

TEST_F(GoldenPages, HomePageOfTheFirstRenderOpensTheIntroduction) {
    FirstRun = 1;
    lib.renderHomeHtmlFile(view, 1);
    expectShown(PageFiles::Home, "index.html");
    EXPECT_EQ(FirstRun, 2);
}

TEST_F(GoldenPages, HomePageGrownByTwoFurtherPages) {
    FirstRun = 1;
    lib.renderHomeHtmlFile(view, 1);
    setReply(lib.FHomeContentJson, R"({"code":"200","data":[{"id":"9","judul_section":"Kedua","rows":[
        {"id_konten":"103","img":"c3.jpg","judul":"T & U","penulis":"V","stok":"1","qty":"1","nilai_rate":"5"}]}]})");
    lib.renderHomeHtmlFile(view, 2);
    setReply(lib.FHomeContentJson,
             R"({"code":"200","data":[{"id":"10","judul_section":"Ketiga","rows":[]}]})");
    lib.renderHomeHtmlFile(view, 3);
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"navigate " + pageUrlOf(PageFiles::Home), "reload", "reload"}));
    expectGolden("index_grown.html", page(PageFiles::Home));
}

TEST_F(GoldenPages, SectionPage) {
    lib.renderHomeDetailHtmlFile(view, "Buku \"Baru\" & Anak's");
    expectShown(PageFiles::Section, "index_detail.html");
}

TEST_F(GoldenPages, CategoryPage) {
    lib.renderCategoryHtmlFile(view);
    expectShown(PageFiles::Category, "category.html");
}

TEST_F(GoldenPages, CategoryBookList) {
    lib.renderCategoryContent(view, "Sains & Teknik");
    expectShown(PageFiles::CategoryBooks, "category_detail.html");
}

TEST_F(GoldenPages, SubCategoryBookList) {
    lib.renderSubCategoryContent(view, "Fisika <Dasar>");
    expectShown(PageFiles::SubCategoryBooks, "subCategoryDetail.html");
}

TEST_F(GoldenPages, TopReadList) {
    lib.renderTopChart(view, 1);
    expectShown(PageFiles::Chart, "topChart_topRead.html");
}

TEST_F(GoldenPages, LastReadList) {
    lib.renderLastRead(view, 1);
    expectShown(PageFiles::Chart, "topChart_lastRead.html");
}

TEST_F(GoldenPages, LastViewedList) {
    lib.renderLastView(view, 1);
    expectShown(PageFiles::Chart, "topChart_lastView.html");
}

TEST_F(GoldenPages, DetailPageFromASearch) {
    lib.renderDetailContent(view, "search");
    expectShown(PageFiles::Detail, "detail.html");
}

TEST_F(GoldenPages, TitleSearchResults) {
    lib.renderSearchResult(view, 2, "buku & \"anak\"", "Penulis");
    expectShown(PageFiles::TitleSearch, "search_result.html");
}

TEST_F(GoldenPages, SentenceSearchResults) {
    setReply(lib.FSearchContentJson, R"({"code":"200","total_rows":3,"data":[
        {"id":"401","img":"k1.jpg","judul":"K & L","halaman":"xii","hal_txt":"ada <span class=\"hl\">kalimat</span>",
         "hal_idx":11}]})");
    lib.renderSearchKalimatResult(view, 1, "kalimat <cari>");
    expectShown(PageFiles::SentenceSearch, "search_kalimat_result.html");
}

} // namespace
