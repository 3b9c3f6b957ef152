// kelvara-devtool: the client's building blocks from the command line, for people working on it.
#include "service/RuvasaLib.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <string>

namespace {

int usage() {
    std::fputs("usage: kelvara-devtool workspace DIR\n", stderr);
    return 2;
}

int workspace(const QStringList &args) {
    if (args.size() != 1)
        return usage();
    layOutWorkspace(args[0].toStdString());
    std::printf("%s\n", args[0].toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    try {
        if (command == QLatin1String("workspace"))
            return workspace(args);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "kelvara-devtool: %s\n", error.what());
        return 1;
    }
    return usage();
}
