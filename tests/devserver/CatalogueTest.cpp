// Banners, menu, home sections, category lists, charts, book detail and both searches.
#include "ServiceHarness.h"

#include "devserver/SampleContent.h"

#include <gtest/gtest.h>
#include <set>

using namespace devserver;
using namespace devserver::testing;

namespace {

class DevServerCatalogue : public ::testing::Test {
protected:
    void SetUp() override {
        const SampleMember &m = sampleMembers().at(0);
        session = client.login(m.username, m.password, "CA7A1061");
        ASSERT_FALSE(session.empty());
    }
    Reply post(const std::string &path, const Fields &fields) {
        return client.postForm(path, fields, session);
    }

    ServiceClient client{sharedService()};
    httplib::Headers session;
};

void expectBookCards(const Json &rows) {
    ASSERT_TRUE(rows.is_array());
    for (const Json &book : rows)
        for (const char *key : {"id_konten", "img", "judul", "penulis", "stok", "qty", "nilai_rate"})
            EXPECT_TRUE(book.contains(key)) << key << " in " << book.dump();
}

std::vector<std::string> ids(const Json &rows, const char *key = "id_konten") {
    std::vector<std::string> out;
    for (const Json &row : rows)
        out.push_back(row[key].get<std::string>());
    return out;
}

} // namespace

TEST_F(DevServerCatalogue, BannersIncludeLinksAHashAndNoLink) {
    Reply reply = client.get("/api/wl/listBanner", session);
    ASSERT_EQ(reply.code(), "200");
    std::set<std::string> kinds;
    for (const Json &banner : reply.json["data"]) {
        EXPECT_NE(client.get("/prod/img/banner/" + banner["img"].get<std::string>()).status, 404);
        const Json &link = banner["url_link"];
        kinds.insert(link.is_null() ? "null" : link == "#" ? "#" : "link");
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"null", "#", "link"}));
}

TEST_F(DevServerCatalogue, MenuListsDepartmentsWithCategoriesAtTopLevel) {
    Reply reply = client.get("/api/wl/menu", session);
    ASSERT_EQ(reply.code(), "200");
    const Json &depts = reply.json["data_departemen"];
    ASSERT_TRUE(depts.is_array());
    std::set<std::string> names;
    bool emptyDepartment = false, subCategories = false;
    for (const Json &d : depts) {
        names.insert(d["nama_departemen"].get<std::string>());
        EXPECT_EQ(d["total_kategori"].get<std::size_t>(), d["data_kategori"].size());
        emptyDepartment |= d["data_kategori"].empty();
        for (const Json &c : d["data_kategori"])
            subCategories |= !c["data_sub_kategori"].empty();
    }
    EXPECT_TRUE(names.count("BUKU NON KOLEKSI"));
    EXPECT_TRUE(names.count("JURNAL"));
    EXPECT_TRUE(emptyDepartment);
    EXPECT_TRUE(subCategories);
}

TEST_F(DevServerCatalogue, HomeSectionsArePagedWithCountAndTotal) {
    Reply first = post("/api/wl/listHomepage", {{"page", "1"}, {"limit", "10"}});
    Reply second = post("/api/wl/listHomepage", {{"page", "2"}, {"limit", "10"}});
    Reply beyond = post("/api/wl/listHomepage", {{"page", "9"}, {"limit", "10"}});
    ASSERT_EQ(first.code(), "200");
    const int count = first.json["count"].get<int>();
    EXPECT_GE(count, 12);
    EXPECT_EQ(first.json["total"].get<int>(), 10);
    EXPECT_EQ(second.json["total"].get<int>(), count - 10);
    EXPECT_EQ(second.json["data"].size(), static_cast<std::size_t>(count - 10));
    EXPECT_EQ(beyond.json["total"].get<int>(), 0);
    std::set<std::string> sectionIds;
    for (const Reply *r : {&first, &second})
        for (const Json &s : r->json["data"]) {
            sectionIds.insert(s["id"].get<std::string>());
            EXPECT_FALSE(s["judul_section"].get<std::string>().empty());
            expectBookCards(s["rows"]);
        }
    EXPECT_EQ(sectionIds.size(), static_cast<std::size_t>(count));

    const Json &section = first.json["data"][0];
    Reply detail = post("/api/wl/listHomepageDetail", {{"id_homepage", section["id"]}, {"page", "1"}});
    ASSERT_EQ(detail.code(), "200");
    expectBookCards(detail.json["data"]);
    EXPECT_EQ(ids(detail.json["data"]), ids(section["rows"]));
    EXPECT_NE(post("/api/wl/listHomepageDetail", {{"id_homepage", "404404"}, {"page", "1"}}).code(), "200");
}

