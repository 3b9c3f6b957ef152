// The category page with its department switch, and the category and sub-category book lists.
#include "pages/AppCall.h"
#include "pages/AssetLinks.h"
#include "pages/BookListPage.h"
#include "pages/Breadcrumb.h"
#include "pages/JsonValues.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "pages/PageHeads.h"
#include "pages/RenderGuard.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"
#include "web/HtmlText.h"

namespace {

// How the category boxes are written: in the page file, or as the fragment of the department switch.
struct BoxForm {
    std::string_view callEnd; // ";" after each call on the page, nothing in the fragment
};
constexpr BoxForm pageBoxes{";"};
constexpr BoxForm switchBoxes{""};

void openingPiece(PageText &out) {
    out.lines({"<!DOCTYPE html>", "<html lang=\"en\">", "", "<head>"});
    headMetas(out);
    out.line("<title>Kategori Buku</title>");
    styleSheetLinks(out, AssetSet::Category);
    out.lines({"<style>",
               ".category-box {",
               "padding: 20px;",
               "background-color: #fff;",
               "height: 340px;",
               "margin-bottom: 15px;",
               "overflow-y: scroll;",
               "}",
               "</style>",
               "</head>",
               "",
               "<body>",
               "<div id=\"overlay\"></div>",
               "",
               "<div class=\"kategori-wrapper\">",
               "<div class=\"container\">",
               "<div class=\"row\">",
               "<ol class=\"breadcrumb\">",
               homeCrumbItem,
               "<li class=\"breadcrumb-item active\">Kategori</li>",
               "</ol>",
               "</div>",
               "<div class=\"row top-area\">",
               "<div class=\"col-sm-12\">",
               "<ul class=\"list-unstyled\">",
               "<li><p>Jenis Konten</p></li>",
               "<li class=\"col-sm-3\">",
               "<div class=\"form-group\">",
               "<select class=\"select-category\" name=\"state\">"});
}

bool listedInSelectBox(const JsonDocument &department) {
    const std::string name = textMember(department, "nama_departemen");
    return numberMember(department, "total_kategori") >= 1 && name != "BUKU NON KOLEKSI" &&
           name != "RENCANA PENGADAAN";
}

void boxStart(PageText &out, const JsonDocument &category, const std::string &departmentId,
              const BoxForm &form) {
    const std::string name = textMember(category, "nama_kategori");
    out.lines({"<div class=\"col-sm-3\">", "<div class=\"category-box\">"});
    out.line("<h3><a href=\"javascript:void(0);\" onClick=\"",
             appCall("kategoriKonten", {textArg(textMember(category, "id_kategori")), textArg("1"),
                                        textArg(departmentId), textArg(name)}),
             form.callEnd, "\">", htmlEncode(name), "</a></h3>");
    out.line("<ul>");
}

void subCategoryItem(PageText &out, const JsonDocument &sub, const std::string &departmentId,
                     const BoxForm &form) {
    const std::string name = textMember(sub, "nama_sub_kategori");
    out.line("<li><a href=\"javascript:void(0);\" onClick=\"",
             appCall("subKategoriKonten", {textArg(textMember(sub, "id_sub_kategori")), textArg("1"),
                                           textArg(departmentId), textArg(name)}),
             form.callEnd, "\">", htmlEncode(name), "</a></li>");
}

void boxEnd(PageText &out) {
    out.lines({"</ul>", "</div>", "</div>"});
}

void closingPiece(PageText &out) {
    out.lines({"</div>", "</div>", "</div>"});
    scriptIncludes(out, AssetSet::Category);
    out.lines({"<script>", "$(document).ready(function() {",
               "$('.select-category').select2({ width: '100%' });", "});",
               "$(\".select-category\").change(function(){",
               "var id = $(\".select-category option:selected\").val();",
               "var text = $(\".select-category option:selected\").text();",
               "//var json = JSON.stringify({command:\"LOAD_DEPARTEMEN\",id:id,text:text});",
               "app.changeDept(id,text);", "});", "</script>", "</body>", "", "</html>"});
}

void writeCategoryPage(const std::string &path, const JsonDocument &departments) {
    PageFile file(path);
    file.piece(openingPiece);
    for (const JsonDocument &department : departments)
        if (listedInSelectBox(department))
            file.piece([&](PageText &out) {
                out.line("<option value=\"", shownMember(department, "id_departemen"), "\">",
                         shownMember(department, "nama_departemen"), "</option>");
                out.line();
            });
    file.piece([](PageText &out) {
        out.lines({"</select>", "</div>", "</li>", "</ul>", "</div>", "</div>",
                   "<div class=\"row\" id=\"categoryContainer\">"});
    });
    if (!departments.empty()) {
        const JsonDocument &first = departments.front();
        const std::string departmentId = textMember(first, "id_departemen");
        for (const JsonDocument &category : arrayMember(first, "data_kategori")) {
            file.piece([&](PageText &out) { boxStart(out, category, departmentId, pageBoxes); });
            for (const JsonDocument &sub : arrayMember(category, "data_sub_kategori"))
                file.piece([&](PageText &out) {
                    subCategoryItem(out, sub, departmentId, pageBoxes);
                    out.line();
                });
            file.piece(boxEnd);
        }
    }
    file.piece(closingPiece);
    file.close();
}

// The boxes of one department, joined without line breaks, for the script that swaps them in.
std::string departmentBoxes(const JsonDocument &department) {
    const std::string departmentId = textMember(department, "id_departemen");
    std::string fragment;
    const auto add = [&](const auto &fill) {
        PageText part(true);
        fill(part);
        fragment = std::string(trimmed(fragment + part.text));
    };
    for (const JsonDocument &category : arrayMember(department, "data_kategori")) {
        add([&](PageText &out) { boxStart(out, category, departmentId, switchBoxes); });
        for (const JsonDocument &sub : arrayMember(category, "data_sub_kategori"))
            add([&](PageText &out) { subCategoryItem(out, sub, departmentId, switchBoxes); });
        add(boxEnd);
    }
    return withoutCrLf(fragment);
}

} // namespace

