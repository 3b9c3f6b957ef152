#include "tools/DevtoolCommands.h"

#include "service/RuvasaLib.h"

#include <cstdio>

// workspace DIR: lays the embedded asset archive out into DIR as the client does into its data folder.
int workspaceCommand(const QStringList &args) {
    if (args.size() != 1)
        return 2;
    layOutWorkspace(args[0].toStdString());
    std::printf("%s\n", args[0].toUtf8().constData());
    return 0;
}
