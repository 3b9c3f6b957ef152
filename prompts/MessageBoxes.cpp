#include "prompts/MessageBoxes.h"
#include "tasks/UiMailbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <condition_variable>
#include <optional>

namespace {
MessageBoxes *installed = nullptr;

QMessageBox::Icon iconOf(MsgKind kind) {
    switch (kind) {
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Error:
        return QMessageBox::Critical;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

MsgAnswer answerOf(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Ok;
    }
}
} // namespace

MessageBoxes &messageBoxes() {
    static QtMessageBoxes qtBoxes;
    return installed ? *installed : qtBoxes;
}

void installMessageBoxes(MessageBoxes *boxes) {
    installed = boxes;
}

void showError(const QString &text) {
    messageBoxes().show(MsgKind::Error, text, MsgButtons::Ok);
}
void showInformation(const QString &text) {
    messageBoxes().show(MsgKind::Information, text, MsgButtons::Ok);
}
void showWarning(const QString &text) {
    messageBoxes().show(MsgKind::Warning, text, MsgButtons::Ok);
}
bool askYesNo(const QString &text) {
    return messageBoxes().show(MsgKind::Confirmation, text, MsgButtons::YesNo) == MsgAnswer::Yes;
}

MsgAnswer QtMessageBoxes::show(MsgKind kind, const QString &text, MsgButtons buttons) {
    return showTitled(kind, QStringLiteral("PERPUS KELVARA"), text, buttons);
}

MsgAnswer QtMessageBoxes::showTitled(MsgKind kind, const QString &title, const QString &text,
                                     MsgButtons buttons) {
    auto ask = [&] {
        QMessageBox box(iconOf(kind), title, text, buttonsOf(buttons), QApplication::activeWindow());
        // Texts carry the service's words and book titles: markup in them is shown, never applied.
        box.setTextFormat(Qt::PlainText);
        return answerOf(box.exec());
    };
    // A box raised by a background task (the login page is rendered on one) is shown by the UI
    // thread while the task waits for the answer. The question and the answer both cross under
    // locks of ours, so the texts the task wrote are ordered before the box reads them.
    if (QThread::currentThread() == qApp->thread())
        return ask();
    std::mutex lock;
    std::condition_variable answered;
    std::optional<MsgAnswer> answer;
    postToUiThread([&] {
        const MsgAnswer given = ask();
        std::lock_guard guard(lock);
        answer = given;
        answered.notify_one();
    });
    std::unique_lock guard(lock);
    answered.wait(guard, [&] { return answer.has_value(); });
    return *answer;
}

MsgAnswer ScriptedMessageBoxes::show(MsgKind kind, const QString &text, MsgButtons buttons) {
    return showTitled(kind, QString(), text, buttons);
}

MsgAnswer ScriptedMessageBoxes::showTitled(MsgKind kind, const QString &title, const QString &text,
                                           MsgButtons buttons) {
    std::lock_guard<std::mutex> guard(lock);
    shown.push_back({kind, text, buttons, title});
    if (answers.empty())
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

ScopedMessageBoxes::ScopedMessageBoxes(MessageBoxes &boxes) : previous(installed) {
    installed = &boxes;
}
ScopedMessageBoxes::~ScopedMessageBoxes() {
    installed = previous;
}
