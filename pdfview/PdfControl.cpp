#include "pdfview/PdfControl.h"

#include "pdfview/PdfControlCanvas.h"
#include "pdfview/PdfControlMetrics.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <utility>

using namespace PdfControlMetrics;

TPdfControl::TPdfControl(QWidget *parent)
    : QWidget(parent), FDocument(std::make_unique<TPdfDocument>()),
      FHorzBar(new QScrollBar(Qt::Horizontal, this)), FVertBar(new QScrollBar(Qt::Vertical, this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    resize(130, 180);
    for (QScrollBar *bar : {FHorzBar, FVertBar}) {
        bar->hide();
        bar->setRange(0, 0);
        bar->setSingleStep(ScrollLine);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->installEventFilter(this);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { Guarded([&] { ScrollBarAction(bar, action); }); });
        connect(bar, &QAbstractSlider::valueChanged, this, [this] { ScrollBarMoved(); });
    }
    FScrollTimerTimer.setInterval(DragScrollInterval);
    connect(&FScrollTimerTimer, &QTimer::timeout, this, [this] { Guarded([&] { ScrollTimerTick(); }); });
    FTrippleClickTimer.setSingleShot(true);
    connect(&FTrippleClickTimer, &QTimer::timeout, this, [this] { FCheckForTrippleClick = false; });
}

TPdfControl::~TPdfControl() {
    FScrollTimerTimer.stop();
    FTrippleClickTimer.stop();
    FPrefetch.Discard();
}

void TPdfControl::ReportError(const std::exception &error) const {
    if (OnError)
        OnError(QString::fromUtf8(error.what()));
    else
        qWarning("%s", error.what());
}

// ---------------------------------------------------------------------------------------------- loading

template <typename Load> void TPdfControl::LoadWith(Load load) {
    FPrefetch.Discard();
    FRefusedPages.clear();
    const QScopedValueRollback<bool> loading(FLoading, true);
    try {
        load();
    } catch (...) {
        DocumentLoaded();
        throw;
    }
    DocumentLoaded();
    // The first page is what a load shows: the engine refusing it refuses the document.
    if (const auto refused = FRefusedPages.find(0); refused != FRefusedPages.end())
        throw EPdfUnsupportedFeatureException(refused->second);
}

void TPdfControl::LoadFromStream(QIODevice *AStream, const QByteArray &APassword) {
    LoadWith([&] { FDocument->LoadFromStream(AStream, APassword); });
}

void TPdfControl::LoadFromActiveStream(QIODevice *Stream, const QByteArray &APassword) {
    LoadWith([&] { FDocument->LoadFromActiveStream(Stream, APassword); });
}

void TPdfControl::LoadFromCustom(TPdfDocumentCustomReadProc ReadFunc, quint64 ASize, void *AParam,
                                 const QByteArray &APassword) {
    LoadWith([&] { FDocument->LoadFromCustom(ReadFunc, ASize, AParam, APassword); });
}

void TPdfControl::LoadFromActiveBuffer(const void *Buffer, qint64 Size, const QByteArray &APassword) {
    LoadWith([&] { FDocument->LoadFromActiveBuffer(Buffer, Size, APassword); });
}

void TPdfControl::LoadFromBytes(const QByteArray &ABytes, const QByteArray &APassword) {
    LoadWith([&] { FDocument->LoadFromBytes(ABytes, APassword); });
}

void TPdfControl::LoadFromFile(const QString &AFileName, const QByteArray &APassword,
                               TPdfDocumentLoadOption ALoadOption) {
    LoadWith([&] { FDocument->LoadFromFile(AFileName, APassword, ALoadOption); });
}

void TPdfControl::DocumentLoaded() {
    FPageIndex = 0;
    PageContentChanged(true);
}

void TPdfControl::Close() {
    FPrefetch.Discard();
    FDocument->Close();
    FRefusedPages.clear();
    FPageIndex = 0;
    PageContentChanged(false);
}

// ------------------------------------------------------------------------------------------------ pages

int TPdfControl::GetPageCount() const {
    return FDocument->Active() ? FDocument->PageCount() : 0;
}

