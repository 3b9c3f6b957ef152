// The top-read, last-read and last-viewed lists: one layout in "topChart.html", grown page by page.
#include "pages/AppCall.h"
#include "pages/AssetLinks.h"
#include "pages/Branding.h"
#include "pages/Breadcrumb.h"
#include "pages/CatalogueHeader.h"
#include "pages/JsonValues.h"
#include "pages/ListRowHeading.h"
#include "pages/MarkerAppend.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "pages/PageHeads.h"
#include "pages/RatingStars.h"
#include "pages/RenderGuard.h"
#include "pages/SafeMarkup.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"
#include "web/HtmlText.h"

namespace {

constexpr std::string_view chartMarker = "<!--LAST-->";

// What sets the three lists apart.
struct ChartList {
    std::string_view errorPrefix;
    std::string_view title;        // the active breadcrumb item
    bool topRead;                  // rating stars, read-button and "Selebihnya" colours
    std::string_view moreFunction; // the `app` function of "Selebihnya", also the rewrite token
    bool logoutWithSemicolon;
};

constexpr ChartList topReadList{"Error Exception #1951 : ", "Banyak Dibaca", true, "loadMoreChart", false};
constexpr ChartList lastReadList{"Error Exception #2289 : ", "Terakhir Dibaca", false, "loadMoreLastRead",
                                 false};
constexpr ChartList lastViewList{"Error Exception #2280: ", "Terakhir Dilihat", false, "loadMoreLastView",
                                 true};

// The form of a row: the first page's, or the compact one of the appended rows.
struct RowForm {
    bool brandedReadButton;
};

void stylePiece(PageText &out, const JsonDocument &client, const ChartList &list) {
    brandingRules(out, client);
    listRules(out);
    if (list.topRead) {
        const auto read = [&] { return shownMember(client, "warna_hover_baca"); };
        out.line(".btn-baca{background-color:", read(), ";}");
        out.line(".btn-baca:hover{ opacity:0.5; background-color:", read(), ";}");
        moreButtonRules(out, client);
    }
    out.lines({"</style>", "</head>"});
}

void breadcrumbPiece(PageText &out, const ChartList &list) {
    out.lines({"<div class=\"section-wrapper\">", "<div class=\"container\">", "<div class=\"row\">",
               "<ol class=\"breadcrumb\">", homeCrumbItem});
    out.line("<li class=\"breadcrumb-item active\">", list.title, "</li>");
    out.lines({"</ol>", "</div>", "<div class=\"row\">",
               "<div id=\"listChart\" class=\"col-sm-10 col-sm-offset-1 list-chart\">"});
}

void chartRow(PageText &out, const JsonDocument &book, const std::string &base, const ChartList &list,
              const RowForm &form) {
    const std::string id = textMember(book, "id_konten");
    const auto shown = [&](std::string_view key) { return shownMember(book, key); };
    listRowHeading(out, book, base, "detailFromChart", id);
    out.line("<h4 class=\"author\">", shown("penulis"), "</h4>");
    out.line("<h4 class=\"author\">", shown("penerbit"), "</h4>");
    out.line("<h4 class=\"author\">", shown("isbn"), "</h4>");
    if (list.topRead)
        out.line(ratingStars(textMember(book, "nilai_rate"), true));
    out.line("<span class=\"more\">");
    out.line(safeMarkup(textMember(book, "sinopsis")));
    out.line("</span>");
    out.lines({"</div>", "</div>", "<div class=\"col-sm-2\">"});
    out.line("<p class=\"txt16\"><span>Stok</span>: ", shown("stok"), "/", shown("qty"), "</p>");
    out.line("<button type=\"button\" class=\"btn btn-primary btn-block",
             form.brandedReadButton ? " btn-baca" : "", "\" onClick=\"",
             appCall("bacaSection", {textArg(id)}), "\">BACA</button>");
    out.lines({"</div>", "</div>", "</div>", "</div>"});
}

std::string moreButton(const ChartList &list, int nextPage, bool branded) {
    std::string button = "<a href=\"javascript:void(0);\" id=\"loadMore\" class=\"btn btn-primary btn-block";
    appendAll(button, branded ? " btn-more" : "", "\" onClick=\"",
              appCall(list.moreFunction, {numberArg(nextPage)}), "\">Selebihnya</a>");
    return button;
}

void closingPiece(PageText &out, const ChartList &list, int page) {
    out.lines({"</div>", "</div>", "<div class=\"row\" id=\"btnMore\">",
               "<div class=\"col-sm-4 col-sm-offset-4 mt30\">"});
    out.line(moreButton(list, page + 1, list.topRead));
    out.lines({"</div>", "</div>", "</div>", "</div>"});
    scriptIncludes(out, AssetSet::Catalogue, true);
    out.lines({"<script>", "$(document).ready(function() {", "});"});
    headerScript(out);
    out.lines({"</script>", "</body>", "", "</html>", ""});
}

void writeFirstPage(const std::string &path, const TRuvasaLib &lib, const JsonDocument &chart,
                    const ChartList &list) {
    const JsonPtr clientReply = replyDocument(lib.FClientJson, "FClientJson");
    const JsonDocument &client = objectMember(*clientReply, "data");
    const std::string &base = lib.serviceEndpoint().baseUrl;
    PageFile file(path);
    file.piece([](PageText &out) { catalogueHead(out); });
    file.piece([&](PageText &out) { stylePiece(out, client, list); });
    file.piece([&](PageText &out) {
        catalogueHeader(out, client, base, {HeaderForm::List, "Semua", nullptr, list.logoutWithSemicolon});
    });
    file.piece([&](PageText &out) { breadcrumbPiece(out, list); });
    for (const JsonDocument &book : arrayMember(chart, "data"))
        file.piece([&](PageText &out) { chartRow(out, book, base, list, {list.topRead}); });
    file.piece([](PageText &out) { out.line(chartMarker); });
    file.piece([&](PageText &out) { closingPiece(out, list, 1); });
    file.close();
}

void appendFurtherPage(const std::string &path, const TRuvasaLib &lib, const JsonDocument &chart,
                       const ChartList &list, int page) {
    const std::string &base = lib.serviceEndpoint().baseUrl;
    std::string fragment;
    for (const JsonDocument &book : arrayMember(chart, "data")) {
        PageText row(true);
        chartRow(row, book, base, list, {false});
        fragment = std::string(trimmed(fragment + row.text));
    }
    appendAtMarker(path, fragment,
                   {chartMarker, "app." + std::string(list.moreFunction), moreButton(list, page + 1, false)});
}

void renderChart(TRuvasaLib &lib, BrowserView &view, int page, const ChartList &list,
                 const JsonPtr &received) {
    renderGuarded(lib.OnRenderError, list.errorPrefix, [&] {
        const JsonPtr chart = replyDocument(received, lib.FChartContentJson, "FChartContentJson");
        const std::string path = pagePath(lib.FPath, PageFiles::Chart);
        if (page == 1) {
            writeFirstPage(path, lib, *chart, list);
            view.navigate(pageUrl(path));
        } else if (numberMember(*chart, "total") == 0) {
            view.runScript("$(\"#btnMore\").hide()");
        } else {
            appendFurtherPage(path, lib, *chart, list, page);
            view.reload();
            view.runScript("$(\"#btnMore\").show()");
        }
    });
}

} // namespace

void TRuvasaLib::renderTopChart(BrowserView &view, int page, const JsonPtr &received) {
    renderChart(*this, view, page, topReadList, received);
}

void TRuvasaLib::renderLastRead(BrowserView &view, int page, const JsonPtr &received) {
    renderChart(*this, view, page, lastReadList, received);
}

void TRuvasaLib::renderLastView(BrowserView &view, int page, const JsonPtr &received) {
    renderChart(*this, view, page, lastViewList, received);
}
