#pragma once
#include "reader/ReaderViewHandlers.h"
#include "service/JsonDocument.h"

#include <QImage>
#include <QObject>
#include <QRect>

#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QMenu;
class ReaderPanel;
struct TDetailBook;
class TFormAnnotSettings;
class TFormNotes;
class TFormSticky;
class TPdfControl;
class TReaderController;
struct TReaderSettings;

// A rectangle by its four edges in device pixels, kept as given (left may exceed right).
struct TDrawRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    // The Qt rectangle with the same corners, the form the view converts corner by corner.
    QRect toQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
};

// The annotation tools of the reader toolbar and what the pointer, the keys and painting do with them
// on the book views: highlights, rectangles, ink strokes and notes in the page's annotation document,
// double-click to open a note or delete an annotation, and copying a passage with its citation.
class TAnnotationTools : public QObject, public ReaderViewHandlers {
    Q_OBJECT
public:
    // Its three windows are children of `window`.
    TAnnotationTools(TReaderController &reader, ReaderPanel &panel, QWidget *window);
    ~TAnnotationTools() override;

    void attachInput(TPdfControl &view) override;
    void attachPaint(TPdfControl &view) override;

    // The one handler of the tool buttons, "Info" and the colour button.
    void ButtonAnnotClick(QObject *sender);
    void PDFViewMouseDown(TPdfControl *sender, Qt::MouseButton button, int x, int y);
    void PDFViewMouseMove(TPdfControl *sender, Qt::MouseButtons buttons, int x, int y);
    void PDFViewMouseUp(TPdfControl *sender, Qt::MouseButton button, int x, int y);
    void PDFViewDblClick(TPdfControl *sender);
    void PDFViewClick(TPdfControl *sender);
    void PDFViewPaint(TPdfControl *sender);
    // A key going down on a book view; true when it was the copy shortcut, which it takes.
    bool PDFViewKeyDown(TPdfControl *sender, const QKeyEvent &event);

    // Saves the active book's annotations and copied passages to a Markdown or HTML file the member picks.
    void exportNotes();
    // The menu a right-click on a book view offers while text is selected: the copy with citation. Null
    // without a selection. The caller owns the menu.
    QMenu *selectionMenu(TPdfControl &view);

    // Shows the book information window for a book (set by the main window).
    std::function<void(const TDetailBook &book)> showBookInfo;

    // ---- Gesture state: one pointer, so one set for all views ----
    TDrawRect DrawRect;
    int StartX = 0, StartY = 0;
    std::optional<JsonDocument> TempInkJSON;

    TFormSticky *FormSticky;
    TFormNotes *FormNotes;
    TFormAnnotSettings *FormAnnotSettings;
    QImage NoteAnnotationImage;

protected:
    // Brings the key presses of each book view to PDFViewKeyDown before the view sees them.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Tool;
    static std::vector<Tool> toolTable(const ReaderPanel &panel);
    const std::vector<Tool> &tools() const { return toolRows; }
    void switchTool(const Tool &tool, TReaderSettings &settings, TPdfControl &view);
    void showAnnotations(TReaderSettings &settings, TPdfControl &view);
    // Switches a tool off after its one use, as a press on its button does.
    void pressOwnButton(bool TReaderSettings::*flag);

    bool insidePage(const TPdfControl &view, int x) const;
    void finishHighlight(TPdfControl &view, TReaderSettings &settings, int x, int y);
    void finishRectangle(TPdfControl &view, TReaderSettings &settings, int x, int y);
    void finishInk(TPdfControl &view, TReaderSettings &settings);
    TDrawRect inkBox(const TPdfControl &view, const JsonDocument &points);
    void placeNote(TPdfControl &view);
    void copyWithCitation(TPdfControl &view);
    void paintMarks(TPdfControl &view);

    TReaderController &reader;
    ReaderPanel &panel;
    std::vector<Tool> toolRows;
    // Marks shown over the page until the gesture ends: the rubber band, the stroke being drawn, and
    // the focus mark of a clicked annotation.
    std::optional<QRect> rubberBand;
    std::vector<QPoint> strokeInProgress;
    std::optional<QRect> focusMark;
};
