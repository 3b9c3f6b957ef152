#include "tasks/BackgroundTask.h"

#include <QCoreApplication>
#include <QEvent>
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

// Carries calls from pool threads to the UI thread, in the order they were posted. The call itself
// crosses under this object's lock; Qt's event only says that one is waiting. So whatever a pool
// thread wrote before posting is ordered before the call by a lock of ours, which a race detector
// sees, and not only by Qt's event queue, which it cannot see into.
class UiMailbox : public QObject {
public:
    void post(std::function<void()> call) {
        {
            std::lock_guard lock(mutex);
            calls.push_back(std::move(call));
        }
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

protected:
    bool event(QEvent *event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        std::function<void()> call;
        {
            std::lock_guard lock(mutex);
            if (calls.empty())
                return true;
            call = std::move(calls.front());
            calls.pop_front();
        }
        call();
        return true;
    }

private:
    std::mutex mutex;
    std::deque<std::function<void()>> calls;
};

// Made by the first call to post (on a pool thread), handed to the UI thread at once and kept for the
// life of the program, like the pool.
UiMailbox &uiMailbox() {
    static UiMailbox *mailbox = [] {
        auto *created = new UiMailbox;
        created->moveToThread(QCoreApplication::instance()->thread());
        return created;
    }();
    return *mailbox;
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
    : taskName(name), context(context) {
    // Handed to the pool thread under the lock run() takes first: Qt's pool passes the task on
    // without a lock a race detector sees.
    std::lock_guard lock(mutex);
    this->handlers = std::move(handlers);
}

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
    Body body;
    {
        std::lock_guard lock(mutex);
        body = std::move(handlers.body);
    }
    TaskContext taskContext(*this);
    try {
        if (body)
            body(taskContext);
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
    uiMailbox().post([target = context, call = std::move(call)] {
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
