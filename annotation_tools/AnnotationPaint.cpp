// Painting a book view's annotations over its page, with the marks of a gesture under way.
#include "annotation_tools/AnnotationTools.h"
#include "annotations/AnnotationPainter.h"
#include "bridge/ProgramState.h"
#include "pdfview/PdfControl.h"
#include "pdfview/PdfControlCanvas.h"
#include "reader/ReaderController.h"

#include <QPainter>

#include <stdexcept>

// The view shows its own page's document. A failure is raised with its number for the view to report
// once, rather than a box from inside the paint that would repaint into the same failure.
void TAnnotationTools::PDFViewPaint(TPdfControl *sender) {
    QPainter *canvas = sender->Canvas();
    const TReaderSettings *settings = reader.settingsOf(sender->parentWidget());
    if (!canvas || !settings)
        return;
    try {
        if (settings->CurrentAnnotViewState)
            paintAnnotations(
                *canvas, settings->AnnotationObject, sender->PageIndex(),
                [sender](double x, double y) { return sender->PageToDevice(x, y); }, NoteAnnotationImage);
        paintMarks(*sender);
    } catch (const std::exception &error) {
        throw std::runtime_error(std::string("Error Exception #1706 : ") + error.what());
    }
}

void TAnnotationTools::paintMarks(TPdfControl &view) {
    if (&view != reader.activeView())
        return;
    QPainter &canvas = *view.Canvas();
    if (rubberBand)
        drawFocusRect(canvas, *rubberBand);
    if (focusMark)
        drawFocusRect(canvas, *focusMark);
    if (strokeInProgress.size() > 1) {
        canvas.setPen(QPen(toQColor(reader.state.clPen), 3));
        canvas.drawPolyline(strokeInProgress.data(), static_cast<int>(strokeInProgress.size()));
    }
}
