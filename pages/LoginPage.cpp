// The login page, the first page the member sees.
#include "pages/AssetLinks.h"
#include "pages/JsonValues.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "pages/RenderGuard.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

namespace {

void loginForm(PageText &out) {
    out.line("<form id=\"login_form\"><div class=\"form-group\"><label for=\"email\">Email</label>");
    out.line("<input type=\"email\" name=\"email\" class=\"form-control\" id=\"email\" "
             "placeholder=\"Email\"></div>"
             "<div class=\"form-group\">");
    out.line("<label for=\"kata_sandi\">Kata Sandi</label><input type=\"password\" name=\"kata_sandi\" "
             "class=\"form-control\" id=\"kata_sandi\" placeholder=\"Kata Sandi\">");
    out.line("</div><a href=\"javascript:void(0);\" class=\"forgot-password pull-right mb15\" "
             "onClick=\"app.forgotPass()\">Lupa kata sandi?</a>");
}

void closingPiece(PageText &out) {
    out.line("<button class=\"btn btn-style btn-block mt10 mb30\" type=\"submit\">Login</button>");
    out.lines({"</form>", "</div>", "</div>", "</div>"});
    scriptIncludes(out, AssetSet::Login);
    out.lines({"<script>", "$('#login_form').on('submit',function(e){", "e.preventDefault();", "login();",
               "});", "", "function login(){", "var email = document.getElementsByName(\"email\")[0].value;",
               "var pass = document.getElementsByName(\"kata_sandi\")[0].value;",
               "app.executeLogin(email,pass)", "}", "</script>", "</body>", "</html>"});
}

} // namespace

void TRuvasaLib::renderLoginHtmlFile(BrowserView &view) {
    renderGuarded(OnRenderError, "Error Exception #660 : ", [&] {
        const JsonPtr clientReply = replyDocument(FClientJson, "FClientJson");
        const JsonDocument &client = objectMember(*clientReply, "data");
        const std::string &base = serviceEndpoint().baseUrl;
        const std::string path = pagePath(FPath, PageFiles::Login);
        PageFile file(path);
        const auto piece = [&](const auto &...parts) {
            PageText out;
            out.line(parts...);
            file.write(out.text);
        };
        piece("<!doctype html><html class=\"no-js\" lang=\"en\"><head><meta charset=\"utf-8\">");
        piece("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\"><meta name=\"viewport\" "
              "content=\"width=device-width, initial-scale=1\">");
        piece("<title>Please Login</title><link href=\"css/bootstrap.min.css\" rel=\"stylesheet\">");
        piece("<link href=\"css/style.css\" rel=\"stylesheet\">");
        piece("<style>.btn-style {color: #ffffff; background-color: ",
              shownMember(client, "warna_button_login"), ";}");
        piece(".btn-style:hover {color: #ffffff;background-color: ",
              shownMember(client, "warna_hover_button_login"), ";}");
        piece("a {color: ", shownMember(client, "warna_button_login"), "}");
        piece("</style></head><body><div class=\"container\"><div class=\"row\"><div class=\"col-md-4 "
              "col-xs-12 "
              "col-sm-4 col-md-offset-4 login-register-wrapper\">");
        piece("<img src=\"", base, "/prod/img/logo/", shownMember(client, "logo_login"),
              "\" alt=\"logo\" class=\"img-responsive center-block\">");
        piece("<h2 class=\"text-center\">", shownMember(client, "nama"),
              "</h2><p class=\"text-center mb30\">Belum punya akun? Daftar <a href=\"javascript:void(0);\" "
              "onClick=\"app.registerPage()\">di sini</a></p>");
        PageText rest;
        loginForm(rest);
        closingPiece(rest);
        file.write(rest.text);
        file.close();
        view.navigate(pageUrl(path));
    });
}