bool TPdfControl::IsPageValid() const {
    return FDocument->Active() && FPageIndex < FDocument->PageCount() && !FRefusedPages.contains(FPageIndex);
}

TPdfPage *TPdfControl::GetCurrentPage() const {
    return IsPageValid() ? FDocument->GetPage(FPageIndex) : nullptr;
}

void TPdfControl::SetPageIndex(int Value) {
    InternSetPageIndex(Value, false, false);
}

bool TPdfControl::GotoNextPage(bool ScrollTransition) {
    return FPageIndex + 1 < GetPageCount() && InternSetPageIndex(FPageIndex + 1, ScrollTransition, false);
}

bool TPdfControl::GotoPrevPage(bool ScrollTransition) {
    return FPageIndex > 0 && InternSetPageIndex(FPageIndex - 1, ScrollTransition, false);
}

bool TPdfControl::InternSetPageIndex(int Value, bool ScrollTransition, bool InversScrollTransition) {
    const int count = GetPageCount();
    Value = std::max(0, std::min(Value, count - 1));
    if (Value == FPageIndex)
        return false;
    ClearSelection();
    if (IsPageValid())
        GetCurrentPage()->Close(); // the page left, however it was drawn; reopens on demand
    const bool forwards = Value > FPageIndex;
    FPageIndex = Value;
    if (!ScrollTransition) {
        SetScrollValue(FHorzBar, 0);
        SetScrollValue(FVertBar, 0);
    } else {
        // The page comes in from the side it is entered from: its end when going back.
        FScrollToEndAfterLayout = forwards == InversScrollTransition;
        if (!FScrollToEndAfterLayout)
            SetScrollValue(FVertBar, 0);
    }
    PageContentChanged(true);
    return true;
}

void TPdfControl::PageContentChanged(bool Notify) {
    CheckPageSupported();
    FSelectionActive = false;
    FSelStartCharIndex = -1;
    FSelStopCharIndex = -1;
    UpdateHighlightRects();
    FWebLinksRects.reset(); // collected when first asked for, so a turn needs no text extraction
    FRenderedPageIndex = -1;
    AdjustLayout();
    update();
    if (Notify)
        PageChange();
}

void TPdfControl::CheckPageSupported() {
    if (!IsPageValid())
        return;
    try {
        FDocument->GetPage(FPageIndex);
    } catch (const EPdfUnsupportedFeatureException &refusal) {
        FRefusedPages.emplace(FPageIndex, refusal.Message());
        if (!FLoading)
            QMetaObject::invokeMethod(
                this, [this, page = FPageIndex] { UnsupportedFeature(page); }, Qt::QueuedConnection);
    }
}

void TPdfControl::UnsupportedFeature(int PageIndex) {
    const auto refused = FRefusedPages.find(PageIndex);
    if (refused == FRefusedPages.end())
        return; // the document has been closed or replaced since
    if (OnUnsupportedFeature)
        OnUnsupportedFeature(this, PageIndex, refused->second);
    else
        qWarning("%s", qPrintable(refused->second));
}

void TPdfControl::PageChange() {
    if (OnPageChange)
        OnPageChange(this);
}

void TPdfControl::WebLinkClick(const QString &Url) {
    if (OnWebLinkClick)
        OnWebLinkClick(this, Url);
}

// --------------------------------------------------------------------------------------------- settings

void TPdfControl::SetScaleMode(TPdfControlScaleMode Value) {
    if (Value == FScaleMode)
        return;
    FScaleMode = Value;
    AdjustLayout();
    update();
}

void TPdfControl::SetZoomPercentage(int Value) {
    Value = std::clamp(Value, 1, 10000);
    if (Value == FZoomPercentage)
        return;
    FZoomPercentage = Value;
    AdjustLayout();
    update();
}

void TPdfControl::SetRotation(TPdfPageRotation Value) {
    if (Value == FRotation)
        return;
    FRotation = Value;
    FRenderedPageIndex = -1;
    AdjustLayout();
    update();
}

void TPdfControl::SetPageColor(TColor Value) {
    if (Value == FPageColor)
        return;
    FPageColor = Value;
    InvalidatePage();
}

void TPdfControl::SetDrawOptions(TPdfPageRenderOptions Value) {
    if (Value == FDrawOptions)
        return;
    FDrawOptions = Value;
    InvalidatePage();
}

