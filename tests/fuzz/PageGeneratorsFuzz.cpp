#include "tests/fuzz/FuzzEntries.h"

#include "pages/FirstRun.h"
#include "service/RuvasaLib.h"
#include "service/ServiceCall.h"
#include "web/BrowserView.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// Keeps what the pages asked of their view: the scripts carry markup of the reply as well.
class ScriptKeepingView : public BrowserView {
public:
    std::string scripts;
    void navigate(const std::string &) override {}
    void reload() override {}
    void runScript(const std::string &script) override { scripts += script; }
};

// One service client for the whole run: building it lays out the data folder the pages are written in.
struct FuzzLibrary {
    const bool testMode = (QStandardPaths::setTestModeEnabled(true), true); // never the member's folder
    TRuvasaLib lib{ServiceEndpoint{"https://lib.example", ""}};
    FuzzLibrary() {
        lib.OnRenderError = [](const std::string &) {}; // a refused reply is an error box, not a fault
    }
};

TRuvasaLib &library() {
    static FuzzLibrary fuzzLibrary;
    return fuzzLibrary.lib;
}

// The bytes as the body of a reply with status 200, read as every call reads its reply.
JsonPtr replyOf(const std::uint8_t *data, std::size_t size) {
    HttpResponse response;
    response.status = 200;
    response.body.assign(reinterpret_cast<const char *>(data), size);
    JsonDocument parsed;
    const std::string failure = replyFailure(std::move(response), parsed);
    return failure.empty() ? std::make_shared<const JsonDocument>(std::move(parsed))
                           : madeUpReply("Gagal memuat: ", failure);
}

// A text the pages also take from elsewhere (a section's title, a category's name, the member's
// keyword): the reply's "judul" when it is a text.
std::string argumentOf(const JsonDocument &reply) {
    const auto judul = reply.find("judul");
    return judul != reply.end() && judul->is_string() ? judul->get<std::string>() : std::string();
}

// Every page generator run on `reply` (as the reply of each call and as what the last calls stored),
// first pages and the following ones; answers everything written: the page files and the scripts run.
std::string renderEveryPage(const JsonPtr &reply) {
    TRuvasaLib &lib = library();
    for (ReplyField *field : {&lib.FClientJson, &lib.FBannerJson, &lib.FHomeContentJson, &lib.FHomeDetailJson,
                              &lib.FCategoryJson, &lib.FCategoryContentJson, &lib.FSubCategoryContentJson,
                              &lib.FChartContentJson, &lib.FDetailContentJson, &lib.FSearchContentJson})
        field->store(reply);
    const std::string text = argumentOf(*reply);
    ScriptKeepingView view;
    FirstRun = 1;
    lib.renderLoginHtmlFile(view);
    lib.renderCategoryHtmlFile(view);
    lib.renderDept(view, text);
    lib.renderHomeDetailHtmlFile(view, text, reply);
    lib.renderCategoryContent(view, text, reply);
    lib.renderSubCategoryContent(view, text, reply);
    lib.renderDetailContent(view, text, reply);
    for (int page : {1, 2}) {
        lib.renderHomeHtmlFile(view, page);
        lib.renderTopChart(view, page, reply);
        lib.renderLastRead(view, page, reply);
        lib.renderLastView(view, page, reply);
        lib.renderSearchResult(view, page, text, "Judul", reply);
        lib.renderSearchKalimatResult(view, page, text, reply);
    }
    std::string written = view.scripts;
    const QDir folder(QString::fromStdString(lib.FPath));
    for (const QString &name : folder.entryList({QStringLiteral("*.html")}, QDir::Files)) {
        QFile page(folder.filePath(name));
        if (page.open(QIODevice::ReadOnly))
            written += page.readAll().toStdString();
        page.remove(); // the next input starts without it
    }
    return written;
}

// The reply with every "<" and "&" of its text values made "_": no markup or entity left. Keys stay:
// the pages look members up by name and never write a key out.
JsonDocument withoutMarkup(const JsonDocument &reply) {
    const auto plain = [](std::string text) {
        std::replace(text.begin(), text.end(), '<', '_');
        std::replace(text.begin(), text.end(), '&', '_');
        return text;
    };
    if (reply.is_string())
        return plain(reply.get<std::string>());
    if (reply.is_array()) {
        JsonDocument items = JsonDocument::array();
        for (const JsonDocument &item : reply)
            items.push_back(withoutMarkup(item));
        return items;
    }
    if (reply.is_object()) {
        JsonDocument members = JsonDocument::object();
        for (const auto &[key, value] : reply.items())
            members[key] = withoutMarkup(value);
        return members;
    }
    return reply;
}

std::size_t scriptTags(const std::string &written) {
    std::string lower(written.size(), ' ');
    std::transform(written.begin(), written.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    std::size_t count = 0;
    for (std::size_t at = lower.find("<script"); at != std::string::npos; at = lower.find("<script", at + 1))
        ++count;
    return count;
}

} // namespace

int fuzzPageGenerators(const std::uint8_t *data, std::size_t size) {
    const JsonPtr reply = replyOf(data, size);
    const std::size_t tags = scriptTags(renderEveryPage(reply));
    // The same reply without markup in its texts writes the pages' own script elements only: any
    // further one came from the reply's text unescaped.
    const std::size_t ownTags =
        scriptTags(renderEveryPage(std::make_shared<const JsonDocument>(withoutMarkup(*reply))));
    if (tags > ownTags) {
        std::fprintf(stderr, "a text of the reply put %zu script element(s) into a page unescaped\n",
                     tags - ownTags);
        std::abort();
    }
    return 0;
}