TEST_F(DevServerCatalogue, CategoryAndSubCategoryListsHoldTheirBooks) {
    Json depts = client.get("/api/wl/menu", session).json["data_departemen"];
    const Json &dept = depts[0];
    const Json &category = dept["data_kategori"][0];
    const Json &sub = category["data_sub_kategori"][0];

    Reply byCategory = post("/api/wl/listContentCategory",
                            {{"id_dept", dept["id_departemen"]}, {"id_kategori", category["id_kategori"]}});
    Reply bySub = post("/api/wl/listContentSubCategory",
                       {{"id_dept", dept["id_departemen"]}, {"id_sub_kategori", sub["id_sub_kategori"]}});
    ASSERT_EQ(byCategory.code(), "200");
    ASSERT_EQ(bySub.code(), "200");
    expectBookCards(byCategory.json["data"]);
    EXPECT_FALSE(bySub.json["data"].empty());
    // Every book of a sub-category is also a book of its category.
    const auto all = ids(byCategory.json["data"]);
    for (const std::string &id : ids(bySub.json["data"]))
        EXPECT_NE(std::find(all.begin(), all.end(), id), all.end()) << id;

    EXPECT_NE(
        post("/api/wl/listContentCategory", {{"id_dept", "2"}, {"id_kategori", category["id_kategori"]}})
            .code(),
        "200");
    EXPECT_NE(
        post("/api/wl/listContentSubCategory", {{"id_dept", dept["id_departemen"]}, {"id_sub_kategori", "x"}})
            .code(),
        "200");
}

TEST_F(DevServerCatalogue, DetailCarriesEveryFieldAndCountsAsAView) {
    Reply reply = post("/api/wl/detailKonten", {{"id_konten", kBookLong}});
    ASSERT_EQ(reply.code(), "200");
    const Json &d = reply.json["data"];
    for (const char *key : {"id", "kode", "judul", "tahun_terbit", "penulis", "penerbit", "isbn", "kategori",
                            "dept", "sinopsis", "nama_pc_file", "mla_style", "chicago_style",
                            "turabian_style", "apa_style", "harvard_style", "ieee_style"})
        EXPECT_TRUE(d.contains(key)) << key;
    EXPECT_EQ(d["id"], kBookLong);
    EXPECT_GE(d["halaman_total"].get<int>(), 400);
    EXPECT_GT(d["halaman_romawi"].get<int>(), 0);
    EXPECT_EQ(d["cover_file"].get<std::string>(),
              sharedService().base() + "/prod/img/cover/" + d["img"].get<std::string>());

    Reply viewed = post("/api/wl/listLastView", {{"page", "1"}});
    ASSERT_EQ(viewed.code(), "200");
    ASSERT_FALSE(viewed.json["data"].empty());
    EXPECT_EQ(viewed.json["data"][0]["id_konten"], kBookLong);
    EXPECT_EQ(viewed.json["total"].get<std::size_t>(), viewed.json["data"].size());

    Reply missing = post("/api/wl/detailKonten", {{"id_konten", "999999"}});
    EXPECT_NE(missing.code(), "200");
    EXPECT_FALSE(missing.msg().empty());
}

// Synopses and citations are HTML: the titles, authors and publishers in them are encoded.
TEST_F(DevServerCatalogue, MarkupFieldsCarryTheirTextsEncoded) {
    struct Case {
        const char *id;
        const char *title;
        const char *author;
    };
    const Case cases[] = {
        {"1003", "Belajar &lt;HTML&gt; &amp; CSS untuk Pemula", "Dimas Pratama"},
        {"1004", "Kisah &quot;Si Kancil&quot; yang Cerdik", "Nyoman Sudarsana"},
        {"1005", "Jejak D'Artagnan di Nusantara", "Maria O'Hara"},
    };
    for (const Case &c : cases) {
        const Json d = post("/api/wl/detailKonten", {{"id_konten", c.id}}).json["data"];
        const std::string synopsis = d["sinopsis"].get<std::string>();
        const std::string mla = d["mla_style"].get<std::string>();
        EXPECT_NE(synopsis.find(std::string("<b>") + c.title + "</b>"), std::string::npos) << synopsis;
        EXPECT_NE(mla.find(std::string(c.author) + ". <i>" + c.title + "</i>"), std::string::npos) << mla;
        for (const std::string &html : {synopsis, mla})
            EXPECT_EQ(html.find("<HTML>"), std::string::npos) << html;
    }
}

TEST_F(DevServerCatalogue, CitationsAreNotAvailableForOneBook) {
    const Json d = post("/api/wl/detailKonten", {{"id_konten", kBookWithoutCitations}}).json["data"];
    EXPECT_EQ(d["mla_style"], "N/A");
    EXPECT_EQ(d["ieee_style"], "N/A");
    EXPECT_EQ(post("/api/wl/detailKonten", {{"id_konten", "1031"}}).json["data"]["dept"], "JURNAL");
}