void TPdfControl::SetColor(TColor Value) {
    if (Value == FColor)
        return;
    FColor = Value;
    if (FPageColor == clDefault)
        FRenderedPageIndex = -1;
    update();
}

void TPdfControl::SetBufferedPageDraw(bool Value) {
    if (Value == FBufferedPageDraw)
        return;
    FBufferedPageDraw = Value;
    update();
}

void TPdfControl::SetPrefetchNextPage(bool Value) {
    FPrefetchNextPage = Value;
    if (!Value)
        FPrefetch.Discard(FPageIndex);
}

void TPdfControl::InvalidatePage() {
    FRenderedPageIndex = -1;
    update(GetPageRect());
}

QColor TPdfControl::EffectivePageColor() const {
    return toQColor(FPageColor == clDefault ? FColor : FPageColor);
}

// ----------------------------------------------------------------------------------------------- layout

QRect TPdfControl::ClientRect() const {
    return QRect(0, 0, FLayout.ClientWidth, FLayout.ClientHeight);
}

void TPdfControl::AdjustLayout() {
    TPdfPage *page = GetCurrentPage();
    TPdfControlLayout layout;
    layout.ClientWidth = width();
    layout.ClientHeight = height();
    if (page && page->Width() > 0 && page->Height() > 0) {
        TPdfControlLayoutInput in;
        in.PageWidth = page->Width();
        in.PageHeight = page->Height();
        in.QuarterTurn = FRotation == pr90Clockwise || FRotation == pr90CounterClockwide;
        in.DpiX = logicalDpiX();
        in.DpiY = logicalDpiY();
        in.ScaleMode = FScaleMode;
        in.ZoomPercentage = FZoomPercentage;
        in.Width = width();
        in.Height = height();
        const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FVertBar);
        in.HorzScrollBarHeight = extent;
        in.VertScrollBarWidth = extent;
        layout = computePdfControlLayout(in);
    }
    FLayout = layout;
    FDrawWidth = layout.DrawWidth;
    FDrawHeight = layout.DrawHeight;

    FAdjustingScrollBars = true;
    FHorzBar->setRange(0, layout.HorzScrollBar ? layout.DrawWidth - layout.ClientWidth : 0);
    FHorzBar->setPageStep(std::max(1, layout.ClientWidth));
    FHorzBar->setGeometry(0, layout.ClientHeight, layout.ClientWidth, height() - layout.ClientHeight);
    FHorzBar->setVisible(layout.HorzScrollBar);
    FVertBar->setRange(0, layout.VertScrollBar ? layout.DrawHeight - layout.ClientHeight : 0);
    FVertBar->setPageStep(std::max(1, layout.ClientHeight));
    FVertBar->setGeometry(layout.ClientWidth, 0, width() - layout.ClientWidth, layout.ClientHeight);
    FVertBar->setVisible(layout.VertScrollBar);
    if (FScrollToEndAfterLayout)
        FVertBar->setValue(FVertBar->maximum());
    FScrollToEndAfterLayout = false;
    FAdjustingScrollBars = false;
    PlacePage();
}

void TPdfControl::PlacePage() {
    FDrawX = pdfControlPageOffset(FLayout.ClientWidth, FDrawWidth, HorzScrollPosition());
    FDrawY = pdfControlPageOffset(FLayout.ClientHeight, FDrawHeight, VertScrollPosition());
}

int TPdfControl::HorzScrollPosition() const {
    return FLayout.HorzScrollBar ? FHorzBar->value() : 0;
}
int TPdfControl::VertScrollPosition() const {
    return FLayout.VertScrollBar ? FVertBar->value() : 0;
}

void TPdfControl::resizeEvent(QResizeEvent *) {
    Guarded([&] { AdjustLayout(); });
    update();
}

// ------------------------------------------------------------------------------------------------ paint

bool TPdfControl::DrawDirectly() const {
    return !FBufferedPageDraw ||
           pdfControlDrawsDirectly(FDrawWidth, FDrawHeight, width(), height(), devicePixelRatioF());
}

