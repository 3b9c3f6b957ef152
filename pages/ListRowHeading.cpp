#include "pages/ListRowHeading.h"

#include "pages/AppCall.h"
#include "pages/JsonValues.h"

void listRowHeading(PageText &out, const JsonDocument &book, const std::string &serviceBase,
                    std::string_view detailFunction, const std::string &id) {
    out.lines({"<div class=\"row list-chart-row\">", "<div class=\"col-sm-12\">", "<div class=\"row\">",
               "<div class=\"col-sm-2\">"});
    out.line("<img src=\"img/loading.jpg\" data-src= \"", serviceBase, "/prod/img/cover/",
             shownMember(book, "img"), "\" alt=\"book\" class=\"img-responsive lazyload\">");
    out.lines({"</div>", "<div class=\"col-sm-8 middle-section\">", "<div class=\"describe-wrap\">"});
    out.line("<h3 class=\"title-books\"><a href=\"javascript:void(0);\" onClick=\"",
             appCall(detailFunction, {textArg(id)}), "\">", shownMember(book, "judul"), "</a></h3>");
}
