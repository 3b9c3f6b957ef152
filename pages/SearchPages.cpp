// The result pages of a search: a grid of books, or the places in books' text where a sentence is.
#include "pages/AppCall.h"
#include "pages/AssetLinks.h"
#include "pages/BookCard.h"
#include "pages/Branding.h"
#include "pages/Breadcrumb.h"
#include "pages/CatalogueHeader.h"
#include "pages/JsonValues.h"
#include "pages/ListRowHeading.h"
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

// One link per page of ten results; the page shown is the active item without a call.
void pageRow(PageFile &file, const JsonDocument &results, int page, const std::string &keyword,
             std::string_view field) {
    const long long total = numberMember(results, "total_rows");
    const long long pages = total > 0 ? (total + 9) / 10 : 0;
    for (long long i = 1; i <= pages; ++i)
        file.piece([&](PageText &out) {
            const std::string number = std::to_string(i);
            if (i == page)
                out.line("<li class=\"active\"><a href=\"#\">", number, "</a></li>");
            else
                out.line("<li><a href=\"javascript:void(0);\" onClick=\"",
                         appCall("searchResult", {textArg(keyword), textArg(field), numberArg(i)}), "\">",
                         number, "</a></li>");
        });
}

void pagerOpening(PageText &out) {
    out.lines(
        {"</div>", "", "<div class=\"row\">", "<div class=\"text-center\">", "<ul class=\"pagination\">"});
}

void titleSearchOpening(PageText &out, const JsonDocument &client, const JsonDocument &results,
                        const std::string &base, const std::string &keyword) {
    out.lines({"<!DOCTYPE html>", "<html lang=\"en\">", "<head>"});
    headMetas(out);
    out.line("<title>Index</title>");
    styleSheetLinks(out, AssetSet::List);
    out.lines({"<style>", ".section-wrapper{", "", "margin-top:85px;", "}"});
    brandingRules(out, client);
    listRules(out);
    out.lines({"</style>", "</head>", ""});
    catalogueHeader(out, client, base, {HeaderForm::List, "Semua", &keyword});
    out.lines({"", "<div class=\"section-wrapper\">", "<div class=\"container\">", "", "<div id=\"myBooks\">",
               "", "", "<div class=\"row\">", "<ol class=\"breadcrumb\">"});
    out.line(homeCrumbItem);
    out.line("<li class=\"breadcrumb-item active\">Hasil Pencarian : ", htmlEncode(keyword),
             " ( Found : ", shownMember(results, "total_rows"), " Records )</li>");
    out.lines({"</ol>", "</div>", "<div class=\"row small-gutters multiple-items\" id=\"contents\">"});
}

void titleSearchClosing(PageText &out) {
    out.lines({"</ul>", "</div>", "</div>", "", "</div>", "</div>", "</div>"});
    scriptIncludes(out, AssetSet::List, true);
    out.lines({"", "<script>"});
    listPageScript(out);
    headerScript(out);
    out.lines({"</script>", "</body>", "", "</html>"});
}

void sentenceHit(PageText &out, const JsonDocument &hit, const std::string &base) {
    const std::string id = textMember(hit, "id");
    listRowHeading(out, hit, base, "detailFromSearch", id);
    out.line("<h4 class=\"author\">Halaman : ", shownMember(hit, "halaman"), "</h4>");
    out.line("<h4 class=\"author\">Isi Buku : </h4>");
    out.line("<span class=\"more\">");
    out.line(safeMarkup(textMember(hit, "hal_txt")));
    out.line("</span>");
    out.lines({"</div>", "</div>", "<div class=\"col-sm-2\">"});
    out.line("<button type=\"button\" class=\"btn btn-primary btn-block\" onClick=\"",
             appCall("bacaKalimat", {textArg(id), textArg(textMember(hit, "hal_idx"))}), "\">BACA</button>");
    out.lines({"</div>", "</div>", "</div>", "</div>"});
}

