#include "pdf/PdfiumCtrl.h"

#include "dialogs/MessageBoxes.h"
#include "pdf/PdfTextBoundaries.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int ScrollLine = 25;                 // pixels per arrow key, scroll-bar arrow and drag-scroll tick
constexpr int DragScrollInterval = 50;         // milliseconds
constexpr qint64 DirectDrawPixels = 8'847'360; // pages above this (and the control) are not buffered
constexpr double NearestCharTolerance = 65535; // page points: any character of the page
constexpr double TextCursorTolerance = 5;      // page points
constexpr double BlendOpacity = 127.0 / 255.0; // constant opacity of selection and highlight marks
const QColor SelectionColor(50, 142, 254);
const QColor HighlightColor(254, 142, 50);

bool containsRect(const std::vector<QRect> &rects, const QRect &r) {
    return std::find(rects.begin(), rects.end(), r) != rects.end();
}

Qt::KeyboardModifiers keyModifiers(Qt::KeyboardModifiers modifiers) {
    return modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

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

// ---------------------------------------------------------------------------------------------- loading

template <typename Load> void TPdfControl::LoadWith(Load load) {
    FPrefetch.Discard();
    try {
        load();
    } catch (...) {
        DocumentLoaded();
        throw;
    }
    DocumentLoaded();
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
    FPageIndex = 0;
    PageContentChanged(false);
}

// ------------------------------------------------------------------------------------------------ pages

int TPdfControl::GetPageCount() const {
    return FDocument->Active() ? FDocument->PageCount() : 0;
}

bool TPdfControl::IsPageValid() const {
    return FDocument->Active() && FPageIndex < FDocument->PageCount();
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
    if (IsPageValid() && FRenderedPageIndex == FPageIndex)
        GetCurrentPage()->Close(); // reopens on demand
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
    if (!FBufferedPageDraw)
        return true;
    const qint64 pagePixels = qint64(FDrawWidth) * FDrawHeight;
    return pagePixels > qint64(width()) * height() && pagePixels > DirectDrawPixels;
}

TPdfPageImageKey TPdfControl::CurrentImageKey() const {
    return TPdfPageImageKey{FPageIndex, QSize(FDrawWidth, FDrawHeight), FRotation, FDrawOptions,
                            EffectivePageColor().rgb()};
}

const QImage &TPdfControl::PageBitmap() {
    const QSize size(FDrawWidth, FDrawHeight);
    if (FPageBitmap.size() != size)
        FRenderedPageIndex = -1;
    if (FRenderedPageIndex != FPageIndex) {
        const TPdfPageImageKey key = CurrentImageKey();
        QImage image = FPrefetch.Take(key);
        if (image.isNull())
            image = renderPageImage(*GetCurrentPage(), size, FRotation, FDrawOptions, EffectivePageColor());
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
    if (DrawDirectly()) {
        // Only the exposed part of a page too large to keep is rendered, on each paint.
        FPageBitmap = QImage();
        FRenderedPageIndex = -1;
        QImage surface(visible.size(), QImage::Format_RGB32);
        surface.fill(EffectivePageColor());
        TPdfBitmap bitmap(surface);
        GetCurrentPage()->DrawToPdfBitmap(bitmap, FDrawX - visible.left(), FDrawY - visible.top(), FDrawWidth,
                                          FDrawHeight, FRotation, FDrawOptions);
        painter.drawImage(visible.topLeft(), surface);
    } else {
        painter.drawImage(visible, PageBitmap(), visible.translated(-pageRect.topLeft()));
    }
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
        painter.setOpacity(BlendOpacity);
        if (FSelectionActive)
            for (const QRect &r : SelectionRects())
                if (r.intersects(clip))
                    painter.fillRect(r, SelectionColor);
        for (const QRect &r : HighlightRects())
            if (r.intersects(clip))
                painter.fillRect(r, HighlightColor);
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
            showError(QString::fromUtf8(e.what()));
            FReportingPaintError = false;
        }
        FCanvas = nullptr;
    }
    if (painted)
        StartPrefetch();
}

