#include "pages/PageScripts.h"

namespace {

void starsAndLazyLoader(PageText &out) {
    out.lines({"$('.rating-detail').rating({glyphicon: false, ratingClass: 'rating-fa', size: 'xs', step: 1, "
               "showClear: false, showCaption: false, readOnly: true});",
               "var lazyLoader = new LazyLoad();"});
}

void backToTopAndUpdate(PageText &out) {
    out.lines({"$('a[href=\"#top\"]').click(function() {", "$('html, body').animate({scrollTop: 0}, 600);",
               "return false;", "});", "$(window).scroll(function() {", "if ($(this).scrollTop() > 50) {",
               "$('.totop a').fadeIn();", "} else {", "$('.totop a').fadeOut();", "}", "});",
               "lazyLoader.update();"});
}

} // namespace

void listPageScript(PageText &out) {
    out.line("function readyFunctionScript() {");
    starsAndLazyLoader(out);
    backToTopAndUpdate(out);
    out.line("}");
    out.line("$(document).ready(readyFunctionScript);");
}

void homePageScript(PageText &out) {
    out.lines(
        {"function readyFunctionScript(X) {", "if (X == 1) {", "$(\"#myModal\").modal(\"show\");", "}"});
    starsAndLazyLoader(out);
    out.lines(
        {"var carouselOptions = {lazyLoad: 'ondemand', infinite: true, slidesToShow: 6, slidesToScroll: 6};",
         "$(document).ready(function() {", "$('.section-item').slice(0, 2).show();",
         "$('#loadMore').on('click', function(e) {", "e.preventDefault();",
         "$('.section-item:hidden').slice(0, 2).slideDown();", "if ($('.section-item:hidden').length == 0) {",
         "$('#load').fadeOut('slow');", "}",
         "$('html, body').animate({scrollTop: $(this).offset().top}, 1500);", "});", "});"});
    backToTopAndUpdate(out);
    out.line("}");
}
