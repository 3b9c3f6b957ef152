#include "pages/BookListPage.h"

#include "pages/AssetLinks.h"
#include "pages/BookCard.h"
#include "pages/Breadcrumb.h"
#include "pages/PageFile.h"
#include "pages/PageHeads.h"
#include "pages/PageScripts.h"
#include "web/HtmlText.h"

namespace {

void openingPiece(PageText &out, const std::string &title, const BookListPage &page) {
    bookGridHead(out, "20px");
    out.lines({"#btnMore{ margin-bottom : 30px;}", "</style>", "</head>", "", "<body>",
               "<div id=\"overlay\"></div>", "", "<div class=\"section-wrapper\">",
               "<div class=\"container\">", "", "<div id=\"myBooks\">", "", "", "<div class=\"row\">",
               "<ol class=\"breadcrumb\">", homeCrumbItem});
    if (!page.middleCrumb.empty())
        out.line(page.middleCrumb);
    const std::string shownTitle = htmlEncode(title);
    out.line("<li class=\"breadcrumb-item active\">", shownTitle, "</li>");
    out.lines({"</ol>", "</div>", "<div class=\"row\">", "<div class=\"title-section-wrap\">"});
    out.line("<h2 class=\"title-section\">", shownTitle, "</h2>");
    out.lines({"</div>", "</div>", "<div class=\"row small-gutters multiple-items\">"});
}

void closingPiece(PageText &out, const BookListPage &page) {
    out.lines({"", "</div>", "", "", "</div>", "</div>", "</div>"});
    scriptIncludes(out, AssetSet::List, true);
    out.lines({"", "<script>"});
    listPageScript(out);
    out.lines({"</script>", "</body>", "", "</html>"});
    if (page.trailingEmptyLine)
        out.line();
}

} // namespace

void writeBookListPage(const std::string &path, const std::string &title, const JsonDocument &books,
                       const std::string &serviceBase, const BookListPage &page) {
    PageFile file(path);
    PageText opening;
    openingPiece(opening, title, page);
    file.write(opening.text);
    for (const JsonDocument &book : books) {
        PageText card;
        bookCard(card, book, serviceBase, {page.detailFunction});
        file.write(card.text);
    }
    PageText closing;
    closingPiece(closing, page);
    file.write(closing.text);
    file.close();
}
