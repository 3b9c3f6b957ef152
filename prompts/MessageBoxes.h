#pragma once
#include <QString>
#include <deque>
#include <mutex>
#include <vector>

// Every message box of the client goes through this one seam, so tests can answer them.
enum class MsgKind { Information, Warning, Error, Confirmation };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer show(MsgKind kind, const QString &text, MsgButtons buttons) = 0;
    // A box with a caption of its own instead of the main window's.
    virtual MsgAnswer showTitled(MsgKind kind, const QString & /*title*/, const QString &text,
                                 MsgButtons buttons) {
        return show(kind, text, buttons);
    }
};

// The boxes in use; the Qt one unless a test installed another.
MessageBoxes &messageBoxes();
// Installs `boxes` (not owned) for the rest of the run or until replaced; nullptr restores the Qt one.
void installMessageBoxes(MessageBoxes *boxes);

// Shorthands for the common boxes.
void showError(const QString &text);
void showInformation(const QString &text);
void showWarning(const QString &text);
bool askYesNo(const QString &text);

// Modal QMessageBox with the caption of the main window.
class QtMessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(MsgKind kind, const QString &text, MsgButtons buttons) override;
    MsgAnswer showTitled(MsgKind kind, const QString &title, const QString &text,
                         MsgButtons buttons) override;
};

// Records each box and answers from a queue (OK / Yes when the queue is empty).
class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        MsgKind kind;
        QString text;
        MsgButtons buttons;
        QString title; // empty for the main window's caption
    };
    std::vector<Shown> shown;
    std::deque<MsgAnswer> answers;

    MsgAnswer show(MsgKind kind, const QString &text, MsgButtons buttons) override;
    MsgAnswer showTitled(MsgKind kind, const QString &title, const QString &text,
                         MsgButtons buttons) override;

private:
    std::mutex lock; // background tasks may raise boxes too
};

// Installs a scripted seam for one scope and restores the previous one after it.
class ScopedMessageBoxes {
public:
    explicit ScopedMessageBoxes(MessageBoxes &boxes);
    ~ScopedMessageBoxes();
    ScopedMessageBoxes(const ScopedMessageBoxes &) = delete;
    ScopedMessageBoxes &operator=(const ScopedMessageBoxes &) = delete;

private:
    MessageBoxes *previous;
};
