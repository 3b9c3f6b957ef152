#include "prompts/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
FileDialogs *installed = nullptr;

QString chosenFile(QFileDialog &dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

FileDialogs &fileDialogs() {
    static QtFileDialogs qtDialogs;
    return installed ? *installed : qtDialogs;
}

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

QString QtFileDialogs::openFile(QWidget *parent, const QStringList &filters) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    return chosenFile(dialog);
}

QString QtFileDialogs::saveFile(QWidget *parent, const QStringList &filters, const QString &defaultSuffix,
                                const QString &directory, const QString &proposedName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without a suffix takes the suffix of the file type chosen, "*.html" gives ".html".
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        const QRegularExpressionMatch suffix =
            QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
        if (suffix.hasMatch())
            dialog.setDefaultSuffix(suffix.captured(1));
    });
    dialog.setDirectory(directory);
    dialog.selectFile(proposedName);
    return chosenFile(dialog);
}

QString ScriptedFileDialogs::openFile(QWidget *, const QStringList &filters) {
    return answer({false, filters, {}, {}, {}});
}

QString ScriptedFileDialogs::saveFile(QWidget *, const QStringList &filters, const QString &defaultSuffix,
                                      const QString &directory, const QString &proposedName) {
    return answer({true, filters, defaultSuffix, directory, proposedName});
}

QString ScriptedFileDialogs::answer(Asked question) {
    asked.push_back(std::move(question));
    if (answers.empty())
        return {};
    QString path = answers.front();
    answers.pop_front();
    return path;
}

ScopedFileDialogs::ScopedFileDialogs(FileDialogs &dialogs) : previous(installed) {
    installed = &dialogs;
}
ScopedFileDialogs::~ScopedFileDialogs() {
    installed = previous;
}
