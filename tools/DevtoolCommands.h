#pragma once
#include <QStringList>

// One function per subcommand of kelvara-devtool: takes the arguments after the command's name,
// prints its result on stdout and returns the exit status (2 for a usage error).
int workspaceCommand(const QStringList &args);
int pageCommand(const QStringList &args);
int callCommand(const QStringList &args);
int pdfTextCommand(const QStringList &args);
int pdfFindCommand(const QStringList &args);
int pdfRenderCommand(const QStringList &args);
int pdfCorpusCommand(const QStringList &args);
