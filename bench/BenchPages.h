#pragma once
// Pages in the benchmarks' views: waiting for one to load, and keeping a copy of the pages a client
// generated after its data folder is gone.
#include <QString>

class QWebEngineView;

// Runs the event loop until `view` has finished loading a page whose file is `fileName`.
void waitForLoad(QWebEngineView *view, const QString &fileName);
// Copies every file below `from` to the same place below `to`.
void copyFolder(const QString &from, const QString &to);
