#include "devserver/RouteSupport.h"

#include "devserver/ServiceContext.h"

#include <httplib.h>

namespace devserver {

std::optional<FormFields> requireForm(const httplib::Request &req, httplib::Response &res) {
    auto form = parseForm(req.body);
    if (!form)
        sendRefusal(res, "400", "Format permintaan tidak valid");
    return form;
}

RouteHandler sessionCall(ServiceContext &ctx, SessionHandler handler) {
    return [&ctx, handler](const httplib::Request &req, httplib::Response &res) {
        auto session = requireSession(ctx.db, req, res);
        if (!session)
            return;
        auto form = req.method == "POST" ? requireForm(req, res) : std::optional<FormFields>(FormFields{});
        if (form)
            handler(ctx, *session, *form, req, res);
    };
}

std::string fieldOf(const FormFields &form, const std::string &name) {
    auto it = form.find(name);
    return it == form.end() ? std::string() : it->second;
}

std::optional<std::int64_t> parseNumber(const std::string &text, std::int64_t min, std::int64_t max) {
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

Json bookCards(const std::vector<SqlRow> &rows) {
    Json cards = Json::array();
    for (const SqlRow &row : rows)
        cards.push_back({{"id_konten", row.text(0)},
                         {"img", row.text(1)},
                         {"judul", row.text(2)},
                         {"penulis", row.text(3)},
                         {"penerbit", row.text(4)},
                         {"isbn", row.text(5)},
                         {"sinopsis", row.text(6)},
                         {"stok", row.integer(7)},
                         {"qty", row.integer(8)},
                         {"nilai_rate", row.text(9)}});
    return cards;
}

std::string likePattern(const std::string &text) {
    std::string out = "%";
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "%";
}

} // namespace devserver