QSize TPdfControl::DevicePixels(QSize Size) const {
    const qreal ratio = devicePixelRatioF();
    return QSize(pdfControlDevicePixels(Size.width(), ratio), pdfControlDevicePixels(Size.height(), ratio));
}

TPdfPageImageKey TPdfControl::CurrentImageKey() const {
    return TPdfPageImageKey{FPageIndex, DevicePixels(QSize(FDrawWidth, FDrawHeight)), FRotation, FDrawOptions,
                            EffectivePageColor().rgb()};
}

const QImage &TPdfControl::PageBitmap() {
    const TPdfPageImageKey key = CurrentImageKey();
    if (FPageBitmap.size() != key.Size)
        FRenderedPageIndex = -1;
    if (FRenderedPageIndex != FPageIndex) {
        QImage image = FPrefetch.Take(key);
        if (image.isNull())
            image = renderPageImage(*GetCurrentPage(), key.Size, FRotation, FDrawOptions,
                                    EffectivePageColor(), std::exchange(FPageBitmap, QImage()));
        image.setDevicePixelRatio(devicePixelRatioF());
        FPageBitmap = std::move(image);
        FRenderedPageIndex = FPageIndex;
    }
    return FPageBitmap;
}

void TPdfControl::PaintPage(QPainter &painter, const QRect &clip) {
    const QRect pageRect = GetPageRect();
    const QRect client = ClientRect();
    const QColor margin = toQColor(FColor);
    for (const QRect &r : QRegion(client).subtracted(QRegion(pageRect)))
        painter.fillRect(r, margin);

    const QRect visible = clip & pageRect & client;
    if (visible.isEmpty())
        return;
    if (DrawDirectly())
        DrawPageDirectly(painter, visible);
    else
        DrawPageBitmap(painter, visible);
}

void TPdfControl::DrawPageBitmap(QPainter &painter, const QRect &visible) {
    const QImage &bitmap = PageBitmap();
    // The image holds screen pixels: the part shown is picked in them.
    const QRectF part = visible.translated(-GetPageRect().topLeft());
    const double sx = double(bitmap.width()) / FDrawWidth, sy = double(bitmap.height()) / FDrawHeight;
    painter.drawImage(QRectF(visible), bitmap,
                      QRectF(part.x() * sx, part.y() * sy, part.width() * sx, part.height() * sy));
}

void TPdfControl::DrawPageDirectly(QPainter &painter, const QRect &visible) {
    // Only the exposed part of a page too large to keep is rendered, on each paint, in screen pixels.
    FPageBitmap = QImage();
    FRenderedPageIndex = -1;
    const qreal ratio = devicePixelRatioF();
    const auto device = [ratio](int extent) { return pdfControlDevicePixels(extent, ratio); };
    QImage surface(DevicePixels(visible.size()), QImage::Format_RGB32);
    surface.fill(EffectivePageColor());
    TPdfBitmap bitmap(surface);
    GetCurrentPage()->DrawToPdfBitmap(bitmap, device(FDrawX - visible.left()), device(FDrawY - visible.top()),
                                      device(FDrawWidth), device(FDrawHeight), FRotation, FDrawOptions);
    surface.setDevicePixelRatio(ratio);
    painter.drawImage(visible.topLeft(), surface);
}

void TPdfControl::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    const QRect clip = event->rect();
    bool painted = false;
    if (IsPageValid() && FDrawWidth > 0 && FDrawHeight > 0) {
        try {
            PaintPage(painter, clip);
            painted = true;
        } catch (const std::exception &) {
            // A page the engine cannot draw shows as an empty control; its error surfaces on other use.
            painted = false;
        }
    }
    if (!painted) {
        FPageBitmap = QImage();
        painter.fillRect(rect(), toQColor(FColor));
    } else {
        if (FLayout.HorzScrollBar && FLayout.VertScrollBar)
            painter.fillRect(QRect(FLayout.ClientWidth, FLayout.ClientHeight, width() - FLayout.ClientWidth,
                                   height() - FLayout.ClientHeight),
                             palette().window());
        painter.save();
        painter.setClipRect(ClientRect() & clip);
        if (FSelectionActive)
            for (const QRect &r : SelectionRects())
                if (r.intersects(clip))
                    blendRect(painter, r, SelectionColor, BlendOpacity);
        for (const QRect &r : HighlightRects())
            if (r.intersects(clip))
                blendRect(painter, r, HighlightColor, BlendOpacity);
        painter.restore();
    }
    if (OnPaint && !FReportingPaintError) {
        FCanvas = &painter;
        try {
            OnPaint(this);
        } catch (const std::exception &e) {
            // The box repaints the control beneath it; a failing host is reported once per failure.
            FCanvas = nullptr;
            FReportingPaintError = true;
            ReportError(e);
            FReportingPaintError = false;
        }
        FCanvas = nullptr;
    }
    if (painted && !FPrefetchQueued) {
        // Started once the paint is on screen, so the pool thread does not compete with it.
        FPrefetchQueued = true;
        QMetaObject::invokeMethod(this, &TPdfControl::StartPrefetch, Qt::QueuedConnection);
    }
}

