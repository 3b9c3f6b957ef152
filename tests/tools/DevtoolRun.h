// Runs the developer tool as a member of the team would, and keeps what it printed and how it ended.
#pragma once

#include <QProcess>
#include <QStringList>

#include <string>

struct ToolRun {
    int exitCode = -1;
    bool crashed = true;
    std::string out;
    std::string err;
};

inline ToolRun runDevtool(const QStringList &args) {
    QProcess tool;
    tool.start(KELVARA_DEVTOOL, args);
    ToolRun run;
    if (!tool.waitForFinished(120000)) { // only keeps a broken build from hanging the run
        tool.kill();
        tool.waitForFinished();
        return run;
    }
    run.crashed = tool.exitStatus() != QProcess::NormalExit;
    run.exitCode = tool.exitCode();
    run.out = tool.readAllStandardOutput().toStdString();
    run.err = tool.readAllStandardError().toStdString();
    return run;
}
