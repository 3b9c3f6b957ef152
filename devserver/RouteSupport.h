#pragma once
#include "devserver/Database.h"
#include "devserver/FormBody.h"
#include "devserver/Replies.h"
#include "devserver/Router.h"
#include "devserver/Sessions.h"

#include <cstdint>
#include <optional>
#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace devserver {

inline constexpr std::int64_t kPageSize = 10;

// The form body of a request; a malformed one is refused with "400".
std::optional<FormFields> requireForm(const httplib::Request &req, httplib::Response &res);
std::string fieldOf(const FormFields &form, const std::string &name);
// A whole number in [min, max] written in decimal digits only.
std::optional<std::int64_t> parseNumber(const std::string &text, std::int64_t min, std::int64_t max);

// Book rows as the lists show them: select `kBookCardColumns` from "books b", then `bookCards`.
inline constexpr const char *kBookCardColumns =
    "b.id, b.img, b.judul, b.penulis, b.penerbit, b.isbn, b.sinopsis, b.stok, b.qty, b.nilai_rate";
Json bookCards(const std::vector<SqlRow> &rows);

struct ServiceContext;

// A call that carries the full header set and a form body (POST) or none (GET): the session and the
// body are checked and refused before the handler runs.
using SessionHandler = void (*)(ServiceContext &, const Session &, const FormFields &,
                                const httplib::Request &, httplib::Response &);
RouteHandler sessionCall(ServiceContext &ctx, SessionHandler handler);

// Escapes a user's text for a LIKE pattern with ESCAPE '\'.
std::string likePattern(const std::string &text);

} // namespace devserver