void sentenceSearchOpening(PageText &out, const JsonDocument &results, const std::string &keyword) {
    out.lines({"<div class=\"section-wrapper\">", "<div class=\"container\">", "<div class=\"row\">",
               "<ol class=\"breadcrumb\">"});
    out.line(homeCrumbItem);
    out.line("<li class=\"breadcrumb-item active\">Hasil Pencarian Kalimat : ", htmlEncode(keyword),
             " ( Found ", shownMember(results, "total_rows"), " Records)</li>");
    out.lines({"</ol>", "</div>", "<div class=\"row\">",
               "<div id=\"listChart\" class=\"col-sm-10 col-sm-offset-1 list-chart\">"});
}

void sentenceSearchClosing(PageText &out) {
    out.lines({"</div>", "</div>"});
    scriptIncludes(out, AssetSet::Catalogue, true);
    out.lines({"<script>", "$(document).ready(function() {", "});"});
    headerScript(out);
    out.lines({"</script>", "</body>", "", "</html>"});
}

} // namespace

void TRuvasaLib::renderSearchResult(BrowserView &view, int page, const std::string &keyword,
                                    const std::string &field, const JsonPtr &received) {
    renderGuarded(OnRenderError, "Error Exception #3216 : ", [&] {
        const JsonPtr clientReply = replyDocument(FClientJson, "FClientJson");
        const JsonPtr results = replyDocument(received, FSearchContentJson, "FSearchContentJson");
        const JsonDocument &client = objectMember(*clientReply, "data");
        const std::string &base = serviceEndpoint().baseUrl;
        const std::string path = pagePath(FPath, PageFiles::TitleSearch);
        PageFile file(path);
        file.piece([&](PageText &out) { titleSearchOpening(out, client, *results, base, keyword); });
        for (const JsonDocument &book : arrayMember(*results, "data"))
            file.piece([&](PageText &out) { bookCard(out, book, base, {"detailFromSearch"}); });
        file.piece(pagerOpening);
        pageRow(file, *results, page, keyword, field);
        file.piece(titleSearchClosing);
        file.close();
        view.navigate(pageUrl(path));
    });
}

void TRuvasaLib::renderSearchKalimatResult(BrowserView &view, int page, const std::string &keyword,
                                           const JsonPtr &received) {
    renderGuarded(OnRenderError, "Error Exception #3391 : ", [&] {
        const JsonPtr clientReply = replyDocument(FClientJson, "FClientJson");
        const JsonPtr results = replyDocument(received, FSearchContentJson, "FSearchContentJson");
        const JsonDocument &client = objectMember(*clientReply, "data");
        const std::string &base = serviceEndpoint().baseUrl;
        const std::string path = pagePath(FPath, PageFiles::SentenceSearch);
        PageFile file(path);
        file.piece([](PageText &out) { catalogueHead(out); });
        file.piece([&](PageText &out) {
            brandingRules(out, client);
            listRules(out);
            out.lines({"</style>", "</head>"});
        });
        file.piece([&](PageText &out) {
            catalogueHeader(out, client, base, {HeaderForm::List, "Kalimat", &keyword});
        });
        file.piece([&](PageText &out) { sentenceSearchOpening(out, *results, keyword); });
        for (const JsonDocument &hit : arrayMember(*results, "data"))
            file.piece([&](PageText &out) { sentenceHit(out, hit, base); });
        file.piece([](PageText &out) { out.line("<!--LAST-->"); });
        file.piece([](PageText &out) { out.lines({"</div>", "</div>"}); });
        file.piece(pagerOpening);
        pageRow(file, *results, page, keyword, "Kalimat");
        file.piece([](PageText &out) { out.lines({"</ul>", "</div>", "</div>"}); });
        file.piece(sentenceSearchClosing);
        file.close();
        view.navigate(pageUrl(path));
    });
}
