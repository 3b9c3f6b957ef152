#pragma once
#include "service/JsonDocument.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QTextEdit;
class QToolButton;
class TPdfControl;
class TReaderController;

// The note viewer: shows a stored note and can delete it. Edits to the text are not kept.
class TFormNotes : public QDialog {
    Q_OBJECT
public:
    explicit TFormNotes(TReaderController &reader, QWidget *parent = nullptr);

    // Shows the NOTES entry at position `indexArray` of the annotations of the page named `key`.
    void showNote(const QString &key, int indexArray, TPdfControl *view, const JsonDocument &entry);
    void Button1Click();
    void Button2Click();

    QLabel *Label1;
    QToolButton *Button1, *Button2;
    QTextEdit *RichEdit1;
    QString Key;
    int IndexArray = -1;
    QPointer<TPdfControl> PDFControl;
    std::string NoteId;

private:
    TReaderController &reader;
    JsonDocument shown; // the entry as it was opened, to recognise it again before deleting
};
