#include "pages/CatalogueHeader.h"

#include "pages/AppCall.h"
#include "pages/JsonValues.h"
#include "web/HtmlText.h"

#include <array>
#include <utility>

namespace {

using FilterItems = std::array<std::pair<std::string_view, std::string_view>, 5>;

constexpr FilterItems homeFilterItems = {{{"#contains", "Penulis"},
                                          {"#its_equal", "Penerbit"},
                                          {"#greather_than", "ISBN"},
                                          {"#all", "Semua"},
                                          {"#less_than", "Kalimat"}}};
constexpr FilterItems listFilterItems = {{{"#semua", "Semua"},
                                          {"#contains", "Penulis"},
                                          {"#its_equal", "Penerbit"},
                                          {"#greather_than", "ISBN"},
                                          {"#less_than", "Kalimat"}}};

void brand(PageText &out, const JsonDocument &client, const std::string &serviceBase) {
    out.line("<div class=\"navbar-header\">");
    out.line("<a class=\"navbar-brand\" href=\"#\">");
    out.line("<img src=\"", serviceBase, "/prod/img/logo/", shownMember(client, "logo"),
             "\" alt=\"logo header\" class=\"img-responsive\">");
    out.line("</a>");
    out.line("</div>");
}

void keywordField(PageText &out, const HeaderOptions &options) {
    const bool list = options.form == HeaderForm::List;
    std::string field = "<input id=\"keyword\" type=\"text\" class=\"form-control\" name=\"";
    field += list ? "x" : "keyword";
    field += "\" placeholder=\"Cari...\"";
    if (options.keyword)
        appendAll(field, " value=\"", htmlEncode(*options.keyword), "\"");
    field += ">";
    out.line("<form id=\"submitSearch\">");
    out.line(field);
    out.line("</form>");
}

void searchArea(PageText &out, const HeaderOptions &options) {
    const bool list = options.form == HeaderForm::List;
    out.line("<div class=\"col-sm-6 col-md-6 col-sm-offset-1\">");
    out.line("<div class=\"row\">");
    out.line("<div class=\"col-sm-12 col-md-12input-group search-area\">");
    out.line("<span class=\"input-group-btn\">");
    out.line("<span class=\"icon-search\" type=\"button\" onClick=\"$('#submitSearch').submit();\">");
    out.line("<span class=\"glyphicon glyphicon-search\"></span>");
    out.line("</span>");
    out.line("</span>");
    if (list)
        out.line("<input type=\"hidden\" name=\"search_param\" value=\"all\" id=\"search_param\">");
    keywordField(out, options);
    out.line("<div class=\"search-panel\">");
    out.line("<button type=\"button\" class=\"btn btn-default btn-filter dropdown-toggle\" "
             "data-toggle=\"dropdown\">");
    out.line("<span id=\"search_concept\">", options.filterLabel, "</span> <span class=\"caret\"></span>");
    out.line("</button>");
    out.line("<ul class=\"dropdown-menu\" role=\"menu\">");
    for (const auto &[link, label] : list ? listFilterItems : homeFilterItems)
        out.line("<li><a href=\"", link, "\">", label, "</a></li>");
    out.line("</ul>");
    out.lines({"</div>", "</div>", "</div>", "</div>"});
}

void accountMenu(PageText &out, const HeaderOptions &options) {
    const std::string logout = appCall("logout") + (options.logoutWithSemicolon ? ";" : "");
    out.line("<ul class=\"nav navbar-nav navbar-right\">");
    out.line("<li class=\"dropdown login-wrap\">");
    out.line("<a href=\"\"><img src=\"img/user.png\" alt=\"avatar\" class=\"img-responsive\"></a>");
    out.line("<div class=\"dropdown-menu login-inner\">");
    out.line("<ul class=\"list-unstyled login-list\">");
    out.line("<li><a href=\"\" title=\"\" class=\"list-item\" onClick=\"", appCall("account"),
             "\">Pengaturan Akun</a></li>");
    out.line("<li role=\"separator\" class=\"divider\"></li>");
    out.line("<li><a href=\"\" title=\"\" class=\"list-item\" onClick=\"", logout, "\">Keluar</a></li>");
    out.line("</ul>");
    out.line("</div>");
    out.line("</li>");
    out.line("</ul>");
}

} // namespace

void catalogueHeader(PageText &out, const JsonDocument &client, const std::string &serviceBase,
                     const HeaderOptions &options) {
    out.line("<body>");
    out.line("<div id=\"overlay\"></div>");
    out.line("<header id=\"header\" class=\"navbar navbar-default navbar-fixed-top\">");
    out.line("<div class=\"container\">");
    brand(out, client, serviceBase);
    searchArea(out, options);
    accountMenu(out, options);
    out.line("</div>");
    out.line("</header>");
}

void headerScript(PageText &out) {
    out.lines({"$('#header .search-panel .dropdown-menu a').click(function(e){", "e.preventDefault();",
               "$('#search_concept').text($(this).text());",
               "$('#search_param').val($(this).attr('href').replace('#',''));", "});"});
    out.lines({"$('#header .dropdown').hover(function(){",
               "$(this).find('.login-inner').stop(true,true).fadeIn(200);",
               "$(this).toggleClass('open',true);", "$('#overlay').show();", "},function(){",
               "$(this).find('.login-inner').stop(true,true).fadeOut(200);",
               "$(this).toggleClass('open',false);", "$('#overlay').hide();", "});"});
    out.lines({"$('#submitSearch').on('submit',function(e){", "e.preventDefault();",
               "var keyword = $(\"#keyword\").val();", "var searchConcept = $(\"#search_concept\").text();",
               "app.searching(keyword,searchConcept);", "", "});"});
}
