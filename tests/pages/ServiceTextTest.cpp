// Service texts holding markup, "&" and both quote kinds, on every page kind: each place shows the
// text encoded, no tag from the service reaches the page, and the calls hand over the original text.
#include "PagesFixture.h"
#include "pages/FirstRun.h"
#include "pages/PageFiles.h"

#include <QJSEngine>

#include <functional>

namespace {

const std::string marked = "Buku <svc-tag class=\"x\">&amp; 'satu'</svc-tag> & \"dua\" C:\\";
// The same text as a page must show it: every "&", "<", ">" and double quote as its entity.
const std::string shown =
    "Buku &lt;svc-tag class=&quot;x&quot;&gt;&amp;amp; 'satu'&lt;/svc-tag&gt; &amp; &quot;dua&quot; C:\\";
const QString markedText = QString::fromStdString(marked);

int occurrences(const std::string &text, const std::string &part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Sets `keys` of `object` to the marked text.
void mark(JsonDocument &object, std::initializer_list<const char *> keys) {
    for (const char *key : keys)
        object[key] = marked;
}

void store(ReplyField &field, const JsonDocument &document) {
    field.store(std::make_shared<const JsonDocument>(document));
}

const char *bookKeys[] = {"judul", "penulis", "penerbit", "isbn"};

JsonDocument markedBooks() {
    JsonDocument reply = JsonDocument::parse(R"({"code":"200","total":1,"data":[{"id_konten":"5"}]})");
    for (const char *key : bookKeys)
        reply["data"][0][key] = marked;
    return reply;
}

struct PageKind {
    const char *name;
    // Puts the marked text into the replies and renders; answers the text to look at.
    std::function<std::string()> render;
    int shownPlaces;   // how often the page shows the marked text
    QStringList calls; // calls the page must make with the original text
};

TEST_F(PagesTest, ServiceTextIsShownEncodedAndHandedOverUnchangedOnEveryPageKind) {
    const std::vector<PageKind> kinds = {
        {"login",
         [&] {
             JsonDocument client = JsonDocument::parse(R"({"code":"200","data":{}})");
             mark(client["data"], {"nama"});
             store(lib.FClientJson, client);
             lib.renderLoginHtmlFile(view);
             return page(PageFiles::Login);
         },
         1,
         {}},
        {"home with its header",
         [&] {
             JsonDocument client = JsonDocument::parse(R"({"code":"200","data":{}})");
             mark(client["data"], {"logo"});
             store(lib.FClientJson, client);
             JsonDocument sections =
                 JsonDocument::parse(R"({"data":[{"id":"7","rows":[{"id_konten":"5"}]}]})");
             mark(sections["data"][0], {"judul_section"});
             mark(sections["data"][0]["rows"][0], {"judul", "penulis"});
             store(lib.FHomeContentJson, sections);
             FirstRun = 2;
             lib.renderHomeHtmlFile(view, 1);
             return page(PageFiles::Home);
         },
         4,
         {"homeDetail|7|" + markedText}},
        {"home, a further page",
         [&] {
             lib.renderHomeHtmlFile(view, 1);
             JsonDocument sections =
                 JsonDocument::parse(R"({"data":[{"id":"8","rows":[{"id_konten":"6"}]}]})");
             mark(sections["data"][0], {"judul_section"});
             mark(sections["data"][0]["rows"][0], {"judul", "penulis"});
             store(lib.FHomeContentJson, sections);
             lib.renderHomeHtmlFile(view, 2);
             return page(PageFiles::Home);
         },
         3,
         {"homeDetail|8|" + markedText}},
        {"section",
         [&] {
             store(lib.FHomeDetailJson, markedBooks());
             lib.renderHomeDetailHtmlFile(view, marked);
             return page(PageFiles::Section);
         },
         4,
         {}},
        {"category",
         [&] {
             JsonDocument categories = JsonDocument::parse(R"({"data_departemen":[{"id_departemen":"1",
                 "total_kategori":1,"data_kategori":[{"id_kategori":"11","data_sub_kategori":[
                 {"id_sub_kategori":"111"}]}]}]})");
             auto &department = categories["data_departemen"][0];
             mark(department, {"nama_departemen"});
             mark(department["data_kategori"][0], {"nama_kategori"});
             mark(department["data_kategori"][0]["data_sub_kategori"][0], {"nama_sub_kategori"});
             store(lib.FCategoryJson, categories);
             lib.renderCategoryHtmlFile(view);
             return page(PageFiles::Category);
         },
         3,
         {"kategoriKonten|11|1|1|" + markedText, "subKategoriKonten|111|1|1|" + markedText}},
        {"department switch",
         [&] {
             JsonDocument categories = JsonDocument::parse(R"({"data_departemen":[{"id_departemen":"1",
                 "data_kategori":[{"id_kategori":"11","data_sub_kategori":[{"id_sub_kategori":"111"}]}]}]})");
             auto &department = categories["data_departemen"][0];
             mark(department["data_kategori"][0], {"nama_kategori"});
             mark(department["data_kategori"][0]["data_sub_kategori"][0], {"nama_sub_kategori"});
             store(lib.FCategoryJson, categories);
             lib.renderDept(view, "1");
             // The boxes as the script hands them to the page.
             QJSEngine engine;
             engine.evaluate(
                 "var inserted = ''; function $() { return { html: function(h) { inserted = h; } }; }");
             engine.evaluate(QString::fromStdString(view.calls.back().substr(7)));
             return engine.evaluate("inserted").toString().toStdString();
         },
         2,
         {"kategoriKonten|11|1|1|" + markedText, "subKategoriKonten|111|1|1|" + markedText}},
        {"category book list",
         [&] {
             store(lib.FCategoryContentJson, markedBooks());
             lib.renderCategoryContent(view, marked);
             return page(PageFiles::CategoryBooks);
         },
         4,
         {}},
        {"sub-category book list",
         [&] {
             store(lib.FSubCategoryContentJson, markedBooks());
             lib.renderSubCategoryContent(view, marked);
             return page(PageFiles::SubCategoryBooks);
         },
         4,
         {}},
        {"top-read list",
         [&] {
             store(lib.FChartContentJson, markedBooks());
             lib.renderTopChart(view, 1);
             return page(PageFiles::Chart);
         },
         4,
         {}},
        {"last-read list",
         [&] {
             store(lib.FChartContentJson, markedBooks());
             lib.renderLastRead(view, 1);
             return page(PageFiles::Chart);
         },
         4,
         {}},
        {"last-viewed list, a further page",
         [&] {
             lib.renderLastView(view, 1);
             store(lib.FChartContentJson, markedBooks());
             lib.renderLastView(view, 2);
             return page(PageFiles::Chart);
         },
         4,
         {}},
        {"detail",
         [&] {
             JsonDocument detail = JsonDocument::parse(R"({"code":"200","data":{"id":"9"}})");
             mark(detail["data"], {"judul", "tahun_terbit", "penulis", "penerbit", "isbn", "kategori"});
             store(lib.FDetailContentJson, detail);
             lib.renderDetailContent(view, "search");
             return page(PageFiles::Detail);
         },
         7,
         {"baca|9"}},
        {"title search results",
         [&] {
             JsonDocument results = markedBooks();
             results["total_rows"] = 12;
             store(lib.FSearchContentJson, results);
             lib.renderSearchResult(view, 2, marked, "Penulis");
             return page(PageFiles::TitleSearch);
         },
         4, // title, author, the keyword field and the breadcrumb
         {"searchResult|" + markedText + "|Penulis|1"}},
        {"sentence search results",
         [&] {
             JsonDocument hits =
                 JsonDocument::parse(R"({"total_rows":12,"data":[{"id":"5","hal_idx":"3"}]})");
             mark(hits["data"][0], {"judul", "halaman"});
             store(lib.FSearchContentJson, hits);
             lib.renderSearchKalimatResult(view, 1, marked);
             return page(PageFiles::SentenceSearch);
         },
         4, // title, page label, the keyword field and the breadcrumb
         {"searchResult|" + markedText + "|Kalimat|2", "bacaKalimat|5|3"}},
    };
    for (const PageKind &kind : kinds) {
        SCOPED_TRACE(kind.name);
        SetUp();
        loadSampleCatalogue(lib);
        const std::string html = kind.render();
        EXPECT_TRUE(shownBoxes().empty()) << shownBoxes().front();
        EXPECT_EQ(occurrences(html, shown), kind.shownPlaces);
        EXPECT_EQ(html.find("<svc-tag"), std::string::npos);
        EXPECT_EQ(html.find("\"dua\""), std::string::npos);
        const QStringList calls = appCallsOf(html);
        for (const QString &call : kind.calls)
            EXPECT_TRUE(calls.contains(call)) << call.toStdString() << "\n" << calls.join("\n").toStdString();
    }
}

} // namespace
