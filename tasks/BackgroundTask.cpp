#include "tasks/BackgroundTask.h"
#include "tasks/UiMailbox.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <deque>

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

// Tasks waiting for a pool thread. A task crosses to its thread under this lock, and the pool is only
// given a plain function that takes the next one: Qt's pool hands its jobs over with locks inside Qt,
// which a race detector cannot see, so a task it carried would look unordered with its start.
struct PendingTasks {
    std::mutex lock;
    std::deque<TaskHandle> tasks;
};

PendingTasks &pendingTasks() {
    static auto *pending = new PendingTasks;
    return *pending;
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
    {
        PendingTasks &pending = pendingTasks();
        std::lock_guard guard(pending.lock);
        pending.tasks.push_back(task);
    }
    taskPool().start(&BackgroundTask::runNext);
    return task;
}

void BackgroundTask::waitForAll() {
    taskPool().waitForDone();
}

void BackgroundTask::runNext() {
    TaskHandle task;
    {
        PendingTasks &pending = pendingTasks();
        std::lock_guard guard(pending.lock);
        task = std::move(pending.tasks.front());
        pending.tasks.pop_front();
    }
    task->run();
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
    // Whether the context still exists is decided on the UI thread, when the call arrives.
    postToUiThread([target = context, call = std::move(call)] {
        if (target)
            call();
    });
}

void BackgroundTask::waitFor() {
    std::unique_lock lock(mutex);
    bodyEnded.wait(lock, [this] { return bodyDone; });
}

bool BackgroundTask::finished() const {
    std::lock_guard lock(mutex);
    return bodyDone;
}
