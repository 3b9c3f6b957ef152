#include "annotation_tools/FormSticky.h"

#include "annotation_tools/AnnotationTools.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/GlyphButton.h"
#include "reader/ReaderController.h"

#include <QDate>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLocale>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int NoteColour = 374470;
const QColor NoteBackground = toQColor(12382963);
} // namespace

TFormSticky::TFormSticky(TReaderController &reader, TAnnotationTools &tools, QWidget *parent)
    : QDialog(parent, Qt::Dialog), reader(reader), tools(tools) {
    setWindowTitle(QStringLiteral("My Notes"));
    setFixedSize(346, 228);
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setFixedSize(330, 177);
    RichEdit1->setFont(QFont(QStringLiteral("Tahoma"), 8));
    QPalette colours = RichEdit1->palette();
    colours.setColor(QPalette::Base, NoteBackground);
    RichEdit1->setPalette(colours);
    btnSaveNotes = glyphButton(this, 0xF0C7, QStringLiteral("Simpan Catatan"), 16);
    btnSettings = glyphButton(this, 0xF085, QStringLiteral("Font Settings"), 16);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnSaveNotes);
    buttons->addWidget(btnSettings);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(RichEdit1);
    layout->addLayout(buttons);
    pickFont = [this](const QFont &current) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, current, this);
        return ok ? std::optional<QFont>(font) : std::nullopt;
    };
    connect(btnSaveNotes, &QToolButton::clicked, this, &TFormSticky::btnSaveNotesClick);
    connect(btnSettings, &QToolButton::clicked, this, &TFormSticky::btnSettingsClick);
}

void TFormSticky::openFor(TPdfControl *view, const QString &itemKey) {
    PDFControl = view;
    ItemKey = itemKey;
    const auto state = reader.readerState.find(itemKey);
    loanId = state == reader.readerState.end() ? std::string() : state->second->IdBaca;
    RichEdit1->clear();
    show();
    raise();
}

void TFormSticky::btnSettingsClick() {
    if (std::optional<QFont> font = pickFont(RichEdit1->font()))
        RichEdit1->setFont(*font);
}

// The note goes to the page it was placed on only while that page still holds the same loan.
void TFormSticky::btnSaveNotesClick() {
    const auto state = reader.readerState.find(ItemKey);
    if (!PDFControl || state == reader.readerState.end() || state->second->IdBaca != loanId ||
        reader.viewOf(PDFControl->parentWidget()) != PDFControl) {
        showWarning(QStringLiteral("Buku sudah dikembalikan, catatan tidak dapat disimpan"));
        close();
        return;
    }
    try {
        const QFont font = RichEdit1->font();
        JsonDocument entry = JsonDocument::object();
        entry["page"] = PDFControl->PageIndex();
        entry["type"] = "NOTES";
        entry["note_id"] = "";
        entry["color"] = NoteColour;
        entry["font"] = font.family().toStdString();
        entry["size"] = font.pointSize();
        entry["font_color"] = fromQColor(RichEdit1->textColor());
        entry["date"] = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
        entry["text"] =
            RichEdit1->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n")).toStdString();
        const TPdfRect box = PDFControl->DeviceToPage(tools.DrawRect.toQRect());
        entry["point"] = {{"left", box.Left}, {"top", box.Top}, {"right", box.Right}, {"bottom", box.Bottom}};
        state->second->AnnotationObject["data"].push_back(std::move(entry));
        reader.annotationsChanged(PDFControl->parentWidget());
        PDFControl->update();
        close();
    } catch (const std::exception &error) {
        showError(QStringLiteral("Adding Sticky Notes Error : ") + QString::fromUtf8(error.what()));
    }
}
