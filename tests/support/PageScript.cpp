#include "tests/support/PageScript.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWebEnginePage>

#include <memory>
#include <optional>

QVariant evaluateInPage(QWebEnginePage *page, const QString &script, int timeoutMs) {
    // Shared with the callback, which may outlive this call when the answer is late.
    auto answer = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
    QElapsedTimer clock;
    clock.start();
    while (!answer->has_value() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return answer->value_or(QVariant());
}
