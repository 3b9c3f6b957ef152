// Calls written into onClick attributes reach `app` with the original texts, whatever they hold.
// The attribute is decoded as a browser would and its script run in a JavaScript engine.
#include "pages/AppCall.h"
#include "PagesFixture.h"
#include "pages/PageFiles.h"

#include <QJSEngine>

namespace {

const std::string tricky = "Anak's \"Buku\" & <C:\\dir\\>\nbaris";
const QString trickyText = QString::fromStdString(tricky);

TEST(AppCall, WritesTextsQuotedAndNumbersBare) {
    EXPECT_EQ(appCall("back"), "app.back()");
    EXPECT_EQ(appCall("searchResult", {textArg("kata"), textArg("Semua"), numberArg(3)}),
              "app.searchResult('kata','Semua',3)");
    EXPECT_EQ(appCall("homeDetail", {textArg("7"), textArg("Anak's \"A\" & B\\")}),
              "app.homeDetail('7','Anak\\'s &quot;A&quot; &amp; B\\\\')");
}

TEST(AppCall, AnyTextSurvivesTheAttributeAndTheScriptString) {
    const std::string html = "<a onClick=\"" + appCall("detail", {textArg(tricky)}) + "\">";
    EXPECT_EQ(appCallsOf(html), QStringList{"detail|" + trickyText});
}

TEST_F(PagesTest, HomeSectionAndBookCallsReceiveTheOriginalTexts) {
    loadSampleCatalogue(lib);
    JsonDocument sections = JsonDocument::parse(R"({"data":[{"rows":[{}]}]})");
    sections["data"][0]["id"] = tricky;
    sections["data"][0]["judul_section"] = tricky;
    sections["data"][0]["rows"][0]["id_konten"] = tricky;
    lib.FHomeContentJson.store(std::make_shared<const JsonDocument>(sections));
    JsonDocument banners = JsonDocument::parse(R"({"data":[{"img":"b.jpg"}]})");
    banners["data"][0]["url_link"] = tricky;
    lib.FBannerJson.store(std::make_shared<const JsonDocument>(banners));
    lib.renderHomeHtmlFile(view, 1);
    const QStringList calls = appCallsOf(page(PageFiles::Home));
    EXPECT_TRUE(calls.contains("openBanner|" + trickyText)) << calls.join("\n").toStdString();
    EXPECT_TRUE(calls.contains("homeDetail|" + trickyText + "|" + trickyText))
        << calls.join("\n").toStdString();
    EXPECT_TRUE(calls.contains("detail|" + trickyText)) << calls.join("\n").toStdString();
    // The page's own calls still come through.
    EXPECT_TRUE(calls.contains("loadMore")) << calls.join("\n").toStdString();
}

TEST_F(PagesTest, DepartmentSwitchScriptCarriesCallsThatReceiveTheOriginalTexts) {
    JsonDocument categories = JsonDocument::parse(R"({"data_departemen":[{"data_kategori":[
        {"id_kategori":"11","data_sub_kategori":[{"id_sub_kategori":"111"}]}]}]})");
    auto &department = categories["data_departemen"][0];
    department["id_departemen"] = tricky;
    department["data_kategori"][0]["nama_kategori"] = tricky;
    department["data_kategori"][0]["data_sub_kategori"][0]["nama_sub_kategori"] = tricky;
    lib.FCategoryJson.store(std::make_shared<const JsonDocument>(categories));
    lib.renderDept(view, tricky);
    ASSERT_EQ(view.calls.size(), 1u);
    QJSEngine engine;
    engine.evaluate(
        "var inserted = null; function $(selector) { return { html: function(h) { inserted = h; } }; }");
    const QJSValue result = engine.evaluate(QString::fromStdString(view.calls[0].substr(7)));
    ASSERT_FALSE(result.isError()) << result.toString().toStdString();
    const std::string boxes = engine.evaluate("inserted").toString().toStdString();
    EXPECT_EQ(appCallsOf(boxes), (QStringList{"kategoriKonten|11|1|" + trickyText + "|" + trickyText,
                                              "subKategoriKonten|111|1|" + trickyText + "|" + trickyText}));
}

TEST_F(PagesTest, ListAndSearchPageCallsReceiveTheOriginalTexts) {
    loadSampleCatalogue(lib);
    JsonDocument chart = JsonDocument::parse(R"({"data":[{}]})");
    chart["data"][0]["id_konten"] = tricky;
    lib.FChartContentJson.store(std::make_shared<const JsonDocument>(chart));
    lib.renderTopChart(view, 1);
    EXPECT_EQ(appCallsOf(page(PageFiles::Chart)),
              (QStringList{"account", "logout", "back", "detailFromChart|" + trickyText,
                           "bacaSection|" + trickyText, "loadMoreChart|2"}));
    JsonDocument hits = JsonDocument::parse(R"({"total_rows":11,"data":[{}]})");
    hits["data"][0]["id"] = tricky;
    hits["data"][0]["hal_idx"] = tricky;
    lib.FSearchContentJson.store(std::make_shared<const JsonDocument>(hits));
    lib.renderSearchKalimatResult(view, 1, tricky);
    EXPECT_EQ(appCallsOf(page(PageFiles::SentenceSearch)),
              (QStringList{"account", "logout", "back", "detailFromSearch|" + trickyText,
                           "bacaKalimat|" + trickyText + "|" + trickyText,
                           "searchResult|" + trickyText + "|Kalimat|2"}));
}

} // namespace
