#pragma once
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QWidget;

// The open and save dialogs go through this seam, so tests can answer them.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file, or "" when the dialog was cancelled. `filters` in Qt's "Name (*.ext)" form.
    virtual QString openFile(QWidget *parent, const QStringList &filters) = 0;
    // The chosen file with `defaultSuffix` added when the name has none, or "" when cancelled. The
    // dialog opens in `directory` with `proposedName` filled in.
    virtual QString saveFile(QWidget *parent, const QStringList &filters, const QString &defaultSuffix,
                             const QString &directory, const QString &proposedName) = 0;
};

// The member's documents folder, or the home folder when there is none.
QString documentsFolder();

// The dialogs in use; the Qt ones unless a test installed others.
FileDialogs &fileDialogs();

// Modal QFileDialog.
class QtFileDialogs : public FileDialogs {
public:
    QString openFile(QWidget *parent, const QStringList &filters) override;
    QString saveFile(QWidget *parent, const QStringList &filters, const QString &defaultSuffix,
                     const QString &directory, const QString &proposedName) override;
};

// Records each dialog and answers from a queue of paths (cancelled when the queue is empty).
class ScriptedFileDialogs : public FileDialogs {
public:
    struct Asked {
        bool save;
        QStringList filters;
        QString defaultSuffix;
        QString directory;
        QString proposedName;
    };
    std::vector<Asked> asked;
    std::deque<QString> answers;

    QString openFile(QWidget *parent, const QStringList &filters) override;
    QString saveFile(QWidget *parent, const QStringList &filters, const QString &defaultSuffix,
                     const QString &directory, const QString &proposedName) override;

private:
    QString answer(Asked question);
};

// Installs other dialogs for one scope and restores the previous ones after it.
class ScopedFileDialogs {
public:
    explicit ScopedFileDialogs(FileDialogs &dialogs);
    ~ScopedFileDialogs();
    ScopedFileDialogs(const ScopedFileDialogs &) = delete;
    ScopedFileDialogs &operator=(const ScopedFileDialogs &) = delete;

private:
    FileDialogs *previous;
};
