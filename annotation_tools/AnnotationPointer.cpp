// Pointer input on a book view: a press and release inside the page make one highlight, rectangle, ink
// stroke or note with the tool that is on; double-click opens a note or deletes an annotation; a click
// marks the annotation under the pointer.
#include "annotation_tools/AnnotationTools.h"
#include "annotation_tools/FormNotes.h"
#include "annotation_tools/FormSticky.h"
#include "annotations/AnnotationHitTest.h"
#include "annotations/AnnotationValues.h"
#include "annotations/SelectionRectangles.h"
#include "bridge/ProgramState.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"

#include <algorithm>

namespace {

JsonDocument pageBox(const TPdfRect &r) {
    return {{"left", r.Left}, {"top", r.Top}, {"right", r.Right}, {"bottom", r.Bottom}};
}

JsonDocument pagePoint(const TPdfPoint &p) {
    return {{"x", p.X}, {"y", p.Y}};
}

PageToDeviceFn toDeviceOf(const TPdfControl &view) {
    return [&view](double x, double y) { return view.PageToDevice(x, y); };
}

bool isErasable(const std::string &type) {
    return type == "RECTANGLE" || type == "HIGHLIGHT" || type == "INK";
}

} // namespace

bool TAnnotationTools::insidePage(const TPdfControl &view, int x) const {
    const QRect page = view.GetPageRect();
    return page.left() <= x && x <= page.left() + page.width();
}

void TAnnotationTools::PDFViewMouseDown(TPdfControl *sender, Qt::MouseButton button, int x, int y) {
    try {
        TReaderSettings *settings = reader.activeSettings();
        if (!settings || !insidePage(*sender, x))
            return;
        reader.state.isDragging = true;
        DrawRect = {x, y, x, y};
        StartX = x;
        StartY = y;
        focusMark.reset();
        if (settings->CurrentRectAnnotState && button == Qt::LeftButton)
            rubberBand = DrawRect.toQRect();
        if (settings->CurrentPenAnnotState && button == Qt::LeftButton) {
            TempInkJSON =
                JsonDocument{{"page", sender->PageIndex()}, {"type", "INK"}, {"color", reader.state.clPen}};
            (*TempInkJSON)["point"] = pagePoint(sender->DeviceToPage(x, y));
            strokeInProgress = {QPoint(x, y)};
        }
        sender->update();
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #1479 : ") + QString::fromUtf8(error.what()));
    }
}

void TAnnotationTools::PDFViewMouseMove(TPdfControl *sender, Qt::MouseButtons buttons, int x, int y) {
    reader.PDFViewMouseMove(sender); // any movement counts as reading
    TReaderSettings *settings = reader.activeSettings();
    if (!reader.state.isDragging || !settings || !insidePage(*sender, x)) {
        StartX = x;
        StartY = y;
        return;
    }
    if (settings->CurrentRectAnnotState) {
        DrawRect.Right = x;
        DrawRect.Bottom = y;
        rubberBand = DrawRect.toQRect();
        sender->update();
    } else if (settings->CurrentPenAnnotState) {
        if (buttons & Qt::LeftButton) {
            strokeInProgress.emplace_back(x, y);
            if (TempInkJSON)
                (*TempInkJSON)["draw_data"].push_back(pagePoint(sender->DeviceToPage(x, y)));
            sender->update();
        }
        DrawRect.Right = x;
        DrawRect.Bottom = y;
    }
}

void TAnnotationTools::PDFViewMouseUp(TPdfControl *sender, Qt::MouseButton button, int x, int y) {
    TReaderSettings *settings = reader.activeSettings();
    if (!reader.state.isDragging || button != Qt::LeftButton || !settings || !insidePage(*sender, x))
        return;
    reader.state.isDragging = false;
    if (settings->CurrentHighlightAnnotState)
        finishHighlight(*sender, *settings, x, y);
    else if (settings->CurrentRectAnnotState)
        finishRectangle(*sender, *settings, x, y);
    else if (settings->CurrentPenAnnotState)
        finishInk(*sender, *settings);
    else if (settings->CurrentTextAnnotState)
        placeNote(*sender);
    else if (settings->CurrentTextSelectState)
        DrawRect = {StartX, StartY, x, y};
    reader.annotationsChanged(sender->parentWidget());
    sender->update();
}

