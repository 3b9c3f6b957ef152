// kelvara-devtool: the client's building blocks from the command line, for people working on it.
#include "tools/DevtoolCommands.h"

#include <QApplication>

#include <cstdio>
#include <exception>
#include <map>

namespace {

struct Command {
    int (*run)(const QStringList &args);
    const char *usage;
};

const std::map<QString, Command> &commands() {
    static const std::map<QString, Command> table = {
        {"workspace", {workspaceCommand, "workspace DIR"}},
        {"page", {pageCommand, "page METHOD [ARGS...] --client FILE [--reply FIELD=FILE ...] --out DIR"}},
        {"pdf-text", {pdfTextCommand, "pdf-text FILE PAGE"}},
        {"pdf-find", {pdfFindCommand, "pdf-find FILE PAGE PHRASE [--case] [--word]"}},
        {"pdf-render", {pdfRenderCommand, "pdf-render FILE PAGE ZOOM OUT.png"}},
        {"pdf-corpus", {pdfCorpusCommand, "pdf-corpus FILE REFERENCE.txt"}},
        {"call", {callCommand, "call METHOD [ARGS...] --base URL [--cafile PEM] [--login USER PASS]"}},
    };
    return table;
}

int usage() {
    std::fputs("usage:\n", stderr);
    for (const auto &[name, command] : commands())
        std::fprintf(stderr, "  kelvara-devtool %s\n", command.usage);
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    // Some commands render or lay out text: a GUI application on the offscreen platform suits all.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const auto command = commands().find(args.takeFirst());
    if (command == commands().end())
        return usage();
    try {
        const int status = command->second.run(args);
        return status == 2 ? usage() : status;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "kelvara-devtool: %s\n", error.what());
        return 1;
    }
}
