#include "tasks/BackgroundTask.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace {
// Tasks mostly wait on the network, so the pool is wider than the number of cores.
QThreadPool &taskPool() {
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(8);
        return p;
    }();
    return *pool;
}
} // namespace

void TaskContext::postMessage(int code, const QString &text) {
    if (task.handlers.onMessage) {
        auto handler = task.handlers.onMessage;
        task.deliver([handler, code, text] { handler(code, text); });
    }
}

bool TaskContext::terminated() const {
    return task.terminateRequested;
}

BackgroundTask::BackgroundTask(const QString &name, QObject *context, Handlers handlers)
    : taskName(name), context(context), handlers(std::move(handlers)) {}

TaskHandle BackgroundTask::start(const QString &name, QObject *context, Body body, Completion completion,
                                 MessageHandler onMessage) {
    auto task = std::make_shared<BackgroundTask>(
        name, context, Handlers{std::move(body), std::move(completion), std::move(onMessage)});
    taskPool().start([task] { task->run(); });
    return task;
}

void BackgroundTask::waitForAll() {
    taskPool().waitForDone();
}

void BackgroundTask::run() {
    TaskContext taskContext(*this);
    try {
        if (handlers.body)
            handlers.body(taskContext);
    } catch (...) {
        // A body reports through its reply field; an escaped exception must not take the pool down.
    }
    {
        std::lock_guard lock(mutex);
        bodyDone = true;
    }
    bodyEnded.notify_all();
    if (handlers.completion)
        deliver(handlers.completion);
}

void BackgroundTask::deliver(std::function<void()> call) {
    // Posted to the application object, which outlives every window; whether the context still
    // exists is decided on the UI thread, when the call arrives.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [target = context, call = std::move(call)] {
            if (target)
                call();
        },
        Qt::QueuedConnection);
}

void BackgroundTask::waitFor() {
    std::unique_lock lock(mutex);
    bodyEnded.wait(lock, [this] { return bodyDone; });
}

bool BackgroundTask::finished() const {
    std::lock_guard lock(mutex);
    return bodyDone;
}