void TPdfControl::StartPrefetch() {
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
    FPrefetch.Start(*FDocument, key, [in](double pageWidth, double pageHeight) mutable {
        if (pageWidth <= 0 || pageHeight <= 0)
            return QSize();
        in.PageWidth = pageWidth;
        in.PageHeight = pageHeight;
        const TPdfControlLayout layout = computePdfControlLayout(in);
        const qint64 pixels = qint64(layout.DrawWidth) * layout.DrawHeight;
        if (pixels > qint64(in.Width) * in.Height && pixels > DirectDrawPixels)
            return QSize(); // such a page is drawn directly, never from an image
        return QSize(layout.DrawWidth, layout.DrawHeight);
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
    std::vector<QRect> device;
    device.reserve(rects.size());
    for (const TPdfRect &r : rects)
        device.push_back(PageToDevice(r).normalized());
    return device;
}

void TPdfControl::InvalidateDifference(const std::vector<QRect> &before, const std::vector<QRect> &after) {
    for (const QRect &r : before)
        if (!containsRect(after, r))
            update(r);
    for (const QRect &r : after)
        if (!containsRect(before, r))
            update(r);
}

// ---------------------------------------------------------------------------------------------- selection

int TPdfControl::GetSelStart() const {
    if (!FSelectionActive || !IsPageValid())
        return 0;
    return std::min(FSelStartCharIndex, FSelStopCharIndex);
}

int TPdfControl::GetSelLength() const {
    if (!FSelectionActive || !IsPageValid())
        return 0;
    return std::abs(FSelStopCharIndex - FSelStartCharIndex) + 1;
}

QString TPdfControl::GetSelText() const {
    const int length = GetSelLength();
    return length > 0 ? GetCurrentPage()->ReadText(GetSelStart(), length) : QString();
}

std::vector<QRect> TPdfControl::SelectionRects() const {
    std::vector<TPdfRect> rects;
    const int length = GetSelLength();
    if (length > 0) {
        TPdfPage *page = GetCurrentPage();
        const int count = page->GetTextRectCount(GetSelStart(), length);
        for (int i = 0; i < count; ++i)
            rects.push_back(page->GetTextRect(i));
    }
    return ToDeviceRects(rects);
}

void TPdfControl::SetSelection(bool Active, int StartIndex, int StopIndex) {
    Active = Active && StartIndex >= 0 && StopIndex >= 0;
    if (Active == FSelectionActive && StartIndex == FSelStartCharIndex && StopIndex == FSelStopCharIndex)
        return;
    const std::vector<QRect> before = SelectionRects();
    FSelectionActive = Active;
    FSelStartCharIndex = StartIndex;
    FSelStopCharIndex = StopIndex;
    InvalidateDifference(before, SelectionRects());
}

void TPdfControl::ClearSelection() {
    SetSelection(false, -1, -1);
}

void TPdfControl::SelectText(int CharIndex, int Count) {
    TPdfPage *page = GetCurrentPage();
    if (Count == 0 || !page) {
        ClearSelection();
        return;
    }
    const int charCount = page->GetCharCount();
    if (Count == -1) {
        CharIndex = 0;
        Count = charCount;
    }
    Count = std::min(Count, charCount - CharIndex);
    if (Count <= 0 || CharIndex < 0) {
        ClearSelection();
        return;
    }
    SetSelection(true, CharIndex, CharIndex + Count - 1);
}

void TPdfControl::SelectAll() {
    SelectText(0, -1);
}

std::u16string TPdfControl::PageText() const {
    TPdfPage *page = GetCurrentPage();
    return page ? page->ReadText(0, page->GetCharCount()).toStdU16String() : std::u16string();
}

bool TPdfControl::SelectWord(int CharIndex) {
    ClearSelection();
    TPdfTextRange word;
    if (!findWordAt(PageText(), CharIndex, word))
        return false;
    SetSelection(true, word.First, word.Last);
    return true;
}

bool TPdfControl::SelectLine(int CharIndex) {
    ClearSelection();
    TPdfTextRange line;
    if (!findLineAt(PageText(), CharIndex, line))
        return false;
    SetSelection(true, line.First, line.Last);
    return true;
}

void TPdfControl::CopyToClipboard() const {
    QApplication::clipboard()->setText(GetSelText());
}

QString TPdfControl::GetTextInRect(const QRect &R) const {
    TPdfPage *page = GetCurrentPage();
    return page ? page->GetTextAt(DeviceToPage(R)) : QString();
}

int TPdfControl::CharIndexAt(int X, int Y, double Tolerance) const {
    TPdfPage *page = GetCurrentPage();
    if (!page)
        return -1;
    const TPdfPoint pt = DeviceToPage(X, Y);
    return page->GetCharIndexAt(pt.X, pt.Y, Tolerance, Tolerance);
}

bool TPdfControl::IsInCharBox(const QPoint &pt, int CharIndex) const {
    return PageToDevice(GetCurrentPage()->GetCharBox(CharIndex)).normalized().contains(pt);
}

bool TPdfControl::SetSelStopCharIndex(int X, int Y) {
    const int index = CharIndexAt(X, Y, NearestCharTolerance);
    if (index < 0)
        return false;
    bool active = true;
    if (index == FSelStartCharIndex)
        active = IsInCharBox(FMouseDownPt, index) != IsInCharBox(QPoint(X, Y), index);
    SetSelection(active, FSelStartCharIndex, index);
    return true;
}

// ---------------------------------------------------------------------------------------------- highlight

void TPdfControl::HightlightText(const QString &SearchText, bool MatchCase, bool MatchWholeWord) {
    FHighlightText = SearchText;
    FHighlightMatchCase = MatchCase;
    FHighlightMatchWholeWord = MatchWholeWord;
    UpdateHighlightRects();
}

void TPdfControl::ClearHighlightText() {
    FHighlightText.clear();
    UpdateHighlightRects();
}

std::vector<QRect> TPdfControl::HighlightRects() const {
    return ToDeviceRects(FHighlightTextRects);
}

void TPdfControl::UpdateHighlightRects() {
    const std::vector<QRect> before = HighlightRects();
    std::vector<TPdfRect> rects;
    TPdfPage *page = GetCurrentPage();
    if (page && !FHighlightText.isEmpty()) {
        if (page->BeginFind(FHighlightText, FHighlightMatchCase, FHighlightMatchWholeWord, false)) {
            int charIndex = 0, count = 0;
            while (page->FindNext(charIndex, count)) {
                const int rectCount = page->GetTextRectCount(charIndex, count);
                for (int i = 0; i < rectCount; ++i)
                    rects.push_back(page->GetTextRect(i));
            }
        }
        page->EndFind();
    }
    FHighlightTextRects = std::move(rects);
    InvalidateDifference(before, HighlightRects());
}

// ---------------------------------------------------------------------------------------------- web links

const std::vector<std::vector<TPdfRect>> &TPdfControl::WebLinksRects() const {
    if (!FWebLinksRects) {
        std::vector<std::vector<TPdfRect>> links;
        if (TPdfPage *page = GetCurrentPage()) {
            const int count = page->GetWebLinkCount();
            for (int link = 0; link < count; ++link) {
                std::vector<TPdfRect> rects;
                const int rectCount = page->GetWebLinkRectCount(link);
                for (int i = 0; i < rectCount; ++i)
                    rects.push_back(page->GetWebLinkRect(link, i));
                links.push_back(std::move(rects));
            }
        }
        FWebLinksRects = std::move(links);
    }
    return *FWebLinksRects;
}

bool TPdfControl::IsWebLinkAt(int X, int Y) const {
    QString url;
    return IsWebLinkAt(X, Y, url);
}

bool TPdfControl::IsWebLinkAt(int X, int Y, QString &Url) const {
    const std::vector<std::vector<TPdfRect>> &links = WebLinksRects();
    for (std::size_t link = 0; link < links.size(); ++link)
        for (const TPdfRect &r : links[link])
            if (PageToDevice(r).normalized().contains(X, Y)) {
                Url = GetCurrentPage()->GetWebLinkURL(static_cast<int>(link));
                return true;
            }
    Url.clear();
    return false;
}

// ---------------------------------------------------------------------------------------------- scrolling

void TPdfControl::SetScrollValue(QScrollBar *bar, int value) {
    FAdjustingScrollBars = true;
    bar->setValue(value);
    FAdjustingScrollBars = false;
}

bool TPdfControl::ScrollContent(int XOffset, int YOffset, bool Smooth) {
    // Qt's backing store paints without flicker; a smooth scroll moves at once like any other.
    Q_UNUSED(Smooth);
    const int oldX = HorzScrollPosition(), oldY = VertScrollPosition();
    if (YOffset != 0 && FLayout.VertScrollBar) {
        SetScrollValue(FVertBar, oldY + YOffset);
        if (FAutoPageChange && VertScrollPosition() == oldY) {
            // Past the top or bottom edge: the neighbouring page, from its top.
            const int target = oldY == 0 ? FPageIndex - 1 : FPageIndex + 1;
            if (target >= 0 && target < GetPageCount())
                return InternSetPageIndex(target, false, false);
            return false;
        }
    }
    if (XOffset != 0 && FLayout.HorzScrollBar)
        SetScrollValue(FHorzBar, oldX + XOffset);
    const int dx = HorzScrollPosition() - oldX, dy = VertScrollPosition() - oldY;
    if (dx == 0 && dy == 0)
        return false;
    PlacePage();
    scroll(-dx, -dy, ClientRect());
    return true;
}

bool TPdfControl::ScrollContentTo(int X, int Y, bool Smooth) {
    return ScrollContent(X - HorzScrollPosition(), Y - VertScrollPosition(), Smooth);
}

void TPdfControl::ScrollBarAction(QScrollBar *bar, int action) {
    int step = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        step = ScrollLine;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        step = -ScrollLine;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        step = bar->pageStep();
        break;
    case QAbstractSlider::SliderPageStepSub:
        step = -bar->pageStep();
        break;
    default:
        return; // thumb tracking and jumps arrive as value changes
    }
    bar->setSliderPosition(bar->value()); // the control decides the move, turning pages at the edges
    if (bar == FVertBar)
        ScrollContent(0, step, FSmoothScroll);
    else
        ScrollContent(step, 0, FSmoothScroll);
}

void TPdfControl::ScrollBarMoved() {
    if (FAdjustingScrollBars)
        return;
    const int oldX = FDrawX, oldY = FDrawY;
    PlacePage();
    scroll(FDrawX - oldX, FDrawY - oldY, ClientRect());
}

// ------------------------------------------------------------------------------------------------- input

template <typename Handler> void TPdfControl::Guarded(Handler handler) {
    try {
        handler();
    } catch (const std::exception &e) {
        showError(QString::fromUtf8(e.what()));
    }
}

bool TPdfControl::eventFilter(QObject *watched, QEvent *event) {
    // The wheel over a scroll bar acts as over the page, turning pages at the edges as well.
    if ((watched == FHorzBar || watched == FVertBar) && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TPdfControl::wheelEvent(QWheelEvent *event) {
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const Qt::KeyboardModifiers mods = event->modifiers();
    bool handled = true;
    Guarded([&] {
        if (mods & Qt::ControlModifier) {
            handled = FScaleMode == TPdfControlScaleMode::smZoom;
            if (handled)
                SetZoomPercentage(FZoomPercentage + delta / 120 * 5);
        } else if (mods & Qt::ShiftModifier) {
            ScrollContent(-delta, 0, FSmoothScroll);
        } else {
            ScrollContent(0, -delta, FSmoothScroll);
        }
    });
    event->setAccepted(handled);
}

bool TPdfControl::GotoPageAt(int Value, bool AtEnd) {
    if (!FAllowUserPageChange || Value == FPageIndex)
        return AtEnd ? ScrollContentTo(HorzScrollPosition(), FVertBar->maximum(), FSmoothScroll)
                     : ScrollContentTo(HorzScrollPosition(), 0, FSmoothScroll);
    return InternSetPageIndex(Value, AtEnd, AtEnd);
}

bool TPdfControl::HandleKey(int Key, Qt::KeyboardModifiers Shift) {
    const bool shift = Shift & Qt::ShiftModifier;
    const bool ctrlOnly = Shift == Qt::ControlModifier;
    const int line = shift ? 2 * ScrollLine : ScrollLine;
    switch (Key) {
    case Qt::Key_Up:
        return ScrollContent(0, -line, FSmoothScroll);
    case Qt::Key_Down:
        return ScrollContent(0, line, FSmoothScroll);
    case Qt::Key_Left:
        return ScrollContent(-line, 0, FSmoothScroll);
    case Qt::Key_Right:
        return ScrollContent(line, 0, FSmoothScroll);
    case Qt::Key_PageDown:
        if (FAllowUserPageChange && (!FLayout.VertScrollBar || FVertBar->value() >= FVertBar->maximum()))
            return GotoNextPage(true);
        return ScrollContent(0, FVertBar->pageStep(), FSmoothScroll);
    case Qt::Key_PageUp:
        if (FAllowUserPageChange && (!FLayout.VertScrollBar || FVertBar->value() == 0))
            return GotoPrevPage(true);
        return ScrollContent(0, -FVertBar->pageStep(), FSmoothScroll);
    case Qt::Key_Home:
        if (Shift & Qt::ControlModifier)
            return GotoPageAt(0, false);
        return shift ? ScrollContentTo(0, VertScrollPosition(), FSmoothScroll)
                     : ScrollContentTo(HorzScrollPosition(), 0, FSmoothScroll);
    case Qt::Key_End:
        if (Shift & Qt::ControlModifier)
            return GotoPageAt(GetPageCount() - 1, true);
        return shift ? ScrollContentTo(FHorzBar->maximum(), VertScrollPosition(), FSmoothScroll)
                     : ScrollContentTo(HorzScrollPosition(), FVertBar->maximum(), FSmoothScroll);
    case Qt::Key_A:
        if (ctrlOnly && FAllowUserTextSelection) {
            SelectAll();
            return true;
        }
        return false;
    case Qt::Key_C:
    case Qt::Key_Insert:
        // Copying belongs to the host; the control only keeps the key from going further.
        return ctrlOnly && FAllowUserTextSelection && FSelectionActive;
    default:
        return false;
    }
}

void TPdfControl::keyPressEvent(QKeyEvent *event) {
    int key = event->key();
    const Qt::KeyboardModifiers mods = keyModifiers(event->modifiers());
    bool consumed = false;
    Guarded([&] {
        if (OnKeyDown)
            OnKeyDown(this, key, mods);
        consumed = key == 0 || HandleKey(key, mods);
    });
    event->setAccepted(consumed);
}

void TPdfControl::keyReleaseEvent(QKeyEvent *event) {
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    int key = event->key();
    Guarded([&] {
        if (OnKeyUp)
            OnKeyUp(this, key, keyModifiers(event->modifiers()));
    });
    event->setAccepted(key == 0);
}

void TPdfControl::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        FClickPending = true;
    Guarded([&] { MouseDown(event->button(), event->modifiers(), event->position().toPoint(), false); });
}

void TPdfControl::mouseDoubleClickEvent(QMouseEvent *event) {
    Guarded([&] {
        if (event->button() == Qt::LeftButton && OnDblClick)
            OnDblClick(this);
        MouseDown(event->button(), event->modifiers(), event->position().toPoint(),
                  event->button() == Qt::LeftButton);
    });
}

void TPdfControl::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, const QPoint &pt,
                            bool DoubleClick) {
    if (OnMouseDown)
        OnMouseDown(this, Button, keyModifiers(Shift), pt.x(), pt.y());
    if (Button == Qt::LeftButton && FAllowUserTextSelection && IsPageValid())
        SelectionMouseDown(pt, DoubleClick);
}

void TPdfControl::SelectionMouseDown(const QPoint &pt, bool DoubleClick) {
    StopScrollTimer();
    setFocus(Qt::MouseFocusReason);
    FMousePressed = true;
    FMouseDownPt = pt;
    const int index = CharIndexAt(pt.x(), pt.y(), NearestCharTolerance);
    if (FCheckForTrippleClick && index >= GetSelStart() && index < GetSelStart() + GetSelLength()) {
        FCheckForTrippleClick = false;
        FTrippleClickTimer.stop();
        FMousePressed = false;
        SelectLine(index);
    } else if (DoubleClick) {
        FMousePressed = false;
        if (SelectWord(index)) {
            FCheckForTrippleClick = true;
            FTrippleClickTimer.start(QApplication::doubleClickInterval());
        }
    } else {
        SetSelection(false, index, index);
    }
}

void TPdfControl::mouseMoveEvent(QMouseEvent *event) {
    const QPoint pt = event->position().toPoint();
    Guarded([&] {
        if (OnMouseMove)
            OnMouseMove(this, event->buttons(), keyModifiers(event->modifiers()), pt.x(), pt.y());
        if (!FAllowUserTextSelection)
            return;
        if (FMousePressed) {
            FScrollMousePos = pt;
            if (IsOutside(pt))
                StartScrollTimer();
            else
                StopScrollTimer();
            if (SetSelStopCharIndex(pt.x(), pt.y()))
                setCursor(Qt::IBeamCursor);
        } else {
            UpdateCursor(pt);
        }
    });
}

void TPdfControl::mouseReleaseEvent(QMouseEvent *event) {
    const QPoint pt = event->position().toPoint();
    Guarded([&] {
        if (event->button() == Qt::LeftButton && FClickPending) {
            FClickPending = false;
            if (rect().contains(pt) && OnClick)
                OnClick(this);
        }
        if (OnMouseUp)
            OnMouseUp(this, event->button(), keyModifiers(event->modifiers()), pt.x(), pt.y());
        if (event->button() != Qt::LeftButton || !FMousePressed || !FAllowUserTextSelection)
            return;
        FMousePressed = false;
        StopScrollTimer();
        SetSelStopCharIndex(pt.x(), pt.y());
        QString url;
        if (!FSelectionActive && IsWebLinkAt(pt.x(), pt.y(), url))
            WebLinkClick(url);
    });
}

void TPdfControl::leaveEvent(QEvent *) {
    unsetCursor();
}

void TPdfControl::UpdateCursor(const QPoint &pt) {
    if (OnWebLinkClick && IsWebLinkAt(pt.x(), pt.y()))
        setCursor(Qt::PointingHandCursor);
    else if (CharIndexAt(pt.x(), pt.y(), TextCursorTolerance) >= 0)
        setCursor(Qt::IBeamCursor);
    else
        unsetCursor();
}

bool TPdfControl::IsOutside(const QPoint &pt) const {
    const bool outsideX = pt.x() < 0 || pt.x() >= FLayout.ClientWidth;
    const bool outsideY = pt.y() < 0 || pt.y() >= FLayout.ClientHeight;
    return (FLayout.HorzScrollBar && outsideX) || (FLayout.VertScrollBar && outsideY);
}

void TPdfControl::StartScrollTimer() {
    if (!FScrollTimer || FScrollTimerActive)
        return;
    FScrollTimerTimer.start();
    FScrollTimerActive = true;
}

void TPdfControl::StopScrollTimer() {
    FScrollTimerTimer.stop();
    FScrollTimerActive = false;
}

void TPdfControl::ScrollTimerTick() {
    if (!FMousePressed) {
        StopScrollTimer();
        return;
    }
    const QPoint pt = FScrollMousePos;
    if (pt.x() < 0)
        ScrollContent(-ScrollLine, 0, FSmoothScroll);
    else if (pt.x() >= FLayout.ClientWidth)
        ScrollContent(ScrollLine, 0, FSmoothScroll);
    else if (pt.y() < 0)
        ScrollContent(0, -ScrollLine, FSmoothScroll);
    else if (pt.y() >= FLayout.ClientHeight)
        ScrollContent(0, ScrollLine, FSmoothScroll);
}

bool isOpenableWebLink(const QString &Url) {
    const QUrl url(Url, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto"));
}

void openWebLinkInBrowser(TPdfControl *, const QString &Url) {
    if (isOpenableWebLink(Url))
        QDesktopServices::openUrl(QUrl(Url, QUrl::StrictMode));
}
