#include "tests/support/EventLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>

bool processUntil(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}
