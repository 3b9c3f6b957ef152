// The tool buttons of the reader toolbar: one handler switches a tool on or off for the page in front,
// with the tools it excludes, the text-selection permission and the annotations' visibility.
#include "annotation_tools/AnnotationTools.h"
#include "annotation_tools/FormAnnotSettings.h"
#include "annotation_tools/FormNotes.h"
#include "annotation_tools/FormSticky.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"

#include <QCheckBox>
#include <QMenu>
#include <QToolButton>

namespace {
enum class Selection { On, Off, Unchanged };
using Flag = bool TReaderSettings::*;
} // namespace

struct TAnnotationTools::Tool {
    QToolButton *button;
    Flag flag;
    std::vector<Flag> switchesOff;
    Selection selection;     // when switched on
    bool offClearsSelection; // when switched off
    bool makesVisible;
};

TAnnotationTools::TAnnotationTools(TReaderController &reader, ReaderPanel &panel, QWidget *window)
    : reader(reader), panel(panel), toolRows(toolTable(panel)) {
    NoteAnnotationImage.load(QStringLiteral(":/notes"));
    FormSticky = new TFormSticky(reader, *this, window);
    FormNotes = new TFormNotes(reader, window);
    FormAnnotSettings = new TFormAnnotSettings(reader.state, window);
    for (QToolButton *button :
         {panel.btnTextSelect, panel.btnAnnotHighlight, panel.btnAnnotRect, panel.btnAnnotPen,
          panel.btnAnnotText, panel.btnAnnotDelete, panel.btnInfo, panel.btnAnnotSettings})
        connect(button, &QToolButton::clicked, this, [this, button] { ButtonAnnotClick(button); });
    connect(panel.btnExportNotes, &QToolButton::clicked, this, &TAnnotationTools::exportNotes);
    reader.setViewHandlers(this);
}

TAnnotationTools::~TAnnotationTools() {
    reader.setViewHandlers(nullptr);
}

void TAnnotationTools::attachInput(TPdfControl &view) {
    view.OnMouseDown = [this](TPdfControl *sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x,
                              int y) { PDFViewMouseDown(sender, button, x, y); };
    view.OnMouseMove = [this](TPdfControl *sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers, int x,
                              int y) { PDFViewMouseMove(sender, buttons, x, y); };
    view.OnMouseUp = [this](TPdfControl *sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x,
                            int y) { PDFViewMouseUp(sender, button, x, y); };
    view.OnDblClick = [this](TPdfControl *sender) { PDFViewDblClick(sender); };
    view.OnClick = [this](TPdfControl *sender) { PDFViewClick(sender); };
    view.installEventFilter(this);
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&view, &QWidget::customContextMenuRequested, this, [this, target = &view](const QPoint &at) {
        if (QMenu *menu = selectionMenu(*target)) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(target->mapToGlobal(at));
        }
    });
}

void TAnnotationTools::attachPaint(TPdfControl &view) {
    view.OnPaint = [this](TPdfControl *sender) { PDFViewPaint(sender); };
}

std::vector<TAnnotationTools::Tool> TAnnotationTools::toolTable(const ReaderPanel &panel) {
    using S = TReaderSettings;
    const Flag note = &S::CurrentTextAnnotState, rect = &S::CurrentRectAnnotState,
               pen = &S::CurrentPenAnnotState, highlight = &S::CurrentHighlightAnnotState,
               text = &S::CurrentTextSelectState;
    return {
        {panel.btnTextSelect, text, {note, rect, pen, highlight}, Selection::On, true, false},
        {panel.btnAnnotHighlight, highlight, {note, text, rect, pen}, Selection::On, true, true},
        {panel.btnAnnotRect, rect, {note, highlight, pen, text}, Selection::Off, true, true},
        {panel.btnAnnotPen, pen, {note, highlight, rect, text}, Selection::Off, false, true},
        {panel.btnAnnotText, note, {pen, highlight, text, rect}, Selection::Unchanged, false, true},
        {panel.btnAnnotDelete,
         &S::CurrentAnnotDeleteState,
         {pen, highlight, rect, text, note},
         Selection::Off,
         false,
         true},
    };
}

void TAnnotationTools::ButtonAnnotClick(QObject *sender) {
    try {
        TPdfControl *view = reader.activeView();
        TReaderSettings *settings = reader.activeSettings();
        if (!view || !settings)
            return;
        for (const Tool &tool : tools())
            if (tool.button == sender)
                return switchTool(tool, *settings, *view);
        if (sender == panel.btnInfo) {
            if (const TDetailBook *book = reader.activeBook(); book && showBookInfo)
                showBookInfo(*book);
        } else if (sender == panel.btnAnnotSettings) {
            FormAnnotSettings->show();
            FormAnnotSettings->raise();
        }
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #1355 : ") + QString::fromUtf8(error.what()));
    }
}

void TAnnotationTools::switchTool(const Tool &tool, TReaderSettings &settings, TPdfControl &view) {
    const bool on = !(settings.*tool.flag);
    settings.*tool.flag = on;
    showToolIndicator(tool.button, on);
    if (!on) {
        if (tool.offClearsSelection)
            view.SetAllowUserTextSelection(false);
        return;
    }
    for (Flag off : tool.switchesOff) {
        settings.*off = false;
        for (const Tool &other : tools())
            if (other.flag == off)
                showToolIndicator(other.button, false);
    }
    if (tool.selection != Selection::Unchanged)
        view.SetAllowUserTextSelection(tool.selection == Selection::On);
    if (tool.makesVisible)
        showAnnotations(settings, view);
}

void TAnnotationTools::showAnnotations(TReaderSettings &settings, TPdfControl &view) {
    settings.CurrentAnnotViewState = true;
    panel.AnnotView->setChecked(true);
    view.update();
}

void TAnnotationTools::pressOwnButton(bool TReaderSettings::*flag) {
    for (const Tool &tool : tools())
        if (tool.flag == flag)
            ButtonAnnotClick(tool.button);
}