void TPdfControl::StartPrefetch() {
    FPrefetchQueued = false;
    const int next = FPageIndex + 1;
    if (!FPrefetchNextPage || !FBufferedPageDraw || FRenderedPageIndex != FPageIndex ||
        next >= GetPageCount())
        return;
    TPdfPageImageKey key = CurrentImageKey();
    key.PageIndex = next;
    if (FPrefetch.Pending())
        return;
    TPdfControlLayoutInput in;
    in.QuarterTurn = FRotation == pr90Clockwise || FRotation == pr90CounterClockwide;
    in.DpiX = logicalDpiX();
    in.DpiY = logicalDpiY();
    in.ScaleMode = FScaleMode;
    in.ZoomPercentage = FZoomPercentage;
    in.Width = width();
    in.Height = height();
    in.HorzScrollBarHeight = in.VertScrollBarWidth =
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FVertBar);
    const qreal ratio = devicePixelRatioF();
    FPrefetch.Start(*FDocument, key, [in, ratio](double pageWidth, double pageHeight) mutable {
        if (pageWidth <= 0 || pageHeight <= 0)
            return QSize();
        in.PageWidth = pageWidth;
        in.PageHeight = pageHeight;
        const TPdfControlLayout layout = computePdfControlLayout(in);
        if (pdfControlDrawsDirectly(layout.DrawWidth, layout.DrawHeight, in.Width, in.Height, ratio))
            return QSize(); // such a page is drawn directly, never from an image
        return QSize(pdfControlDevicePixels(layout.DrawWidth, ratio),
                     pdfControlDevicePixels(layout.DrawHeight, ratio));
    });
}

// -------------------------------------------------------------------------------------------- geometry

QRect TPdfControl::GetPageRect() const {
    return QRect(FDrawX, FDrawY, FDrawWidth, FDrawHeight);
}

TPdfPoint TPdfControl::DeviceToPage(int X, int Y) const {
    TPdfPage *page = GetCurrentPage();
    return page ? page->DeviceToPage(FDrawX, FDrawY, FDrawWidth, FDrawHeight, X, Y, FRotation) : TPdfPoint{};
}

TPdfRect TPdfControl::DeviceToPage(const QRect &R) const {
    TPdfPage *page = GetCurrentPage();
    return page ? page->DeviceToPage(FDrawX, FDrawY, FDrawWidth, FDrawHeight, R, FRotation) : TPdfRect{};
}

QPoint TPdfControl::PageToDevice(double X, double Y) const {
    TPdfPage *page = GetCurrentPage();
    return page ? page->PageToDevice(FDrawX, FDrawY, FDrawWidth, FDrawHeight, X, Y, FRotation) : QPoint();
}

QRect TPdfControl::PageToDevice(const TPdfRect &R) const {
    TPdfPage *page = GetCurrentPage();
    return page ? page->PageToDevice(FDrawX, FDrawY, FDrawWidth, FDrawHeight, R, FRotation) : QRect();
}

std::vector<QRect> TPdfControl::ToDeviceRects(const std::vector<TPdfRect> &rects) const {
    const TPdfDocumentLock lock(*FDocument);
    std::vector<QRect> device;
    device.reserve(rects.size());
    for (const TPdfRect &r : rects)
        device.push_back(PageToDevice(r));
    return device;
}
