#include "devserver/Router.h"
#include "devserver/Routes.h"
#include "devserver/ServiceContext.h"

#include <fstream>
#include <httplib.h>
#include <sstream>

namespace devserver {

namespace {

namespace fs = std::filesystem;

std::string contentType(const fs::path &file) {
    const std::string ext = file.extension().string();
    if (ext == ".png")
        return "image/png";
    if (ext == ".jpg" || ext == ".jpeg")
        return "image/jpeg";
    if (ext == ".gif")
        return "image/gif";
    if (ext == ".bmp")
        return "image/bmp";
    if (ext == ".pdf")
        return "application/pdf";
    return "application/octet-stream";
}

// The route patterns admit plain file names only ("[A-Za-z0-9_-][A-Za-z0-9._-]*"), so a request
// can never leave its folder.
void serveFile(const fs::path &folder, const httplib::Request &req, httplib::Response &res) {
    const fs::path file = folder / std::string(req.matches[1]);
    std::ifstream in(file, std::ios::binary);
    if (!in || !fs::is_regular_file(file)) {
        res.status = 404;
        res.set_content("Not Found", "text/plain");
        return;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    res.set_content(bytes.str(), contentType(file));
}

} // namespace

void addStaticRoutes(Router &router, ServiceContext &ctx) {
    const std::string name = "([A-Za-z0-9_-][A-Za-z0-9._-]*)";
    for (const char *kind : {"cover", "logo", "banner", "photo"}) {
        const fs::path folder = ctx.publicDir / "prod" / "img" / kind;
        router.get(
            std::string("/prod/img/") + kind + "/" + name,
            [folder](const httplib::Request &req, httplib::Response &res) { serveFile(folder, req, res); });
    }
    const fs::path books = ctx.publicDir / "pc" / "rvs";
    router.get("/pc/rvs/" + name,
               [books](const httplib::Request &req, httplib::Response &res) { serveFile(books, req, res); });
}

} // namespace devserver
