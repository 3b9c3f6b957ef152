// A render that meets a value it cannot use shows its own error box, keeps the file as far as it
// was written and leaves the view alone.
#include "PagesFixture.h"
#include "pages/PageFiles.h"

#include <functional>

namespace {

// Replaces the member `key` of the object at `pointer` in a reply field by null.
void setNull(ReplyField &field, const std::string &pointer, const std::string &key) {
    JsonDocument changed = *field.load();
    changed[JsonDocument::json_pointer(pointer)][key] = nullptr;
    field.store(std::make_shared<const JsonDocument>(std::move(changed)));
}

struct ErrorCase {
    const char *name;
    const char *prefix;
    const char *nullKey; // the key the error message names
    std::function<void(TRuvasaLib &)> spoil;
    std::function<void(TRuvasaLib &, BrowserView &)> render;
};

class RenderErrors : public PagesTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(RenderErrors, NullWhereTextIsRequiredShowsThePrefixAndDoesNotNavigate) {
    const ErrorCase &c = GetParam();
    loadSampleCatalogue(lib);
    c.spoil(lib);
    c.render(lib, view);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
    const std::string text = boxes.shown[0].text.toStdString();
    EXPECT_TRUE(text.starts_with(c.prefix)) << text;
    EXPECT_NE(text.find(std::string("\"") + c.nullKey + "\""), std::string::npos) << text;
    EXPECT_TRUE(view.calls.empty());
}

const ErrorCase errorCases[] = {
    {"Login", "Error Exception #660 : ", "nama",
     [](TRuvasaLib &l) { setNull(l.FClientJson, "/data", "nama"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderLoginHtmlFile(v); }},
    {"Home", "Error Exception #798: ", "stok",
     [](TRuvasaLib &l) { setNull(l.FHomeContentJson, "/data/0/rows/1", "stok"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderHomeHtmlFile(v, 1); }},
    {"Section", "Error Exception #1006 ", "judul",
     [](TRuvasaLib &l) { setNull(l.FHomeDetailJson, "/data/0", "judul"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderHomeDetailHtmlFile(v, "S"); }},
    {"Category", "Error Exception #1270 : ", "nama_departemen",
     [](TRuvasaLib &l) { setNull(l.FCategoryJson, "/data_departemen/3", "nama_departemen"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderCategoryHtmlFile(v); }},
    {"DepartmentSwitch", "Error Exception #1187 : ", "nama_kategori",
     [](TRuvasaLib &l) { setNull(l.FCategoryJson, "/data_departemen/0/data_kategori/1", "nama_kategori"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderDept(v, "1"); }},
    {"CategoryBooks", "Error Exception #1465 ", "qty",
     [](TRuvasaLib &l) { setNull(l.FCategoryContentJson, "/data/0", "qty"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderCategoryContent(v, "K"); }},
    {"SubCategoryBooks", "Error Exception #1606 : ", "img",
     [](TRuvasaLib &l) { setNull(l.FSubCategoryContentJson, "/data/1", "img"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderSubCategoryContent(v, "K"); }},
    {"TopRead", "Error Exception #1951 : ", "judul",
     [](TRuvasaLib &l) { setNull(l.FChartContentJson, "/data/0", "judul"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderTopChart(v, 1); }},
    {"LastRead", "Error Exception #2289 : ", "stok",
     [](TRuvasaLib &l) { setNull(l.FChartContentJson, "/data/1", "stok"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderLastRead(v, 1); }},
    {"LastViewed", "Error Exception #2280: ", "sinopsis",
     [](TRuvasaLib &l) { setNull(l.FChartContentJson, "/data/0", "sinopsis"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderLastView(v, 1); }},
    {"Detail", "Error Exception #2764 : ", "sinopsis",
     [](TRuvasaLib &l) { setNull(l.FDetailContentJson, "/data", "sinopsis"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderDetailContent(v, "home"); }},
    {"TitleSearch", "Error Exception #3216 : ", "total_rows",
     [](TRuvasaLib &l) { setNull(l.FSearchContentJson, "", "total_rows"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderSearchResult(v, 1, "k", "Semua"); }},
    {"SentenceSearch", "Error Exception #3391 : ", "total_rows",
     [](TRuvasaLib &l) { setNull(l.FSearchContentJson, "", "total_rows"); },
     [](TRuvasaLib &l, BrowserView &v) { l.renderSearchKalimatResult(v, 1, "k"); }},
};

INSTANTIATE_TEST_SUITE_P(EachRenderMethod, RenderErrors, ::testing::ValuesIn(errorCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PagesTest, AFailedRenderKeepsWhatWasWrittenBeforeTheError) {
    loadSampleCatalogue(lib);
    setReply(lib.FDetailContentJson, R"({"data":{"id":"1","judul":"J","sinopsis":null}})");
    lib.renderDetailContent(view, "home");
    const std::string written = page(PageFiles::Detail);
    EXPECT_NE(
        written.find("<td class=\"col-sm-3\">Stok</td>\r\n<td class=\"col-sm-9\"><span>:</span> /</td>"),
        std::string::npos);
    EXPECT_TRUE(written.ends_with("<div class=\"desc-detail\">\r\n")) << written.substr(written.size() - 80);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(PagesTest, MissingDocumentsAndUnwritableFoldersAreReportedNotShown) {
    lib.renderLoginHtmlFile(view); // no client document at all
    loadSampleCatalogue(lib);
    setReply(lib.FDetailContentJson, R"({"code":"200","data":["not","an","object"]})");
    lib.renderDetailContent(view, "home");
    lib.FPath = folder.filePath("no/such/folder").toStdString();
    lib.renderCategoryHtmlFile(view);
    const auto texts = shownBoxes();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Error Exception #660 : No reply in FClientJson");
    EXPECT_EQ(texts[1], "Error Exception #2764 : Value \"data\" is not an object");
    EXPECT_TRUE(texts[2].starts_with("Error Exception #1270 : Cannot create file \"" + lib.FPath +
                                     "/category.html\""))
        << texts[2];
    EXPECT_TRUE(view.calls.empty());
}

} // namespace
