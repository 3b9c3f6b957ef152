#include "pages/BookCard.h"

#include "pages/AppCall.h"
#include "pages/JsonValues.h"
#include "pages/RatingStars.h"

void bookCard(PageText &out, const JsonDocument &book, const std::string &serviceBase,
              const BookCardStyle &style) {
    const auto shown = [&](std::string_view key) { return shownMember(book, key); };
    out.line("<div class=\"col-md-2 col-sm-2 col-xs-12 list-item-wrap\">");
    out.line("<div class=\"list-item\">");
    out.line("<a href=\"javascript:void(0);\" onClick=\"",
             appCall(style.detailFunction, {textArg(textMember(book, "id_konten"))}), "\">");
    out.line("<img src=\"img/loading.jpg\" data-src=\"", serviceBase, "/prod/img/cover/", shown("img"),
             "\" alt=\"book\" class=\"img-responsive center-block img-books lazyload\">");
    out.line("<div class=\"describe-wrap\">");
    out.line("<h3 class=\"title-books\">", shown("judul"), "</h3>");
    out.line("<h4 class=\"author\">", shown("penulis"), "</h4>");
    out.line("<h4 class=\"author\">Stok : ", shown("stok"), "/", shown("qty"), "</h4>");
    out.line(ratingStars(textMember(book, "nilai_rate")));
    out.lines({"</div>", "</a>", "</div>", "</div>"});
}

void bookCards(PageText &out, const JsonDocument &books, const std::string &serviceBase,
               const BookCardStyle &style) {
    for (const JsonDocument &book : books)
        bookCard(out, book, serviceBase, style);
}
