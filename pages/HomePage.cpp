// The home page: banners, tabs and home sections, grown page by page at its marker.
#include "pages/AppCall.h"
#include "pages/AssetLinks.h"
#include "pages/BookCard.h"
#include "pages/Branding.h"
#include "pages/CatalogueHeader.h"
#include "pages/FirstRun.h"
#include "pages/JsonValues.h"
#include "pages/MarkerAppend.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "pages/PageHeads.h"
#include "pages/PageScripts.h"
#include "pages/RenderGuard.h"
#include "pages/SafeMarkup.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"
#include "web/HtmlText.h"

namespace {

constexpr std::string_view homeMarker = "<!--KONTEN-->";
constexpr BookCardStyle homeCard{"detail"};

void stylePiece(PageText &out, const JsonDocument &client) {
    brandingRules(out, client);
    moreButtonRules(out, client);
    cssRule(out, {".category-list .nav-tabs>li:hover"},
            {"background-color: " + shownMember(client, "warna_hover_button_login") + ";"});
    out.lines({"</style>", "</head>"});
}

void banner(PageText &out, const JsonDocument &item, const std::string &base) {
    std::string onClick;
    if (!isNullOrMissing(item, "url_link")) {
        const std::string link = textMember(item, "url_link");
        if (link != "#" && !link.empty())
            onClick = " onClick=\"" + appCall("openBanner", {textArg(link)}) + "\"";
    }
    out.line("<div><img src=\"img/loading-banner.jpg\" data-src=\"", base, "/prod/img/banner/",
             shownMember(item, "img"), "\" alt=\"banner\" class=\"img-responsive lazyload\"", onClick,
             "></div>");
}

void tabsPiece(PageText &out) {
    out.lines({"</div>", "</div>", "</div>", "<div class=\"row\">", "<div class=\"col-sm-12 category-list\">",
               "<ul class=\"nav nav-tabs nav-justified\">",
               "<li onClick=\"app.topChart()\"><a href=\"#\">Banyak Dibaca</a></li>",
               "<li onClick=\"app.lastRead()\"><a href=\"#\">Terakhir Dibaca</a></li>",
               "<li onClick=\"app.lastView()\"><a href=\"#\">Terakhir Dilihat</a></li>",
               "<li onClick=\"app.loadKategori()\"><a href=\"#\">Kategori</a></li>", "</ul>", "</div>",
               "</div>", "<div id=\"myBooks\">"});
}

// One home section: its heading with the "Lihat Semua" link, then its books as cards.
void homeSection(PageText &out, const JsonDocument &section) {
    const std::string title = textMember(section, "judul_section");
    out.lines({"<div class=\"col-sm-12 section-item\">", "<div class=\"row\">",
               "<div class=\"title-section-wrap\">"});
    out.line("<h2 class=\"title-section\">", htmlEncode(title), "</h2>");
    out.line("<a href=\"javascript:void(0);\" class=\"link-see-all\" onClick=\"",
             appCall("homeDetail", {textArg(textMember(section, "id")), textArg(title)}),
             "\">Lihat Semua &raquo;</a>");
    out.lines({"</div>", "</div>", "<div class=\"row small-gutters multiple-items\">"});
}

void moreButtonPiece(PageText &out) {
    out.lines({"</div>", "<div class=\"row\" id=\"btnMore\">",
               "<div class=\"col-sm-4 col-sm-offset-4 mt30\">",
               "<a href=\"javascript:void(0);\" id=\"loadMore\" class=\"btn btn-primary btn-block btn-more\" "
               "onClick=\"app.loadMore()\">Selebihnya</a>",
               "</div>", "</div>", "</div>", "</div>"});
}

void introDialog(PageText &out, const JsonDocument &client) {
    out.line("<div id=\"myModal\" class=\"modal fade\">");
    out.line(
        "<div class=\"modal-dialog\"><div class=\"modal-content\"><div class=\"modal-header\"><button "
        "type=\"button\" class=\"close\" data-dismiss=\"modal\" aria-hidden=\"true\">&times;</button></div>"
        "<div class=\"modal-body\">");
    out.line("<img src=\"", shownMember(client, "foto_intro"),
             "\" alt=\"profile\" class=\"img-responsive img-circle\" style=\"margin-bottom:15px; "
             "margin-right:15px; "
             "float:left; width:180px;\">");
    out.line(safeMarkup(textMember(client, "keterangan_intro")));
    out.lines({"</div>", "</div>", "</div>", "</div>"});
}

void scriptsPiece(PageText &out) {
    scriptIncludes(out, AssetSet::Catalogue, true);
    out.line("<script>");
    homePageScript(out);
    out.line("$(document).ready(readyFunctionScript(", std::to_string(FirstRun), "));");
    headerScript(out);
    out.lines({"</script>", "</body>", "", "</html>"});
}

// Writes "index.html" anew with the first page of sections.
void writeHomePage(const std::string &path, const TRuvasaLib &lib) {
    const JsonPtr clientReply = replyDocument(lib.FClientJson, "FClientJson");
    const JsonPtr banners = replyDocument(lib.FBannerJson, "FBannerJson");
    const JsonPtr sections = replyDocument(lib.FHomeContentJson, "FHomeContentJson");
    const JsonDocument &client = objectMember(*clientReply, "data");
    const std::string &base = lib.serviceEndpoint().baseUrl;
    PageFile file(path);
    file.piece([](PageText &out) { catalogueHead(out); });
    file.piece([&](PageText &out) { stylePiece(out, client); });
    file.piece([&](PageText &out) {
        catalogueHeader(out, client, base, {HeaderForm::Home});
        out.lines({"<div class=\"section-wrapper\">", "<div class=\"container\">", "<div class=\"row\">",
                   "<div class=\"col-sm-12\">", "<div class=\"banner\">"});
    });
    for (const JsonDocument &item : arrayMember(*banners, "data"))
        file.piece([&](PageText &out) { banner(out, item, base); });
    file.piece(tabsPiece);
    for (const JsonDocument &section : arrayMember(*sections, "data")) {
        file.piece([&](PageText &out) { homeSection(out, section); });
        for (const JsonDocument &book : arrayMember(section, "rows"))
            file.piece([&](PageText &out) { bookCard(out, book, base, homeCard); });
        file.piece([](PageText &out) { out.lines({"</div>", "</div>"}); });
    }
    file.piece([](PageText &out) { out.line(homeMarker); });
    file.piece(moreButtonPiece);
    if (!isNullOrMissing(client, "keterangan_intro"))
        file.piece([&](PageText &out) { introDialog(out, client); });
    file.piece(scriptsPiece);
    file.close();
}

// The sections of the current reply in compact form, ready to go in front of the marker.
std::string sectionsFragment(const TRuvasaLib &lib) {
    const JsonPtr sections = replyDocument(lib.FHomeContentJson, "FHomeContentJson");
    const std::string &base = lib.serviceEndpoint().baseUrl;
    PageText fragment(true);
    for (const JsonDocument &section : arrayMember(*sections, "data")) {
        homeSection(fragment, section);
        for (const JsonDocument &book : arrayMember(section, "rows"))
            bookCard(fragment, book, base, homeCard);
        fragment.lines({"</div>", "</div>"});
    }
    return withoutCrLf(trimmed(fragment.text));
}

} // namespace

void TRuvasaLib::renderHomeHtmlFile(BrowserView &view, int page) {
    renderGuarded(OnRenderError, "Error Exception #798: ", [&] {
        const std::string path = pagePath(FPath, PageFiles::Home);
        if (page != 1) {
            appendAtMarker(path, sectionsFragment(*this),
                           {homeMarker, "$(document).ready(readyFunctionScript(1))",
                            "$(document).ready(readyFunctionScript(2));\r\n"});
            view.reload();
            return;
        }
        writeHomePage(path, *this);
        if (FirstRun == 1)
            FirstRun = 2;
        view.navigate(pageUrl(path));
    });
}
