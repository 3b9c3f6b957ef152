#include "web/AppFunctions.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr AppParam T = AppParam::Text;
constexpr AppParam I = AppParam::Integer;

AppMessageArg from(int param) {
    return {param, {}};
}
AppMessageArg fixed(ProcessArgument value) {
    return {-1, std::move(value)};
}

// Each call argument as the same-numbered message argument.
AppFunction direct(std::string_view function, std::string_view message, std::vector<AppParam> params) {
    std::vector<AppMessageArg> args;
    for (int i = 0; i < static_cast<int>(params.size()); ++i)
        args.push_back(from(i));
    return {function, message, std::move(params), std::move(args)};
}

std::vector<AppFunction> buildTable() {
    return {
        direct("executeLogin", "login", {T, T}),
        {"forgotPass", "forgotPass", {}, {fixed(std::string("forgotPass"))}},
        direct("forgotPassRequest", "forgotPassRequest", {T}),
        direct("detail", "detail", {T}),
        direct("loadMore", "loadMore", {}),
        direct("homeDetail", "homeDetail", {T, T}),
        direct("back", "back", {}),
        direct("loadKategori", "loadKategori", {}),
        direct("changeDept", "changeDept", {T, T}),
        // The department id moves to the front.
        {"kategoriKonten", "kategoriKonten", {T, T, T, T}, {from(2), from(0), from(1), from(3)}},
        direct("backKategori", "backKategori", {}),
        direct("backToSection", "backToSection", {}),
        direct("backToCategory", "backToCategory", {}),
        direct("backToChart", "backToChart", {}),
        direct("backToSearch", "backToSearch", {}),
        {"subKategoriKonten", "subKategoriKonten", {T, T, T, T}, {from(2), from(0), from(1), from(3)}},
        direct("detailFromSection", "detailFromSection", {T}),
        direct("detailFromCategory", "detailFromCategory", {T}),
        direct("detailFromChart", "detailFromChart", {T}),
        direct("detailFromSearch", "detailFromSearch", {T}),
        direct("topChart", "topChart", {}),
        direct("loadMoreChart", "loadMoreChart", {I}),
        direct("lastRead", "lastRead", {}),
        direct("loadMoreLastRead", "loadMoreLastRead", {I}),
        direct("lastView", "lastView", {}),
        direct("loadMoreLastView", "loadMoreLastView", {I}),
        // A search from the header starts at page 1.
        {"searching", "searching", {T, T}, {from(0), from(1), fixed(1)}},
        direct("searchResult", "searching", {T, T, I}),
        direct("openBanner", "openBanner", {T}),
        direct("registerPage", "register", {}),
        direct("baca", "baca", {T}),
        direct("bacaSection", "bacaSection", {T}),
        direct("bacaKalimat", "bacaKalimat", {T, T}),
        direct("logout", "logout", {}),
        direct("account", "account", {}),
    };
}

std::optional<ProcessArgument> convert(AppParam param, const AppCallValue &value) {
    const auto *number = std::get_if<double>(&value);
    if (param == AppParam::Integer) {
        if (number && std::trunc(*number) == *number && *number >= std::numeric_limits<int>::min() &&
            *number <= std::numeric_limits<int>::max())
            return static_cast<int>(*number);
        return std::nullopt;
    }
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    return std::nullopt;
}
} // namespace

const std::vector<AppFunction> &appFunctions() {
    static const std::vector<AppFunction> table = buildTable();
    return table;
}

std::optional<ProcessMessage> appCallMessage(std::string_view function,
                                             const std::vector<AppCallValue> &args) {
    const auto &table = appFunctions();
    const auto entry = std::find_if(table.begin(), table.end(),
                                    [&](const AppFunction &f) { return f.function == function; });
    if (entry == table.end() || args.size() != entry->params.size())
        return std::nullopt;
    std::vector<ProcessArgument> converted;
    for (std::size_t i = 0; i < args.size(); ++i) {
        auto value = convert(entry->params[i], args[i]);
        if (!value)
            return std::nullopt;
        converted.push_back(std::move(*value));
    }
    ProcessMessage message{std::string(entry->message), {}};
    for (const AppMessageArg &arg : entry->args)
        message.args.push_back(arg.param < 0 ? arg.fixed : converted[static_cast<std::size_t>(arg.param)]);
    return message;
}
