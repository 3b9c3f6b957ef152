#pragma once
#include "pdf/PdfiumCore.h"
#include "pdfview/PdfColor.h"
#include "pdfview/PdfControlLayout.h"
#include "pdfview/PdfPagePrefetch.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QScrollBar;

// A custom-drawn, focusable view of one page of a PDF document at a time: lays the page out by a scale
// mode, centres and scrolls it, turns pages (also when scrolling runs past an edge), lets the user select
// text, marks the hits of a highlight text, and reports page changes and paint passes to its host, whose
// marks land above page, selection and highlights.
//
// Layout, geometry and events are in device-independent pixels; on a screen with a device pixel ratio
// above 1 the page is rendered in the screen's own pixels, so its text stays sharp. The engine page of a
// page left behind is released, whether it was drawn from an image or directly.
//
// The document may be read from another thread meanwhile (a search walking its pages' text): each of the
// control's sequences of page calls holds the document's lock throughout.
//
// Host events run before the control's own handling of the same input, so a host reading the selection
// in OnMouseUp sees it as of the last move. A host sets Key to 0 in OnKeyDown to keep the key from the
// control.
//
// A page the engine refuses (a feature it does not support, such as a signature field) is shown as no
// page: the control paints only its colour there and never asks the engine for it again. The host hears
// of each such page once, through OnUnsupportedFeature; a refusal of the first page at loading is the
// load's error instead.
class TPdfControl : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TPdfControl *Sender)>;
    using TWebLinkClickEvent = std::function<void(TPdfControl *Sender, const QString &Url)>;
    using TMouseEvent = std::function<void(TPdfControl *Sender, Qt::MouseButton Button,
                                           Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(TPdfControl *Sender, Qt::MouseButtons Buttons,
                                               Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TKeyEvent = std::function<void(TPdfControl *Sender, int &Key, Qt::KeyboardModifiers Shift)>;

    explicit TPdfControl(QWidget *parent = nullptr);
    ~TPdfControl() override;

    // ---- Loading: each form mirrors the document's; whatever the outcome the control then shows page 0
    // and fires OnPageChange, and a load error propagates after that.
    void LoadFromStream(QIODevice *AStream, const QByteArray &APassword = {});
    void LoadFromActiveStream(QIODevice *Stream, const QByteArray &APassword = {});
    void LoadFromCustom(TPdfDocumentCustomReadProc ReadFunc, quint64 ASize, void *AParam,
                        const QByteArray &APassword = {});
    void LoadFromActiveBuffer(const void *Buffer, qint64 Size, const QByteArray &APassword = {});
    void LoadFromBytes(const QByteArray &ABytes, const QByteArray &APassword = {});
    void LoadFromFile(const QString &AFileName, const QByteArray &APassword = {},
                      TPdfDocumentLoadOption ALoadOption = dloNormal);
    // Closes the document and shows no page, without firing OnPageChange.
    void Close();

    TPdfDocument *Document() const { return FDocument.get(); }

    // ---- Pages
    int GetPageCount() const;
    // The page shown; null when no page is valid.
    TPdfPage *GetCurrentPage() const;
    // A document is open, the page index is below its page count and the engine did not refuse that page.
    bool IsPageValid() const;
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int Value);
    bool GotoNextPage(bool ScrollTransition = false);
    bool GotoPrevPage(bool ScrollTransition = false);

    // ---- Settings
    TPdfControlScaleMode ScaleMode() const { return FScaleMode; }
    void SetScaleMode(TPdfControlScaleMode Value);
    int ZoomPercentage() const { return FZoomPercentage; }
    void SetZoomPercentage(int Value);
    TColor PageColor() const { return FPageColor; }
    void SetPageColor(TColor Value);
    TColor Color() const { return FColor; } // the margin around the page
    void SetColor(TColor Value);
    TPdfPageRotation Rotation() const { return FRotation; }
    void SetRotation(TPdfPageRotation Value);
    TPdfPageRenderOptions DrawOptions() const { return FDrawOptions; }
    void SetDrawOptions(TPdfPageRenderOptions Value);
    bool AllowUserTextSelection() const { return FAllowUserTextSelection; }
    void SetAllowUserTextSelection(bool Value) { FAllowUserTextSelection = Value; }
    bool AllowUserPageChange() const { return FAllowUserPageChange; }
    void SetAllowUserPageChange(bool Value) { FAllowUserPageChange = Value; }
    bool BufferedPageDraw() const { return FBufferedPageDraw; }
    void SetBufferedPageDraw(bool Value);
    bool ScrollTimer() const { return FScrollTimer; }
    void SetScrollTimer(bool Value) { FScrollTimer = Value; }
    // Kept and passed on by every scroll; Qt's buffered painting moves the content at once either way.
    bool SmoothScroll() const { return FSmoothScroll; }
    void SetSmoothScroll(bool Value) { FSmoothScroll = Value; }
    bool AutoPageChange() const { return FAutoPageChange; }
    void SetAutoPageChange(bool Value) { FAutoPageChange = Value; }
    // Renders the next page on a pool thread after the current one is shown.
    bool PrefetchNextPage() const { return FPrefetchNextPage; }
    void SetPrefetchNextPage(bool Value);
    // Waits until a background rendering in flight has finished (one starts from the event loop after a
    // paint).
    void WaitForPrefetch() const { FPrefetch.WaitForFinished(); }

    // ---- Geometry; all zeros without a valid page
    QRect GetPageRect() const;
    TPdfPoint DeviceToPage(int X, int Y) const;
    TPdfRect DeviceToPage(const QRect &R) const;
    QPoint PageToDevice(double X, double Y) const;
    QRect PageToDevice(const TPdfRect &R) const;
    // Scroll positions (0 while the bar is hidden) and whether each bar is shown.
    int HorzScrollPosition() const;
    int VertScrollPosition() const;
    bool HorzScrollBarShown() const { return FLayout.HorzScrollBar; }
    bool VertScrollBarShown() const { return FLayout.VertScrollBar; }
    QScrollBar *HorzScrollBar() const { return FHorzBar; }
    QScrollBar *VertScrollBar() const { return FVertBar; }

    // ---- Selection
    int GetSelStart() const;
    int GetSelLength() const;
    QString GetSelText() const;
    bool SelectionActive() const { return FSelectionActive; }
    void SelectText(int CharIndex, int Count);
    void SelectAll();
    bool SelectWord(int CharIndex);
    bool SelectLine(int CharIndex);
    void ClearSelection();
    void CopyToClipboard() const;
    // The page text inside a device rectangle.
    QString GetTextInRect(const QRect &R) const;

    // ---- Highlight of every hit of a text on the page shown, kept across page changes
    void HightlightText(const QString &SearchText, bool MatchCase, bool MatchWholeWord);
    void ClearHighlightText();
    // The text whose hits are marked, empty when none is.
    const QString &HighlightedText() const { return FHighlightText; }
    // Device rectangles of the hits on the current page.
    std::vector<QRect> HighlightRects() const;

    // ---- Web links
    bool IsWebLinkAt(int X, int Y) const;
    bool IsWebLinkAt(int X, int Y, QString &Url) const;

    // ---- Scrolling
    bool ScrollContent(int XOffset, int YOffset, bool Smooth = false);
    bool ScrollContentTo(int X, int Y, bool Smooth = false);

    // The painter of the paint pass in progress; set only while OnPaint runs.
    QPainter *Canvas() const { return FCanvas; }

    // ---- Events
    TNotifyEvent OnPageChange;
    TNotifyEvent OnPaint;
    TWebLinkClickEvent OnWebLinkClick;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    // An input handler failed: the owner of the window shows the error's message (unset: logged).
    std::function<void(const QString &message)> OnError;
    // The engine refused page PageIndex for a feature it does not support; Message is the refusal's
    // text. Told once per page of a loaded document, from the event loop (never from inside a paint or
    // a page change), so the host may show a box; unset: logged.
    std::function<void(TPdfControl *Sender, int PageIndex, const QString &Message)> OnUnsupportedFeature;

protected:
    virtual void WebLinkClick(const QString &Url);
    virtual void PageChange();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <typename Load> void LoadWith(Load load);
    void DocumentLoaded();
    // Asks the engine for the page shown, once; a refusal marks it and is told to the host.
    void CheckPageSupported();
    void UnsupportedFeature(int PageIndex);
    bool InternSetPageIndex(int Value, bool ScrollTransition, bool InversScrollTransition);
    void PageContentChanged(bool Notify);
    void AdjustLayout();
    void PlacePage();
    QRect ClientRect() const;
    QColor EffectivePageColor() const;
    void InvalidatePage();

    void PaintPage(QPainter &painter, const QRect &clip);
    bool DrawDirectly() const;
    void DrawPageDirectly(QPainter &painter, const QRect &visible);
    void DrawPageBitmap(QPainter &painter, const QRect &visible);
    QSize DevicePixels(QSize Size) const; // screen pixels of a size in device-independent pixels
    const QImage &PageBitmap();
    TPdfPageImageKey CurrentImageKey() const;
    void StartPrefetch();

    void SetSelection(bool Active, int StartIndex, int StopIndex);
    bool SetSelStopCharIndex(int X, int Y);
    std::vector<QRect> SelectionRects() const;
    std::vector<QRect> ToDeviceRects(const std::vector<TPdfRect> &rects) const;
    void InvalidateDifference(const std::vector<QRect> &before, const std::vector<QRect> &after);
    int CharIndexAt(int X, int Y, double Tolerance) const;
    bool IsInCharBox(const QPoint &pt, int CharIndex) const;
    std::u16string PageText() const;

    void UpdateHighlightRects();
    std::vector<TPdfRect> FindHighlightRects() const;
    // Per web link of the current page, its rectangles in page space.
    const std::vector<std::vector<TPdfRect>> &WebLinksRects() const;

    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, const QPoint &pt, bool DoubleClick);
    void SelectionMouseDown(const QPoint &pt, bool DoubleClick);
    void UpdateCursor(const QPoint &pt);
    bool IsOutside(const QPoint &pt) const;
    void StartScrollTimer();
    void StopScrollTimer();
    void ScrollTimerTick();
    void ScrollBarAction(QScrollBar *bar, int action);
    void ScrollBarMoved();
    bool HandleKey(int Key, Qt::KeyboardModifiers Shift);
    bool GotoPageAt(int Value, bool AtEnd);
    void SetScrollValue(QScrollBar *bar, int value);
    // Runs an input handler; an error is shown as the application shows unhandled errors.
    template <typename Handler> void Guarded(Handler handler) {
        try {
            handler();
        } catch (const std::exception &error) {
            ReportError(error);
        }
    }
    void ReportError(const std::exception &error) const;

    std::unique_ptr<TPdfDocument> FDocument;
    int FPageIndex = 0;
    int FRenderedPageIndex = -1;
    QImage FPageBitmap;
    int FDrawX = 0;
    int FDrawY = 0;
    int FDrawWidth = 0;
    int FDrawHeight = 0;
    TPdfPageRotation FRotation = prNormal;
    bool FMousePressed = false;
    bool FSelectionActive = false;
    bool FAllowUserTextSelection = true;
    bool FAllowUserPageChange = true;
    bool FBufferedPageDraw = true;
    bool FSmoothScroll = false;
    bool FScrollTimerActive = false;
    bool FScrollTimer = true;
    int FSelStartCharIndex = -1;
    int FSelStopCharIndex = -1;
    QPoint FMouseDownPt;
    bool FCheckForTrippleClick = false;
    mutable std::optional<std::vector<std::vector<TPdfRect>>> FWebLinksRects;
    TPdfPageRenderOptions FDrawOptions;
    TPdfControlScaleMode FScaleMode = TPdfControlScaleMode::smFitAuto;
    int FZoomPercentage = 100;
    TColor FPageColor = clWhite;
    QPoint FScrollMousePos;
    std::vector<TPdfRect> FHighlightTextRects;
    QString FHighlightText;
    bool FHighlightMatchCase = false;
    bool FHighlightMatchWholeWord = false;
    bool FAutoPageChange = false;
    TColor FColor = clGray;
    // Pages of the loaded document that the engine refused, with the refusal's text.
    std::map<int, QString> FRefusedPages;
    bool FLoading = false; // a refusal of the first page is then the load's error

    // Qt pieces
    QScrollBar *FHorzBar;
    QScrollBar *FVertBar;
    QTimer FScrollTimerTimer;  // drag-scroll, 50 ms
    QTimer FTrippleClickTimer; // one double-click time after a word was selected
    TPdfControlLayout FLayout; // the last layout; client size and shown bars
    bool FAdjustingScrollBars = false;
    bool FScrollToEndAfterLayout = false;
    bool FClickPending = false;
    QPainter *FCanvas = nullptr;
    bool FReportingPaintError = false;
    bool FPrefetchNextPage = true;
    bool FPrefetchQueued = false;
    TPdfPagePrefetch FPrefetch;
};

// Whether a page's web link may be handed to the system: http, https and mailto addresses only, so text
// in a book cannot open local files or run programs.
bool isOpenableWebLink(const QString &Url);

// Opens an openable web link in the system's browser or mail program; attach as OnWebLinkClick.
void openWebLinkInBrowser(TPdfControl *Sender, const QString &Url);
