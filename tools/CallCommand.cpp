#include "tools/DevtoolCommands.h"

#include "service/RegistrationRequests.h"
#include "service/ReplyEnvelope.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "tools/ReplyPrinter.h"

#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>

namespace {

struct CallArguments {
    QStringList positional;
    ServiceEndpoint endpoint;
    QStringList login; // USER PASS, or empty
};

std::string text(const QString &value) {
    return value.toStdString();
}

int number(const QString &value) {
    bool ok = false;
    const int result = value.toInt(&ok);
    if (!ok)
        throw std::invalid_argument("not a whole number: " + value.toStdString());
    return result;
}

JsonPtr lookupReply(const RegionLookup &lookup) {
    if (!lookup.reply)
        throw std::runtime_error(lookup.errorText);
    return lookup.reply;
}

struct Method {
    int argumentCount;
    std::function<JsonPtr(TRuvasaLib &, const QStringList &)> call;
};

const std::map<QString, Method> &methods() {
    static const std::map<QString, Method> table = {
        {"checkAppVersionRequest", {0, [](TRuvasaLib &l, auto &) { return l.checkAppVersionRequest(); }}},
        {"getClientJson", {0, [](TRuvasaLib &l, auto &) { return l.getClientJson(); }}},
        {"LoginRequest", {2, [](TRuvasaLib &l, auto &a) { return l.LoginRequest(text(a[0]), text(a[1])); }}},
        {"BannerRequest", {0, [](TRuvasaLib &l, auto &) { return l.BannerRequest(); }}},
        {"CategoryRequest", {0, [](TRuvasaLib &l, auto &) { return l.CategoryRequest(); }}},
        {"HomeRequest", {1, [](TRuvasaLib &l, auto &a) { return l.HomeRequest(number(a[0])); }}},
        {"HomeDetailRequest", {1, [](TRuvasaLib &l, auto &a) { return l.HomeDetailRequest(text(a[0])); }}},
        {"CategoryContentRequest",
         {2, [](TRuvasaLib &l, auto &a) { return l.CategoryContentRequest(text(a[0]), text(a[1])); }}},
        {"SubCategoryContentRequest",
         {2, [](TRuvasaLib &l, auto &a) { return l.SubCategoryContentRequest(text(a[0]), text(a[1])); }}},
        {"ChartContentRequest",
         {2, [](TRuvasaLib &l, auto &a) { return l.ChartContentRequest(text(a[0]), number(a[1])); }}},
        {"DetailContentRequest",
         {1, [](TRuvasaLib &l, auto &a) { return l.DetailContentRequest(text(a[0])); }}},
        {"SearchContentRequest",
         {3, [](TRuvasaLib &l,
                auto &a) { return l.SearchContentRequest(text(a[0]), text(a[1]), number(a[2])); }}},
        {"SearchKalimatRequest",
         {2, [](TRuvasaLib &l, auto &a) { return l.SearchKalimatRequest(text(a[0]), number(a[1])); }}},
        {"ReadPermissionRequest",
         {1, [](TRuvasaLib &l, auto &a) { return l.ReadPermissionRequest(text(a[0])); }}},
        {"BookReturnRequest",
         {3,
          [](TRuvasaLib &l, auto &a) { return l.BookReturnRequest(text(a[0]), text(a[1]), number(a[2])); }}},
        {"SaveAnnotationRequest",
         {1, [](TRuvasaLib &l, auto &a) { return l.SaveAnnotationRequest(text(a[0])); }}},
        {"SaveCopyText", {1, [](TRuvasaLib &l, auto &a) { return l.SaveCopyText(text(a[0])); }}},
        {"ForgotPasswordRequest",
         {1, [](TRuvasaLib &l, auto &a) { return l.ForgotPasswordRequest(text(a[0])); }}},
        {"UpdateReadStatusRequest",
         {2, [](TRuvasaLib &l, auto &a) { return l.UpdateReadStatusRequest(text(a[0]), number(a[1])); }}},
        {"Logoutrequest", {0, [](TRuvasaLib &l, auto &) { return l.Logoutrequest(); }}},
        {"executeRegister",
         {3,
          [](TRuvasaLib &l, auto &a) {
              return executeRegister(l.serviceEndpoint(), text(a[0]), text(a[1]), text(a[2]));
          }}},
        {"provinsiRequest",
         {0, [](TRuvasaLib &l, auto &) { return lookupReply(provinsiRequest(l.serviceEndpoint())); }}},
        {"kotaRequest",
         {1,
          [](TRuvasaLib &l, auto &a) { return lookupReply(kotaRequest(l.serviceEndpoint(), text(a[0]))); }}},
        {"kecamatanRequest",
         {1, [](TRuvasaLib &l,
                auto &a) { return lookupReply(kecamatanRequest(l.serviceEndpoint(), text(a[0]))); }}},
        {"kelurahanRequest",
         {1, [](TRuvasaLib &l,
                auto &a) { return lookupReply(kelurahanRequest(l.serviceEndpoint(), text(a[0]))); }}},
    };
    return table;
}

// Splits the options from the method's own arguments; false on a usage error.
bool parseArguments(const QStringList &args, CallArguments &parsed) {
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--base" && i + 1 < args.size())
            parsed.endpoint.baseUrl = text(args[++i]);
        else if (args[i] == "--cafile" && i + 1 < args.size())
            parsed.endpoint.caFile = text(args[++i]);
        else if (args[i] == "--login" && i + 2 < args.size())
            parsed.login = {args[++i], args[++i]};
        else if (args[i].startsWith("--"))
            return false;
        else
            parsed.positional << args[i];
    }
    return !parsed.endpoint.baseUrl.empty() && !parsed.positional.isEmpty();
}

// Logs in first and takes over the session as the client does after a successful login, reading
// the reply with the client's own accessors (a reply without "data" gives empty values).
bool logIn(TRuvasaLib &lib, const QStringList &login) {
    const JsonPtr reply = lib.LoginRequest(text(login[0]), text(login[1]));
    if (!isSuccessReply(*reply)) {
        std::fputs("login refused:\n", stderr);
        printReply(stderr, *reply);
        return false;
    }
    lib.setSession(loginSession(reply));
    lib.FUserJson.store(reply);
    return true;
}

} // namespace

// call METHOD [ARGS...] --base URL [--cafile PEM] [--login USER PASS]: makes one request of the
// service client and prints the reply document.
int callCommand(const QStringList &args) {
    CallArguments parsed;
    if (!parseArguments(args, parsed))
        return 2;
    const auto method = methods().find(parsed.positional.takeFirst());
    if (method == methods().end() || method->second.argumentCount != parsed.positional.size())
        return 2;
    // The client lays out and finally deletes its data folder: keep that away from a running client's.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    TRuvasaLib lib(parsed.endpoint);
    if (!parsed.login.isEmpty() && !logIn(lib, parsed.login))
        return 1;
    const JsonPtr reply = method->second.call(lib, parsed.positional);
    printReply(stdout, *reply);
    return isSuccessReply(*reply) ? 0 : 1;
}
