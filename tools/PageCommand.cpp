#include "tools/DevtoolCommands.h"

#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

// page METHOD [ARGS...] --client FILE [--reply FIELD=FILE ...] --out DIR: renders one catalogue page
// as the client would, into DIR, and prints the written file (or the script of a script-only outcome).

namespace {

// Remembers what the render asked of its view.
class ToolView : public BrowserView {
public:
    bool fileShown = false;
    std::vector<std::string> scripts;
    void navigate(const std::string &) override { fileShown = true; }
    void reload() override { fileShown = true; }
    void runScript(const std::string &script) override { scripts.push_back(script); }
};

// Error boxes go to stderr instead of a window.
class PrintedMessageBoxes : public MessageBoxes {
public:
    int errors = 0;
    MsgAnswer show(MsgKind kind, const QString &text, MsgButtons) override {
        errors += kind == MsgKind::Error;
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return MsgAnswer::Ok;
    }
};

using Render = std::function<void(TRuvasaLib &, BrowserView &, const QStringList &)>;

struct PageMethod {
    QString arguments; // one letter per argument: 'i' a whole number, 't' a text
    const char *file;
    Render render;
};

int number(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw std::invalid_argument("not a whole number: " + text.toStdString());
    return value;
}

std::string text(const QString &value) {
    return value.toStdString();
}

const std::map<QString, PageMethod> &pageMethods() {
    using L = TRuvasaLib;
    using V = BrowserView;
    using A = QStringList;
    static const std::map<QString, PageMethod> table = {
        {"renderLoginHtmlFile",
         {"", PageFiles::Login, [](L &l, V &v, const A &) { l.renderLoginHtmlFile(v); }}},
        {"renderHomeHtmlFile",
         {"i", PageFiles::Home, [](L &l, V &v, const A &a) { l.renderHomeHtmlFile(v, number(a[0])); }}},
        {"renderHomeDetailHtmlFile",
         {"t", PageFiles::Section,
          [](L &l, V &v, const A &a) { l.renderHomeDetailHtmlFile(v, text(a[0])); }}},
        {"renderCategoryHtmlFile",
         {"", PageFiles::Category, [](L &l, V &v, const A &) { l.renderCategoryHtmlFile(v); }}},
        {"renderDept",
         {"t", PageFiles::Category, [](L &l, V &v, const A &a) { l.renderDept(v, text(a[0])); }}},
        {"renderCategoryContent",
         {"t", PageFiles::CategoryBooks,
          [](L &l, V &v, const A &a) { l.renderCategoryContent(v, text(a[0])); }}},
        {"renderSubCategoryContent",
         {"t", PageFiles::SubCategoryBooks,
          [](L &l, V &v, const A &a) { l.renderSubCategoryContent(v, text(a[0])); }}},
        {"renderTopChart",
         {"i", PageFiles::Chart, [](L &l, V &v, const A &a) { l.renderTopChart(v, number(a[0])); }}},
        {"renderLastRead",
         {"i", PageFiles::Chart, [](L &l, V &v, const A &a) { l.renderLastRead(v, number(a[0])); }}},
        {"renderLastView",
         {"i", PageFiles::Chart, [](L &l, V &v, const A &a) { l.renderLastView(v, number(a[0])); }}},
        {"renderDetailContent",
         {"t", PageFiles::Detail, [](L &l, V &v, const A &a) { l.renderDetailContent(v, text(a[0])); }}},
        {"renderSearchResult",
         {"itt", PageFiles::TitleSearch,
          [](L &l, V &v, const A &a) { l.renderSearchResult(v, number(a[0]), text(a[1]), text(a[2])); }}},
        {"renderSearchKalimatResult",
         {"it", PageFiles::SentenceSearch,
          [](L &l, V &v, const A &a) { l.renderSearchKalimatResult(v, number(a[0]), text(a[1])); }}},
    };
    return table;
}

ReplyField *replyField(TRuvasaLib &lib, const QString &name) {
    const std::map<QString, ReplyField TRuvasaLib::*> fields = {
        {"FClientJson", &TRuvasaLib::FClientJson},
        {"FBannerJson", &TRuvasaLib::FBannerJson},
        {"FCategoryJson", &TRuvasaLib::FCategoryJson},
        {"FCategoryContentJson", &TRuvasaLib::FCategoryContentJson},
        {"FSubCategoryContentJson", &TRuvasaLib::FSubCategoryContentJson},
        {"FChartContentJson", &TRuvasaLib::FChartContentJson},
        {"FHomeContentJson", &TRuvasaLib::FHomeContentJson},
        {"FHomeDetailJson", &TRuvasaLib::FHomeDetailJson},
        {"FDetailContentJson", &TRuvasaLib::FDetailContentJson},
        {"FSearchContentJson", &TRuvasaLib::FSearchContentJson},
    };
    const auto field = fields.find(name);
    return field == fields.end() ? nullptr : &(lib.*(field->second));
}

void loadReply(ReplyField &field, const QString &path) {
    field.store(std::make_shared<const JsonDocument>(JsonDocument::parse(readWholeFile(path.toStdString()))));
}

struct Invocation {
    QString method;
    QStringList arguments;
    QString client;
    QString out;
    std::vector<std::pair<QString, QString>> replies; // field, file
};

// Splits the command line; false on a usage error.
bool parse(QStringList args, Invocation &call) {
    if (args.isEmpty())
        return false;
    call.method = args.takeFirst();
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        const bool option = arg == "--client" || arg == "--out" || arg == "--reply";
        if (!option) {
            call.arguments << arg;
            continue;
        }
        if (args.isEmpty())
            return false;
        const QString value = args.takeFirst();
        if (arg == "--client")
            call.client = value;
        else if (arg == "--out")
            call.out = value;
        else if (value.contains('='))
            call.replies.emplace_back(value.section('=', 0, 0), value.section('=', 1));
        else
            return false;
    }
    return !call.client.isEmpty() && !call.out.isEmpty();
}

