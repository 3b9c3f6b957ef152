#include "tasks/UiMailbox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <deque>
#include <mutex>

namespace {
// Holds the posted calls; each Qt event it receives runs the oldest one.
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

// Made by the first call to post (often on a pool thread), handed to the UI thread at once and kept
// for the life of the program.
UiMailbox &uiMailbox() {
    static UiMailbox *mailbox = [] {
        auto *created = new UiMailbox;
        created->moveToThread(QCoreApplication::instance()->thread());
        return created;
    }();
    return *mailbox;
}
} // namespace

void postToUiThread(std::function<void()> call) {
    uiMailbox().post(std::move(call));
}
