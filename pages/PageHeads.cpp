#include "pages/PageHeads.h"

#include "pages/AssetLinks.h"

void headMetas(PageText &out) {
    out.lines({"<meta charset=\"utf-8\">", "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">",
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"});
}

void catalogueHead(PageText &out) {
    out.lines({"<!DOCTYPE html>", "<html lang=\"en\">", "", "<head>"});
    headMetas(out);
    out.line("<title>Index</title>");
    styleSheetLinks(out, AssetSet::Catalogue);
    out.line("<style>");
}

void bookGridHead(PageText &out, std::string_view marginTop) {
    out.lines({"<!DOCTYPE html>", "<html lang=\"en\">", "<head>"});
    headMetas(out);
    out.line("<title>Index</title>");
    styleSheetLinks(out, AssetSet::List);
    out.lines({"<style>", ".section-wrapper{", ""});
    out.line("margin-top:", marginTop, ";");
    out.line("}");
}