TEST_F(DevServerCatalogue, ChartsArePagedTenAtATimeAndEndWithTotalZero) {
    for (const char *path : {"/api/wl/listTopRead", "/api/wl/listLastRead", "/api/wl/listLastView"}) {
        Reply first = post(path, {{"page", "1"}});
        ASSERT_EQ(first.code(), "200") << path;
        EXPECT_LE(first.json["data"].size(), 10u);
        EXPECT_EQ(first.json["total"].get<std::size_t>(), first.json["data"].size()) << path;
        expectBookCards(first.json["data"]);
        EXPECT_EQ(post(path, {{"page", "50"}}).json["total"].get<int>(), 0) << path;
        EXPECT_NE(post(path, {{"page", "abc"}}).code(), "200");
    }
    Reply top = post("/api/wl/listTopRead", {{"page", "1"}});
    Reply next = post("/api/wl/listTopRead", {{"page", "2"}});
    EXPECT_EQ(top.json["total"].get<int>(), 10);
    for (const std::string &id : ids(next.json["data"])) {
        const auto firstPage = ids(top.json["data"]);
        EXPECT_EQ(std::find(firstPage.begin(), firstPage.end(), id), firstPage.end()) << id;
    }
}

TEST_F(DevServerCatalogue, SearchByFieldMatchesOnlyThatField) {
    struct Case {
        std::string field, keyword;
        int expected; // -1: at least one
    };
    const Case cases[] = {
        {"Semua", "Jurnal", -1},
        {"Penulis", "Rudi Hartono", 3},
        {"Penerbit", "Rasa Dunia", 4},
        {"ISBN", "978-602-10000-0", 1},
        {"Penulis", "Jurnal", 0},
        {"Semua", "Café", 1},
        {"Semua", "%", 0},
        {"Semua", "_", 0},
        {"Semua", "'; DROP TABLE books; --", 0},
    };
    for (const Case &c : cases) {
        Reply reply = post("/api/wl/searching", {{"page", "1"}, {"keyword", c.keyword}, {"field", c.field}});
        ASSERT_EQ(reply.code(), "200") << c.field << " " << c.keyword;
        const int total = reply.json["total_rows"].get<int>();
        if (c.expected < 0)
            EXPECT_GT(total, 0) << c.keyword;
        else
            EXPECT_EQ(total, c.expected) << c.field << " " << c.keyword;
        expectBookCards(reply.json["data"]);
    }
    EXPECT_NE(post("/api/wl/searching", {{"page", "1"}, {"keyword", "a"}, {"field", "Judul"}}).code(), "200");
    EXPECT_NE(post("/api/wl/searching", {{"page", "1"}, {"keyword", ""}, {"field", "Semua"}}).code(), "200");
    EXPECT_EQ(client.get("/api/wl/menu", session).code(), "200"); // the store is still whole
}

TEST_F(DevServerCatalogue, SearchPagesTenResultsWithTheTotalOfAll) {
    Reply first = post("/api/wl/searching", {{"page", "1"}, {"keyword", "a"}, {"field", "Semua"}});
    Reply second = post("/api/wl/searching", {{"page", "2"}, {"keyword", "a"}, {"field", "Semua"}});
    const int total = first.json["total_rows"].get<int>();
    ASSERT_GT(total, 10);
    EXPECT_EQ(first.json["data"].size(), 10u);
    EXPECT_EQ(second.json["total_rows"].get<int>(), total);
    EXPECT_EQ(second.json["data"].size(), static_cast<std::size_t>(std::min(10, total - 10)));
}

TEST_F(DevServerCatalogue, SentenceSearchFindsEachPageOnceWithLabelAndHighlight) {
    Reply reply = post("/api/wl/searchingKalimat", {{"page", "1"}, {"keyword", "KUNANG-kunang"}});
    ASSERT_EQ(reply.code(), "200");
    EXPECT_EQ(reply.json["total_rows"].get<std::size_t>(), samplePhrasePlacements().size());
    std::set<std::pair<std::string, int>> found;
    for (const Json &hit : reply.json["data"]) {
        found.insert({hit["id"].get<std::string>(), hit["hal_idx"].get<int>()});
        EXPECT_NE(hit["hal_txt"].get<std::string>().find(">kunang-kunang</span>"), std::string::npos);
        EXPECT_FALSE(hit["judul"].get<std::string>().empty());
    }
    for (const PhrasePlacement &p : samplePhrasePlacements())
        EXPECT_TRUE(found.count({p.bookId, p.pageIndex})) << p.bookId << " " << p.pageIndex;
    // Page labels follow the Roman-numbered front matter of each book.
    for (const Json &hit : reply.json["data"]) {
        if (hit["id"] == kBookLong && hit["hal_idx"] == 40) {
            EXPECT_EQ(hit["halaman"], "29");
        } else if (hit["id"] == "1001" && hit["hal_idx"] == 2) {
            EXPECT_EQ(hit["halaman"], "III");
        }
    }

    Reply paged = post("/api/wl/searchingKalimat", {{"page", "1"}, {"keyword", "perpustakaan desa"}});
    ASSERT_GT(paged.json["total_rows"].get<int>(), 10);
    EXPECT_EQ(paged.json["data"].size(), 10u);
    EXPECT_NE(post("/api/wl/searchingKalimat", {{"page", "1"}, {"keyword", "ab"}}).code(), "200");
    EXPECT_EQ(post("/api/wl/searchingKalimat", {{"page", "1"}, {"keyword", "100%_\\"}}).json["total_rows"],
              0);
}
