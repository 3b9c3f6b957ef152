#include "annotation_tools/FormNotes.h"

#include "annotations/AnnotationValues.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/GlyphButton.h"
#include "reader/ReaderController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QColor NoteBackground = toQColor(12382963);
const QColor HeaderBackground = toQColor(7727856);

void paintBackground(QWidget *widget, const QColor &colour) {
    widget->setAutoFillBackground(true);
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    colours.setColor(QPalette::Base, colour);
    widget->setPalette(colours);
}
} // namespace

TFormNotes::TFormNotes(TReaderController &reader, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), reader(reader) {
    setFixedSize(372, 297);
    paintBackground(this, NoteBackground);
    auto *header = new QWidget(this);
    header->setFixedHeight(41);
    paintBackground(header, HeaderBackground);
    Label1 = new QLabel(QStringLiteral("Note Date"), header);
    Button2 = glyphButton(header, 0xF1F8, QString(), 16);
    Button1 = glyphButton(header, 0xF00D, QString(), 16);
    auto *top = new QHBoxLayout(header);
    top->addWidget(Label1, 1);
    top->addWidget(Button2);
    top->addWidget(Button1);
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    paintBackground(RichEdit1, NoteBackground);
    RichEdit1->setFont(QFont(QStringLiteral("Tahoma"), 8));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(RichEdit1, 1);
    connect(Button1, &QToolButton::clicked, this, &TFormNotes::Button1Click);
    connect(Button2, &QToolButton::clicked, this, &TFormNotes::Button2Click);
}

void TFormNotes::showNote(const QString &key, int indexArray, TPdfControl *view, const JsonDocument &entry) {
    Key = key;
    IndexArray = indexArray;
    PDFControl = view;
    NoteId = textAt(entry, "note_id");
    shown = entry;
    QFont font(QString::fromStdString(textAt(entry, "font")));
    if (const int size = integerAt(entry, "size"); size > 0)
        font.setPointSize(size);
    RichEdit1->setFont(font);
    RichEdit1->setTextColor(toQColor(static_cast<TColor>(integerAt(entry, "font_color"))));
    RichEdit1->setPlainText(QString::fromStdString(textAt(entry, "text")));
    Label1->setText(QString::fromStdString(textAt(entry, "date")));
    show();
    raise();
}

void TFormNotes::Button1Click() {
    close();
}

// Deletes by position only while that position still holds the note that was opened.
void TFormNotes::Button2Click() {
    if (messageBoxes().show(MsgKind::Confirmation, QStringLiteral("Hapus Catatan Ini?"),
                            MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    const auto state = reader.readerState.find(Key);
    JsonDocument *entries =
        state == reader.readerState.end() ? nullptr : &state->second->AnnotationObject["data"];
    if (!PDFControl || !entries || !entries->is_array() || IndexArray < 0 ||
        static_cast<std::size_t>(IndexArray) >= entries->size() || (*entries)[IndexArray] != shown) {
        showWarning(QStringLiteral("Catatan ini sudah tidak ada pada buku yang dibuka"));
        close();
        return;
    }
    entries->erase(static_cast<std::size_t>(IndexArray));
    reader.annotationsChanged(PDFControl->parentWidget());
    PDFControl->update();
    close();
}
