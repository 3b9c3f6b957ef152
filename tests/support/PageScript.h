#pragma once
#include <QString>
#include <QVariant>

class QWebEnginePage;

// Runs `script` in the page's main frame and returns its value, processing UI events meanwhile; an
// invalid value when no answer came within `timeoutMs`. An answer that comes later is dropped.
QVariant evaluateInPage(QWebEnginePage *page, const QString &script, int timeoutMs = 10000);
