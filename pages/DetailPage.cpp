// The detail page of one book, with a breadcrumb back to the list it was opened from.
#include "pages/AppCall.h"
#include "pages/AssetLinks.h"
#include "pages/Breadcrumb.h"
#include "pages/JsonValues.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "pages/PageHeads.h"
#include "pages/RenderGuard.h"
#include "pages/SafeMarkup.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

#include <array>
#include <utility>

namespace {

// The breadcrumb item between "Home" and the book, by the list the detail was opened from.
struct Origin {
    std::string_view name;
    std::string_view crumb;
};
constexpr std::array<Origin, 5> origins{{
    {"home", ""},
    {"homeSection",
     "<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.backToSection()\">Section</a></li>"},
    {"category",
     "<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.backToCategory()\">Kategori</a></li>"},
    {"chart", "<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.backToChart()\">History</a></li>"},
    {"search",
     "<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.backToSearch()\">Pencarian</a></li>"},
}};

void openingPiece(PageText &out, const JsonDocument &client) {
    const auto read = [&] { return shownMember(client, "warna_hover_baca"); };
    out.lines({"<!DOCTYPE html>", "<html lang=\"en\">", "", "<head>"});
    headMetas(out);
    out.line("<title>Detail Buku</title>");
    styleSheetLinks(out, AssetSet::Detail);
    out.lines({"</head>", "<style>"});
    out.line(".btn-baca{ background-color:", read(), "; border-color: ", read(), ";}");
    out.line(".btn-baca:hover{ opacity:0.5; background-color:", read(), "; border-color: ", read(), ";}");
    out.lines({"</style>", "<body>", "<div id=\"overlay\"></div>", "", "<div class=\"detail-book-wrapper\">",
               "<div class=\"container\">", "<div class=\"row\">", "<ol class=\"breadcrumb\">"});
}

void breadcrumbPiece(PageText &out, const JsonDocument &book, const std::string &origin) {
    for (const Origin &known : origins) {
        if (known.name != origin)
            continue;
        out.line(homeCrumbItem);
        if (!known.crumb.empty())
            out.line(known.crumb);
        out.line("<li class=\"breadcrumb-item active\">", shownMember(book, "judul"), "</li>");
    }
}

void fieldRow(PageText &out, std::string_view label, const std::string &value) {
    out.line("<tr>");
    out.line("<td class=\"col-sm-3\">", label, "</td>");
    out.line("<td class=\"col-sm-9\"><span>:</span> ", value, "</td>");
    out.line("</tr>");
}

void fieldsPiece(PageText &out, const JsonDocument &book) {
    fieldRow(out, "Judul", shownMember(book, "judul"));
    fieldRow(out, "Tahun Terbit", shownMember(book, "tahun_terbit"));
    fieldRow(out, "Penulis", shownMember(book, "penulis"));
    fieldRow(out, "Penerbit", shownMember(book, "penerbit"));
    fieldRow(out, "ISBN", shownMember(book, "isbn"));
    fieldRow(out, "Kategori", shownMember(book, "kategori"));
    fieldRow(out, "Stok", shownMember(book, "stok") + "/" + shownMember(book, "qty"));
    out.lines({"</tbody>", "</table>", "</div>", "</div>", "<div class=\"description\">", "<h3>Sinopsis</h3>",
               "<div class=\"desc-detail\">"});
}

void closingPiece(PageText &out, const JsonDocument &book) {
    out.lines({"</div>", "</div>", "</div>", "<div class=\"col-sm-3 border-left\">",
               "<div class=\"image-wrapper\">"});
    out.line("<img src=\"img/loading.jpg\" data-src=\"", shownMember(book, "cover_file"),
             "\" alt=\"book\" class=\"img-responsive center-block img-books lazyload\">");
    out.line("</div>");
    out.line("<button type=\"button\" class=\"btn btn-success btn-block btn-baca\" onClick=\"",
             appCall("baca", {textArg(textMember(book, "id"))}), "\">BACA</button>");
    out.lines({"</div>", "</div>", "</div>", "</div>"});
    scriptIncludes(out, AssetSet::Detail);
    out.lines({"</body>", "", "</html>"});
}

} // namespace

void TRuvasaLib::renderDetailContent(BrowserView &view, const std::string &origin, const JsonPtr &received) {
    renderGuarded(OnRenderError, "Error Exception #2764 : ", [&] {
        const JsonPtr clientReply = replyDocument(FClientJson, "FClientJson");
        const JsonPtr detail = replyDocument(received, FDetailContentJson, "FDetailContentJson");
        const JsonDocument &client = objectMember(*clientReply, "data");
        const JsonDocument &book = objectMember(*detail, "data");
        const std::string path = pagePath(FPath, PageFiles::Detail);
        PageFile file(path);
        file.piece([&](PageText &out) { openingPiece(out, client); });
        file.piece([&](PageText &out) { breadcrumbPiece(out, book, origin); });
        file.piece([](PageText &out) {
            out.lines({"</ol>", "</div>", "<div class=\"row\">", "<div class=\"col-sm-7 col-sm-offset-1\">",
                       "<h2 class=\"mb30\">Detail Buku</h2>", "<div class=\"row\">",
                       "<div class=\"col-sm-12\">", "<table class=\"table table-striped\">", "<tbody>"});
        });
        file.piece([&](PageText &out) { fieldsPiece(out, book); });
        file.piece([&](PageText &out) { out.line(safeMarkup(textMember(book, "sinopsis"))); });
        file.piece([&](PageText &out) { closingPiece(out, book); });
        file.close();
        view.navigate(pageUrl(path));
    });
}
