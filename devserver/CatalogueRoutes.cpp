#include "devserver/Database.h"
#include "devserver/RouteSupport.h"
#include "devserver/Router.h"
#include "devserver/Routes.h"
#include "devserver/SentenceSearch.h"
#include "devserver/ServiceContext.h"
#include "devserver/Sessions.h"

#include <httplib.h>

namespace devserver {

namespace {

std::optional<std::int64_t> requirePage(const FormFields &form, httplib::Response &res) {
    auto page = parseNumber(fieldOf(form, "page"), 1, 100000);
    if (!page)
        sendRefusal(res, "400", "Halaman tidak valid");
    return page;
}

void sendList(httplib::Response &res, const char *countKey, Json rows) {
    Json body = reply("200", "OK");
    body[countKey] = rows.size();
    body["data"] = std::move(rows);
    send(res, body);
}

void banners(ServiceContext &ctx, const Session &, const FormFields &, const httplib::Request &,
             httplib::Response &res) {
    Json rows = Json::array();
    for (const SqlRow &row : ctx.db.query("SELECT id, img, url_link FROM banners ORDER BY position"))
        rows.push_back({{"id", row.text(0)},
                        {"img", row.text(1)},
                        {"url_link", row.isNull(2) ? Json(nullptr) : Json(row.text(2))}});
    Json body = reply("200", "OK");
    body["data"] = rows;
    send(res, body);
}

void menu(ServiceContext &ctx, const Session &, const FormFields &, const httplib::Request &,
          httplib::Response &res) {
    Json departments = Json::array();
    for (const SqlRow &dept : ctx.db.query("SELECT id_departemen, nama FROM departments ORDER BY position")) {
        Json categories = Json::array();
        for (const SqlRow &cat :
             ctx.db.query("SELECT id_kategori, nama FROM categories WHERE id_departemen = ? "
                          "ORDER BY position",
                          {dept.text(0)})) {
            Json subs = Json::array();
            for (const SqlRow &sub : ctx.db.query("SELECT id_sub_kategori, nama FROM sub_categories "
                                                  "WHERE id_kategori = ? ORDER BY position",
                                                  {cat.text(0)}))
                subs.push_back({{"id_sub_kategori", sub.text(0)}, {"nama_sub_kategori", sub.text(1)}});
            categories.push_back(
                {{"id_kategori", cat.text(0)}, {"nama_kategori", cat.text(1)}, {"data_sub_kategori", subs}});
        }
        departments.push_back({{"id_departemen", dept.text(0)},
                               {"nama_departemen", dept.text(1)},
                               {"total_kategori", categories.size()},
                               {"data_kategori", categories}});
    }
    Json body = reply("200", "OK");
    body["data_departemen"] = departments;
    send(res, body);
}

Json sectionBooks(Database &db, const std::string &sectionId, std::int64_t limit, std::int64_t offset) {
    return bookCards(
        db.query(std::string("SELECT ") + kBookCardColumns +
                     " FROM section_books s JOIN books b ON b.id = s.book_id WHERE s.section_id = ? "
                     "ORDER BY s.position LIMIT ? OFFSET ?",
                 {sectionId, limit, offset}));
}

void home(ServiceContext &ctx, const Session &, const FormFields &form, const httplib::Request &,
          httplib::Response &res) {
    auto page = requirePage(form, res);
    if (!page)
        return;
    auto limit = parseNumber(fieldOf(form, "limit"), 1, 50);
    if (!limit) {
        sendRefusal(res, "400", "Batas tidak valid");
        return;
    }
    Json sections = Json::array();
    for (const SqlRow &s :
         ctx.db.query("SELECT id, judul_section FROM sections ORDER BY position LIMIT ? OFFSET ?",
                      {*limit, (*page - 1) * *limit}))
        sections.push_back({{"id", s.text(0)},
                            {"judul_section", s.text(1)},
                            {"rows", sectionBooks(ctx.db, s.text(0), 12, 0)}});
    Json body = reply("200", "OK");
    body["count"] = ctx.db.queryOne("SELECT COUNT(*) FROM sections")->integer(0);
    body["total"] = sections.size();
    body["data"] = sections;
    send(res, body);
}

void homeDetail(ServiceContext &ctx, const Session &, const FormFields &form, const httplib::Request &,
                httplib::Response &res) {
    const std::string id = fieldOf(form, "id_homepage");
    auto page = requirePage(form, res);
    if (!page)
        return;
    if (!ctx.db.queryOne("SELECT 1 FROM sections WHERE id = ?", {id})) {
        sendRefusal(res, "404", "Section tidak ditemukan");
        return;
    }
    sendList(res, "total", sectionBooks(ctx.db, id, 40, (*page - 1) * 40));
}

void categoryContent(ServiceContext &ctx, const Session &, const FormFields &form, const httplib::Request &,
                     httplib::Response &res) {
    const std::string dept = fieldOf(form, "id_dept"), category = fieldOf(form, "id_kategori");
    if (!ctx.db.queryOne("SELECT 1 FROM categories WHERE id_kategori = ? AND id_departemen = ?",
                         {category, dept})) {
        sendRefusal(res, "404", "Kategori tidak ditemukan");
        return;
    }
    sendList(res, "total",
             bookCards(ctx.db.query(std::string("SELECT ") + kBookCardColumns +
                                        " FROM books b WHERE b.id_kategori = ? ORDER BY b.judul",
                                    {category})));
}

void subCategoryContent(ServiceContext &ctx, const Session &, const FormFields &form,
                        const httplib::Request &, httplib::Response &res) {
    const std::string dept = fieldOf(form, "id_dept"), sub = fieldOf(form, "id_sub_kategori");
    if (!ctx.db.queryOne("SELECT 1 FROM sub_categories s JOIN categories c ON c.id_kategori = s.id_kategori "
                         "WHERE s.id_sub_kategori = ? AND c.id_departemen = ?",
                         {sub, dept})) {
        sendRefusal(res, "404", "Sub kategori tidak ditemukan");
        return;
    }
    sendList(res, "total",
             bookCards(ctx.db.query(std::string("SELECT ") + kBookCardColumns +
                                        " FROM books b WHERE b.id_sub_kategori = ? ORDER BY b.judul",
                                    {sub})));
}

// One page of a chart: `ranking` selects (book_id, sort key) rows, best first.
void chart(ServiceContext &ctx, const FormFields &form, httplib::Response &res, const std::string &ranking,
           const std::vector<SqlValue> &params) {
    auto page = requirePage(form, res);
    if (!page)
        return;
    std::vector<SqlValue> all = params;
    all.push_back(kPageSize);
    all.push_back((*page - 1) * kPageSize);
    sendList(
        res, "total",
        bookCards(ctx.db.query(std::string("SELECT ") + kBookCardColumns + " FROM (" + ranking +
                                   " LIMIT ? OFFSET ?) r JOIN books b ON b.id = r.book_id ORDER BY r.rank",
                               all)));
}

void topRead(ServiceContext &ctx, const Session &, const FormFields &form, const httplib::Request &,
             httplib::Response &res) {
    chart(ctx, form, res,
          "SELECT book_id, ROW_NUMBER() OVER (ORDER BY COUNT(*) DESC, book_id) AS rank FROM loans "
          "GROUP BY book_id ORDER BY rank",
          {});
}

void lastRead(ServiceContext &ctx, const Session &session, const FormFields &form, const httplib::Request &,
              httplib::Response &res) {
    chart(ctx, form, res,
          "SELECT book_id, ROW_NUMBER() OVER (ORDER BY MAX(started) DESC, MAX(id_baca) DESC) AS rank FROM "
          "loans "
          "WHERE id_user = ? GROUP BY book_id ORDER BY rank",
          {session.userId});
}

void lastView(ServiceContext &ctx, const Session &session, const FormFields &form, const httplib::Request &,
              httplib::Response &res) {
    chart(ctx, form, res,
          "SELECT book_id, ROW_NUMBER() OVER (ORDER BY MAX(viewed) DESC, MAX(id) DESC) AS rank FROM views "
          "WHERE id_user = ? GROUP BY book_id ORDER BY rank",
          {session.userId});
}

void detail(ServiceContext &ctx, const Session &session, const FormFields &form, const httplib::Request &req,
            httplib::Response &res) {
    auto b = ctx.db.queryOne("SELECT b.id, b.kode, b.judul, b.tahun_terbit, b.penulis, b.penerbit, b.isbn, "
                             "c.nama, d.nama, b.stok, "
                             "b.qty, b.sinopsis, b.img, b.nama_pc_file, b.halaman_romawi, b.halaman_total, "
                             "b.nilai_rate, b.mla_style, "
                             "b.chicago_style, b.turabian_style, b.apa_style, b.harvard_style, b.ieee_style "
                             "FROM books b JOIN categories c ON c.id_kategori = b.id_kategori "
                             "JOIN departments d ON d.id_departemen = c.id_departemen WHERE b.id = ?",
                             {fieldOf(form, "id_konten")});
    if (!b) {
        sendRefusal(res, "404", "Buku tidak ditemukan");
        return;
    }
    ctx.db.run("INSERT INTO views (id_user, book_id) VALUES (?, ?)", {session.userId, b->text(0)});
    Json body = reply("200", "OK");
    body["data"] = {{"id", b->text(0)},
                    {"kode", b->text(1)},
                    {"judul", b->text(2)},
                    {"tahun_terbit", b->text(3)},
                    {"penulis", b->text(4)},
                    {"penerbit", b->text(5)},
                    {"isbn", b->text(6)},
                    {"kategori", b->text(7)},
                    {"dept", b->text(8)},
                    {"stok", b->integer(9)},
                    {"qty", b->integer(10)},
                    {"sinopsis", b->text(11)},
                    {"img", b->text(12)},
                    {"cover_file", ctx.baseUrl(req) + "/prod/img/cover/" + b->text(12)},
                    {"nama_pc_file", b->text(13)},
                    {"halaman_romawi", b->integer(14)},
                    {"halaman_total", b->integer(15)},
                    {"nilai_rate", b->text(16)},
                    {"mla_style", b->text(17)},
                    {"chicago_style", b->text(18)},
                    {"turabian_style", b->text(19)},
                    {"apa_style", b->text(20)},
                    {"harvard_style", b->text(21)},
                    {"ieee_style", b->text(22)}};
    send(res, body);
}

void search(ServiceContext &ctx, const Session &, const FormFields &form, const httplib::Request &,
            httplib::Response &res) {
    auto page = requirePage(form, res);
    if (!page)
        return;
    const std::string keyword = fieldOf(form, "keyword"), field = fieldOf(form, "field");
    if (keyword.empty()) {
        sendRefusal(res, "400", "Kata Kunci Pencarian Wajib Diisi");
        return;
    }
    std::string where;
    if (field == "Semua")
        where =
            "b.judul LIKE ?1 ESCAPE '\\' OR b.penulis LIKE ?1 ESCAPE '\\' OR b.penerbit LIKE ?1 ESCAPE '\\' "
            "OR b.isbn LIKE ?1 ESCAPE '\\'";
    else if (field == "Penulis")
        where = "b.penulis LIKE ?1 ESCAPE '\\'";
    else if (field == "Penerbit")
        where = "b.penerbit LIKE ?1 ESCAPE '\\'";
    else if (field == "ISBN")
        where = "b.isbn LIKE ?1 ESCAPE '\\'";
    else {
        sendRefusal(res, "400", "Kolom pencarian tidak dikenal");
        return;
    }
    const std::string pattern = likePattern(keyword);
    Json body = reply("200", "OK");
    body["total_rows"] =
        ctx.db.queryOne("SELECT COUNT(*) FROM books b WHERE " + where, {pattern})->integer(0);
    body["data"] = bookCards(ctx.db.query(std::string("SELECT ") + kBookCardColumns + " FROM books b WHERE " +
                                              where + " ORDER BY b.judul, b.id LIMIT ?2 OFFSET ?3",
                                          {pattern, kPageSize, (*page - 1) * kPageSize}));
    send(res, body);
}

void sentenceSearch(ServiceContext &ctx, const Session &, const FormFields &form, const httplib::Request &,
                    httplib::Response &res) {
    auto page = requirePage(form, res);
    if (!page)
        return;
    const std::string keyword = fieldOf(form, "keyword");
    if (keyword.size() < 3) {
        sendRefusal(res, "400", "Minimal masukkan 3-huruf");
        return;
    }
    const SentenceHits hits = searchSentences(ctx.db, keyword, *page, kPageSize);
    Json body = reply("200", "OK");
    body["total_rows"] = hits.total;
    body["data"] = hits.rows;
    send(res, body);
}

} // namespace

void addCatalogueRoutes(Router &router, ServiceContext &ctx) {
    router.get("/api/wl/listBanner", sessionCall(ctx, banners));
    router.get("/api/wl/menu", sessionCall(ctx, menu));
    router.post("/api/wl/listHomepage", sessionCall(ctx, home));
    router.post("/api/wl/listHomepageDetail", sessionCall(ctx, homeDetail));
    router.post("/api/wl/listContentCategory", sessionCall(ctx, categoryContent));
    router.post("/api/wl/listContentSubCategory", sessionCall(ctx, subCategoryContent));
    router.post("/api/wl/listTopRead", sessionCall(ctx, topRead));
    router.post("/api/wl/listLastRead", sessionCall(ctx, lastRead));
    router.post("/api/wl/listLastView", sessionCall(ctx, lastView));
    router.post("/api/wl/detailKonten", sessionCall(ctx, detail));
    router.post("/api/wl/searching", sessionCall(ctx, search));
    router.post("/api/wl/searchingKalimat", sessionCall(ctx, sentenceSearch));
}

} // namespace devserver