// The band covers the selected text; "point" is the box of the gesture and the text together, except
// that a single line of text gives the box its own height.
void TAnnotationTools::finishHighlight(TPdfControl &view, TReaderSettings &settings, int x, int y) {
    const std::vector<QRect> rects = selectionRectangles(view);
    DrawRect = {StartX, StartY, x, y};
    JsonDocument entry{
        {"page", view.PageIndex()}, {"type", "HIGHLIGHT"}, {"color", reader.state.clHighlighter}};
    for (const QRect &r : rects) {
        const int right = r.left() + r.width(), bottom = r.top() + r.height();
        DrawRect.Right = std::max(DrawRect.Right, right);
        DrawRect.Left = std::min(DrawRect.Left, r.left());
        DrawRect.Top = std::min(DrawRect.Top, r.top());
        DrawRect.Bottom = std::max(DrawRect.Bottom, bottom);
        if (rects.size() == 1) {
            DrawRect.Top = r.top();
            DrawRect.Bottom = bottom;
        }
        entry["draw_data"].push_back(
            {{"left", r.left()}, {"top", r.top()}, {"right", right}, {"bottom", bottom}});
        entry["point_data"].push_back(pageBox(view.DeviceToPage(r)));
    }
    entry["point"] = pageBox(view.DeviceToPage(DrawRect.toQRect()));
    settings.AnnotationObject["data"].push_back(std::move(entry));
    pressOwnButton(&TReaderSettings::CurrentHighlightAnnotState);
}

void TAnnotationTools::finishRectangle(TPdfControl &view, TReaderSettings &settings, int x, int y) {
    rubberBand.reset();
    DrawRect = {StartX, StartY, x, y};
    JsonDocument entry{
        {"page", view.PageIndex()}, {"type", "RECTANGLE"}, {"color", reader.state.clRectangle}};
    entry["point"] = pageBox(view.DeviceToPage(DrawRect.toQRect()));
    settings.AnnotationObject["data"].push_back(std::move(entry));
    pressOwnButton(&TReaderSettings::CurrentRectAnnotState);
}

// The stroke's box spans the points drawn through, not the pen-down point. A stroke without any point
// drawn is not kept.
void TAnnotationTools::finishInk(TPdfControl &view, TReaderSettings &settings) {
    strokeInProgress.clear();
    if (std::optional<JsonDocument> stroke = std::exchange(TempInkJSON, std::nullopt))
        if (const JsonDocument &points = memberAt(*stroke, "draw_data");
            points.is_array() && !points.empty()) {
            (*stroke)["point"].update(pageBox(view.DeviceToPage(inkBox(view, points).toQRect())));
            settings.AnnotationObject["data"].push_back(std::move(*stroke));
        }
    pressOwnButton(&TReaderSettings::CurrentPenAnnotState);
}

// The device box of a stroke's points at the current zoom; it becomes DrawRect.
TDrawRect TAnnotationTools::inkBox(const TPdfControl &view, const JsonDocument &points) {
    std::vector<int> xs, ys;
    for (const JsonDocument &p : points) {
        const QPoint d = view.PageToDevice(numberAt(p, "x"), numberAt(p, "y"));
        xs.push_back(d.x());
        ys.push_back(d.y());
    }
    const auto [left, right] = std::minmax_element(xs.begin(), xs.end());
    const auto [top, bottom] = std::minmax_element(ys.begin(), ys.end());
    DrawRect = {*left, *top, *right, *bottom};
    return DrawRect;
}

void TAnnotationTools::placeNote(TPdfControl &view) {
    DrawRect = {StartX, StartY, StartX + 50, StartY + 50};
    FormSticky->openFor(&view, view.parentWidget()->objectName());
    pressOwnButton(&TReaderSettings::CurrentTextAnnotState);
}

void TAnnotationTools::PDFViewDblClick(TPdfControl *sender) {
    try {
        TReaderSettings *settings = reader.activeSettings();
        if (!settings || !settings->CurrentAnnotViewState)
            return;
        JsonDocument &entries = settings->AnnotationObject["data"];
        const int k = annotationAt(settings->AnnotationObject, sender->PageIndex(), QPoint(StartX, StartY),
                                   toDeviceOf(*sender));
        if (k < 0)
            return;
        const JsonDocument entry = entries[static_cast<std::size_t>(k)];
        const std::string type = textAt(entry, "type");
        if (type == "NOTES")
            FormNotes->showNote(sender->parentWidget()->objectName(), k, sender, entry);
        if (settings->CurrentAnnotDeleteState && isErasable(type) &&
            messageBoxes().show(MsgKind::Confirmation, QStringLiteral("Hapus Anotasi?"),
                                MsgButtons::OkCancel) == MsgAnswer::Ok)
            entries.erase(static_cast<std::size_t>(k));
        reader.annotationsChanged(sender->parentWidget());
        sender->update();
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #2036 : ") + QString::fromUtf8(error.what()));
    }
}

void TAnnotationTools::PDFViewClick(TPdfControl *sender) {
    try {
        TReaderSettings *settings = reader.activeSettings();
        if (!settings || !settings->CurrentAnnotViewState)
            return;
        const int k = annotationAt(settings->AnnotationObject, sender->PageIndex(), QPoint(StartX, StartY),
                                   toDeviceOf(*sender));
        if (k < 0)
            return;
        const auto [p1, p2] = annotationBox(settings->AnnotationObject["data"][static_cast<std::size_t>(k)],
                                            toDeviceOf(*sender));
        DrawRect = {p1.x(), p1.y(), p2.x(), p2.y()};
        focusMark = DrawRect.toQRect();
        sender->update();
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #2032 : ") + QString::fromUtf8(error.what()));
    }
}