void TRuvasaLib::renderCategoryHtmlFile(BrowserView &view) {
    renderGuarded(OnRenderError, "Error Exception #1270 : ", [&] {
        const JsonPtr reply = replyDocument(FCategoryJson, "FCategoryJson");
        const std::string path = pagePath(FPath, PageFiles::Category);
        writeCategoryPage(path, arrayMember(*reply, "data_departemen"));
        view.navigate(pageUrl(path));
    });
}

void TRuvasaLib::renderDept(BrowserView &view, const std::string &idDept) {
    renderGuarded(OnRenderError, "Error Exception #1187 : ", [&] {
        const JsonPtr reply = replyDocument(FCategoryJson, "FCategoryJson");
        const JsonDocument &departments = arrayMember(*reply, "data_departemen");
        if (departments.empty())
            return;
        std::string fragment;
        for (const JsonDocument &department : departments)
            if (textMember(department, "id_departemen") == idDept) {
                fragment = departmentBoxes(department);
                break;
            }
        view.runScript("$(\"#categoryContainer\").html('" + scriptStringBody(fragment) + "');");
    });
}

void TRuvasaLib::renderCategoryContent(BrowserView &view, const std::string &categoryName,
                                       const JsonPtr &received) {
    renderGuarded(OnRenderError, "Error Exception #1465 ", [&] {
        const JsonPtr reply = replyDocument(received, FCategoryContentJson, "FCategoryContentJson");
        const std::string path = pagePath(FPath, PageFiles::CategoryBooks);
        writeBookListPage(
            path, categoryName, arrayMember(*reply, "data"), serviceEndpoint().baseUrl,
            {"<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.backKategori()\">Kategori</a></li>",
             "detailFromCategory", true});
        view.navigate(pageUrl(path));
    });
}

void TRuvasaLib::renderSubCategoryContent(BrowserView &view, const std::string &categoryName,
                                          const JsonPtr &received) {
    renderGuarded(OnRenderError, "Error Exception #1606 : ", [&] {
        const JsonPtr reply = replyDocument(received, FSubCategoryContentJson, "FSubCategoryContentJson");
        const std::string path = pagePath(FPath, PageFiles::SubCategoryBooks);
        writeBookListPage(path, categoryName, arrayMember(*reply, "data"), serviceEndpoint().baseUrl,
                          {"<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.backKategori()\">Sub "
                           "Kategori</a></li>",
                           "detailFromCategory", true});
        view.navigate(pageUrl(path));
    });
}
