#pragma once
#include <QDialog>
#include <QFont>
#include <QPointer>

#include <functional>
#include <optional>

class QTextEdit;
class QToolButton;
class TAnnotationTools;
class TPdfControl;
class TReaderController;

// The note editor "My Notes": takes the text of a note the note tool placed and stores it as a NOTES
// entry of the page's annotations when saved. Its font stays for the next note.
class TFormSticky : public QDialog {
    Q_OBJECT
public:
    TFormSticky(TReaderController &reader, TAnnotationTools &tools, QWidget *parent = nullptr);

    // Opens the editor, emptied, for a note on `view` in the reader page named `itemKey`.
    void openFor(TPdfControl *view, const QString &itemKey);
    void btnSettingsClick();
    void btnSaveNotesClick();

    // Asks for the editor's font; a test can answer instead of the dialog.
    std::function<std::optional<QFont>(const QFont &current)> pickFont;

    QTextEdit *RichEdit1;
    QToolButton *btnSaveNotes, *btnSettings;
    QPointer<TPdfControl> PDFControl;
    QString ItemKey;

private:
    TReaderController &reader;
    TAnnotationTools &tools;
    std::string loanId; // the loan the note was placed in
};
