#pragma once
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class BackgroundTask;
// A handle on a running task. Dropping it does not stop the task: the body runs to its end and
// its completion still runs.
using TaskHandle = std::shared_ptr<BackgroundTask>;

// What a task body may do while it runs on a pool thread.
class TaskContext {
public:
    explicit TaskContext(BackgroundTask &task) : task(task) {}
    // Queues a numbered message to the task's message handler on the UI thread.
    void postMessage(int code, const QString &text);
    // True once someone asked the task to terminate; bodies that loop check it.
    bool terminated() const;

private:
    BackgroundTask &task;
};

// One background task: a body on a pool thread, optional numbered messages and a completion, both
// delivered on the UI thread in the order they were sent (messages first). When `context` is
// destroyed before they arrive, they are dropped.
class BackgroundTask : public std::enable_shared_from_this<BackgroundTask> {
public:
    using Body = std::function<void(TaskContext &)>;
    using MessageHandler = std::function<void(int code, const QString &text)>;
    using Completion = std::function<void()>;

    struct Handlers {
        Body body;
        Completion completion;
        MessageHandler onMessage;
    };

    // Starts `body` on the task pool and returns the handle.
    static TaskHandle start(const QString &name, QObject *context, Body body, Completion completion,
                            MessageHandler onMessage = {});
    // Blocks until every task started so far has finished its body (used before the objects the
    // bodies use are destroyed).
    static void waitForAll();

    const QString &name() const { return taskName; }
    // Asks the body to stop; it is up to the body to look.
    void terminate() { terminateRequested = true; }
    bool isTerminateRequested() const { return terminateRequested; }
    // Blocks until the body has ended (without a time limit).
    void waitFor();
    bool finished() const;

    BackgroundTask(const QString &name, QObject *context, Handlers handlers);

private:
    friend class TaskContext;
    // Runs the task started longest ago of those no pool thread has taken yet.
    static void runNext();
    void run();
    void deliver(std::function<void()> call);

    QString taskName;
    QPointer<QObject> context;
    Handlers handlers;
    std::atomic<bool> terminateRequested{false};
    mutable std::mutex mutex;
    std::condition_variable bodyEnded;
    bool bodyDone = false;
};
