#include "tasks/BackgroundTask.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <semaphore>
#include <string>
#include <vector>

namespace {

// Processes UI events until `done` holds or ten seconds pass.
template <typename Pred> bool processUntil(Pred done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

TEST(BackgroundTask, BodyOnPoolThreadMessagesThenCompletionOnUiThreadInOrder) {
    QObject context;
    QThread *const uiThread = QThread::currentThread();
    std::atomic<QThread *> bodyThread = nullptr;
    std::vector<QString> events;
    bool completed = false;
    auto body = [&](TaskContext &task) {
        bodyThread = QThread::currentThread();
        task.postMessage(2, QStringLiteral("first"));
        task.postMessage(3, QStringLiteral("second"));
    };
    auto completion = [&] {
        EXPECT_EQ(QThread::currentThread(), uiThread);
        events.push_back(QStringLiteral("completion"));
        completed = true;
    };
    auto onMessage = [&](int code, const QString &text) {
        EXPECT_EQ(QThread::currentThread(), uiThread);
        events.push_back(QString::number(code) + text);
    };
    BackgroundTask::start(QStringLiteral("order"), &context, body, completion, onMessage);
    ASSERT_TRUE(processUntil([&] { return completed; }));
    EXPECT_NE(bodyThread.load(), uiThread);
    EXPECT_EQ(events, (std::vector<QString>{"2first", "3second", "completion"}));
}

TEST(BackgroundTask, CompletionIsDroppedWhenContextIsGone) {
    auto context = std::make_unique<QObject>();
    std::binary_semaphore release(0);
    bool completed = false;
    TaskHandle task = BackgroundTask::start(
        QStringLiteral("late"), context.get(), [&](TaskContext &) { release.acquire(); },
        [&] { completed = true; });
    context.reset();
    release.release();
    task->waitFor();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(completed);
}

TEST(BackgroundTask, DroppedHandleStillCompletesAndWaitForBlocksUntilBodyEnds) {
    QObject context;
    std::binary_semaphore release(0);
    std::atomic<bool> sawTerminate = false;
    bool completed = false;
    TaskHandle task = BackgroundTask::start(
        QStringLiteral("wait"), &context,
        [&](TaskContext &ctx) {
            release.acquire();
            sawTerminate = ctx.terminated();
        },
        [&] { completed = true; });
    EXPECT_FALSE(task->finished());
    task->terminate();
    release.release();
    task->waitFor();
    EXPECT_TRUE(task->finished());
    EXPECT_TRUE(sawTerminate);
    task.reset(); // dropping the handle does not cancel the queued completion
    EXPECT_FALSE(completed);
    ASSERT_TRUE(processUntil([&] { return completed; }));
}

// More tasks than the pool has threads, so some are taken from its queue by a thread that just finished
// another: each body leaves plain (unsynchronised) data that its messages and completion then read on
// the UI thread. Under the thread sanitizer (scripts/test --thread) an unordered hand-over fails here.
TEST(BackgroundTask, MessagesAndCompletionSeeWhatTheBodyWrote) {
    struct Result {
        std::string text;
        std::vector<int> values;
    };
    constexpr int TaskCount = 24;
    QObject context;
    std::vector<std::shared_ptr<Result>> results;
    std::vector<QString> seenInMessages(TaskCount);
    int completed = 0;
    for (int i = 0; i < TaskCount; ++i) {
        auto result = std::make_shared<Result>();
        results.push_back(result);
        BackgroundTask::start(
            QStringLiteral("handover"), &context,
            [result, i](TaskContext &task) {
                result->text = "task " + std::to_string(i);
                result->values.assign(static_cast<std::size_t>(i + 1), i);
                task.postMessage(i, QString::fromStdString(result->text));
            },
            [&completed, result, i] {
                EXPECT_EQ(result->text, "task " + std::to_string(i));
                EXPECT_EQ(result->values, std::vector<int>(static_cast<std::size_t>(i + 1), i));
                ++completed;
            },
            [&seenInMessages, result](int code, const QString &text) {
                EXPECT_EQ(QString::fromStdString(result->text), text);
                seenInMessages[static_cast<std::size_t>(code)] = text;
            });
    }
    ASSERT_TRUE(processUntil([&] { return completed == TaskCount; }));
    for (int i = 0; i < TaskCount; ++i)
        EXPECT_EQ(seenInMessages[static_cast<std::size_t>(i)], QStringLiteral("task %1").arg(i));
}

TEST(BackgroundTask, ThrowingBodyStillCompletes) {
    QObject context;
    bool completed = false;
    BackgroundTask::start(
        QStringLiteral("throws"), &context, [](TaskContext &) { throw std::runtime_error("boom"); },
        [&] { completed = true; });
    ASSERT_TRUE(processUntil([&] { return completed; }));
}

} // namespace
