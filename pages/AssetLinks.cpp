#include "pages/AssetLinks.h"

namespace {

void styleSheet(PageText &out, std::string_view href) {
    out.line("<link href=\"", href, "\" rel=\"stylesheet\">");
}

void pluginStyleSheet(PageText &out, std::string_view href) {
    out.line("<link href=\"", href, "\" rel=\"stylesheet\" type=\"text/css\">");
}

void script(PageText &out, std::string_view src) {
    out.line("<script src=\"", src, "\"></script>");
}

} // namespace

void styleSheetLinks(PageText &out, AssetSet set) {
    styleSheet(out, "css/bootstrap.min.css");
    if (set == AssetSet::Catalogue || set == AssetSet::List) {
        pluginStyleSheet(out, "plugins/slick-slider/slick/slick-theme.css");
        pluginStyleSheet(out, "plugins/slick-slider/slick/slick.css");
        pluginStyleSheet(out, "plugins/bootstrap-star-rating/css/star-rating.css");
    }
    if (set == AssetSet::Category)
        out.line("<link rel=\"stylesheet\" href=\"css/select2.min.css\">");
    styleSheet(out, "css/style.css");
}

void scriptIncludes(PageText &out, AssetSet set, bool commented) {
    if (commented)
        out.line("<!-- jQuery (necessary for Bootstrap's JavaScript plugins) -->");
    script(out, "js/jquery.js");
    if (commented)
        out.line("<!-- Include all compiled plugins (below), or include individual files as needed -->");
    script(out, "js/bootstrap.min.js");
    if (set == AssetSet::Login)
        return;
    script(out, "js/lazyload.min.js");
    script(out, "plugins/slick-slider/slick/slick.min.js");
    script(out, "plugins/bootstrap-star-rating/js/star-rating.js");
    if (set == AssetSet::Category)
        script(out, "js/select2.min.js");
    if (set != AssetSet::List)
        script(out, "js/main.js");
}