// The client keeps its data folder while it lives and deletes it at the end; here the pages go to
// the output folder, which must outlive the client.
class OutputFolder {
public:
    OutputFolder(TRuvasaLib &lib, const QString &out) : lib(lib), dataFolder(lib.FPath) {
        if (!QDir().mkpath(out))
            throw std::runtime_error("Cannot create folder " + out.toStdString());
        lib.FPath = QDir(out).absolutePath().toStdString();
    }
    ~OutputFolder() { lib.FPath = dataFolder; }
    OutputFolder(const OutputFolder &) = delete;
    OutputFolder &operator=(const OutputFolder &) = delete;

private:
    TRuvasaLib &lib;
    std::string dataFolder;
};

} // namespace

int pageCommand(const QStringList &args) {
    Invocation call;
    if (!parse(args, call))
        return 2;
    const auto method = pageMethods().find(call.method);
    if (method == pageMethods().end() || method->second.arguments.size() != call.arguments.size())
        return 2;
    // The client rebuilds its data folder when it is created: keep that away from the member's own.
    QStandardPaths::setTestModeEnabled(true);
    TRuvasaLib lib;
    loadReply(lib.FClientJson, call.client);
    for (const auto &[name, file] : call.replies) {
        ReplyField *field = replyField(lib, name);
        if (!field)
            throw std::invalid_argument("unknown reply field " + name.toStdString());
        loadReply(*field, file);
    }
    OutputFolder output(lib, call.out);
    PrintedMessageBoxes boxes;
    ScopedMessageBoxes scope(boxes);
    ToolView view;
    method->second.render(lib, view, call.arguments);
    if (boxes.errors > 0)
        return 1;
    if (view.fileShown)
        std::printf("%s\n", pagePath(lib.FPath, method->second.file).c_str());
    else
        for (const std::string &script : view.scripts)
            std::printf("%s\n", script.c_str());
    return 0;
}
