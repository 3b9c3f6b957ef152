#include "pdf/PdfiumCore.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <atomic>

QString PDFiumDllDir;

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// ---- engine start and the unsupported-feature report

// The feature the engine reported during the current call on this thread; 0 for none.
thread_local int pendingFeature = 0;

void recordUnsupportedFeature(UNSUPPORT_INFO *, int nType) {
    if (!pendingFeature)
        pendingFeature = nType;
}

UNSUPPORT_INFO unsupportedInfo{1, recordUnsupportedFeature};
std::atomic<bool> libraryStarted{false};
std::mutex libraryLock;

void InitLib() {
    if (libraryStarted)
        return;
    std::lock_guard guard(libraryLock);
    if (libraryStarted)
        return;
    FPDF_InitLibrary();
    FSDK_SetUnSpObjProcessHandler(&unsupportedInfo);
    libraryStarted = true;
}

QString featureName(int code) {
    switch (code) {
    case FPDF_UNSP_DOC_XFAFORM:
        return "XFA";
    case FPDF_UNSP_DOC_PORTABLECOLLECTION:
        return "Portfolios_Packages";
    case FPDF_UNSP_DOC_ATTACHMENT:
    case FPDF_UNSP_ANNOT_ATTACHMENT:
        return "Attachment";
    case FPDF_UNSP_DOC_SECURITY:
        return "Rights_Management";
    case FPDF_UNSP_DOC_SHAREDREVIEW:
        return "Shared_Review";
    case FPDF_UNSP_DOC_SHAREDFORM_ACROBAT:
    case FPDF_UNSP_DOC_SHAREDFORM_FILESYSTEM:
    case FPDF_UNSP_DOC_SHAREDFORM_EMAIL:
        return "Shared_Form";
    case FPDF_UNSP_ANNOT_3DANNOT:
        return "3D";
    case FPDF_UNSP_ANNOT_MOVIE:
        return "Movie";
    case FPDF_UNSP_ANNOT_SOUND:
        return "Sound";
    case FPDF_UNSP_ANNOT_SCREEN_MEDIA:
    case FPDF_UNSP_ANNOT_SCREEN_RICHMEDIA:
        return "Screen";
    case FPDF_UNSP_ANNOT_SIG:
        return "Digital_Signature";
    default:
        return "Unknown";
    }
}

// Runs one engine call that may report an unsupported feature and returns its answer. When a feature
// was reported, the answer is released with `release` and the feature raised.
template <class Handle, class Call, class Release> Handle withFeatureCheck(Call call, Release release) {
    pendingFeature = 0;
    Handle handle = call();
    const int feature = pendingFeature;
    pendingFeature = 0;
    if (feature) {
        if (handle)
            release(handle);
        throw EPdfUnsupportedFeatureException(QString("Function %1 not supported").arg(featureName(feature)));
    }
    return handle;
}

QString errorText(unsigned long code) {
    switch (code) {
    case FPDF_ERR_SUCCESS:
        return "No error";
    case FPDF_ERR_FILE:
        return "File not found or can't be opened";
    case FPDF_ERR_FORMAT:
        return "File is not a PDF document or is corrupted";
    case FPDF_ERR_PASSWORD:
        return "Password required oder invalid password";
    case FPDF_ERR_SECURITY:
        return "Security schema is not support";
    case FPDF_ERR_PAGE:
        return "Page does not exist or data error";
    default:
        return "Unknown error";
    }
}

[[noreturn]] void RaiseLastPdfError() {
    throw EPdfException(errorText(FPDF_GetLastError()));
}

[[noreturn]] void RaiseOutOfRange(const char *argument) {
    throw EPdfArgumentOutOfRange(QString("Functions argument \"%1\" out of range").arg(argument));
}

[[noreturn]] void RaiseFileError(const QFile &file, const char *action) {
    throw std::runtime_error(
        QString("Cannot %1 file \"%2\". %3").arg(action, file.fileName(), file.errorString()).toStdString());
}

constexpr qint64 MaxFileSize = qint64(1) << 32;

} // namespace

// ---- exceptions and value types

EPdfException::EPdfException(const QString &message) : std::runtime_error(message.toStdString()) {}

void TPdfPoint::Offset(double XOffset, double YOffset) {
    X += XOffset;
    Y += YOffset;
}

void TPdfRect::Offset(double XOffset, double YOffset) {
    Left += XOffset;
    Top += YOffset;
    Right += XOffset;
    Bottom += YOffset;
}

int PdfRenderFlags(TPdfPageRenderOptions Options) {
    static const std::pair<TPdfPageRenderOptionType, int> flags[] = {
        {proAnnotations, FPDF_ANNOT},
        {proLCDOptimized, FPDF_LCD_TEXT},
        {proNoNativeText, FPDF_NO_NATIVETEXT},
        {proGrayscale, FPDF_GRAYSCALE},
        {proNoCatch, FPDF_NO_CATCH},
        {proLimitedImageCacheSize, FPDF_RENDER_LIMITEDIMAGECACHE},
        {proForceHalftone, FPDF_RENDER_FORCEHALFTONE},
        {proPrinting, FPDF_PRINTING},
        {proReverseByteOrder, FPDF_REVERSE_BYTE_ORDER},
    };
    int result = 0;
    for (const auto &[option, flag] : flags)
        if (Options.testFlag(option))
            result |= flag;
    return result;
}

// ---- bitmap

TPdfBitmap::TPdfBitmap(int Width, int Height, bool Alpha)
    : FBitmap(FPDFBitmap_Create(Width, Height, Alpha)), FWidth(Width), FHeight(Height) {
    if (!FBitmap)
        throw std::invalid_argument("bitmap size out of range");
    FBytesPerScanLine = FPDFBitmap_GetStride(FBitmap);
}

TPdfBitmap::TPdfBitmap(QImage &Image) : FWidth(Image.width()), FHeight(Image.height()) {
    const bool alpha = Image.format() == QImage::Format_ARGB32;
    if (!alpha && Image.format() != QImage::Format_RGB32)
        throw std::invalid_argument("image format must be 32-bit RGB or ARGB");
    FBitmap = FPDFBitmap_CreateEx(FWidth, FHeight, alpha ? FPDFBitmap_BGRA : FPDFBitmap_BGRx, Image.bits(),
                                  int(Image.bytesPerLine()));
    if (!FBitmap)
        throw std::invalid_argument("bitmap size out of range");
    FBytesPerScanLine = int(Image.bytesPerLine());
}

TPdfBitmap::~TPdfBitmap() {
    FPDFBitmap_Destroy(FBitmap);
}

void *TPdfBitmap::Buffer() const {
    return FPDFBitmap_GetBuffer(FBitmap);
}

void TPdfBitmap::FillRect(int ALeft, int ATop, int AWidth, int AHeight, quint32 AColor) {
    FPDFBitmap_FillRect(FBitmap, ALeft, ATop, AWidth, AHeight, AColor);
}

// ---- document

struct TPdfDocument::CustomLoadData {
    TPdfDocumentCustomReadProc read = nullptr;
    void *param = nullptr;
    FPDF_FILEACCESS access{};

    static int GetBlock(void *param, unsigned long position, unsigned char *buffer, unsigned long size) {
        auto *data = static_cast<CustomLoadData *>(param);
        try {
            return data->read(data->param, position, buffer, size) ? 1 : 0;
        } catch (...) {
            return 0; // the engine reads through C code: a failed read must not unwind through it
        }
    }
};

namespace {

bool ReadFromDevice(void *Param, quint64 Position, void *Buffer, quint64 Size) {
    auto *device = static_cast<QIODevice *>(Param);
    if (!device->seek(qint64(Position)))
        return false;
    return device->read(static_cast<char *>(Buffer), qint64(Size)) == qint64(Size);
}

} // namespace

TPdfDocument::TPdfDocument() {
    InitLib();
}

TPdfDocument::~TPdfDocument() {
    Close();
}

void TPdfDocument::CheckActive() const {
    if (!FDocument)
        throw EPdfException("PDF document is not open");
}

template <class Load> void TPdfDocument::GuardedLoad(Load load) {
    Lock lock(FMutex);
    Close();
    try {
        load();
    } catch (...) {
        Close();
        throw;
    }
}

void TPdfDocument::LoadFromMemory(const void *Data, qint64 Size, const QByteArray &APassword) {
    if (Size < 1)
        return;
    FDocument = withFeatureCheck<FPDF_DOCUMENT>(
        [&] { return FPDF_LoadMemDocument64(Data, size_t(Size), APassword.constData()); },
        FPDF_CloseDocument);
    AfterLoad();
}

void TPdfDocument::LoadFromAccess(std::unique_ptr<CustomLoadData> Data, const QByteArray &APassword) {
    FCustomLoadData = std::move(Data);
    FCustomLoadData->access.m_GetBlock = CustomLoadData::GetBlock;
    FCustomLoadData->access.m_Param = FCustomLoadData.get();
    if (FCustomLoadData->access.m_FileLen < 1)
        return;
    FDocument = withFeatureCheck<FPDF_DOCUMENT>(
        [&] { return FPDF_LoadCustomDocument(&FCustomLoadData->access, APassword.constData()); },
        FPDF_CloseDocument);
    AfterLoad();
}

void TPdfDocument::AfterLoad() {
    if (!FDocument)
        RaiseLastPdfError();
    FPages.resize(std::max(0, FPDF_GetPageCount(FDocument)));
}

void TPdfDocument::LoadFromStream(QIODevice *AStream, const QByteArray &APassword) {
    GuardedLoad([&] {
        if (!AStream)
            return;
        const qint64 claimed = AStream->size() - AStream->pos();
        // Read in steps so that a stream claiming more than it holds costs only what it delivers.
        constexpr qint64 Step = qint64(16) << 20;
        qint64 total = 0;
        while (total < claimed) {
            const qint64 want = std::min(Step, claimed - total);
            FBuffer.resize(total + want);
            const qint64 got = AStream->read(FBuffer.data() + total, want);
            if (got <= 0)
                break;
            total += got;
        }
        FBuffer.resize(total);
        LoadFromMemory(FBuffer.constData(), total, APassword);
    });
}

void TPdfDocument::LoadFromActiveStream(QIODevice *Stream, const QByteArray &APassword) {
    if (!Stream) {
        Close();
        return;
    }
    LoadFromCustom(ReadFromDevice, quint64(std::max<qint64>(0, Stream->size())), Stream, APassword);
}

void TPdfDocument::LoadFromCustom(TPdfDocumentCustomReadProc ReadFunc, quint64 ASize, void *AParam,
                                  const QByteArray &APassword) {
    GuardedLoad([&] {
        auto data = std::make_unique<CustomLoadData>();
        data->read = ReadFunc;
        data->param = AParam;
        data->access.m_FileLen = ReadFunc ? ASize : 0;
        LoadFromAccess(std::move(data), APassword);
    });
}

void TPdfDocument::LoadFromActiveBuffer(const void *Buffer, qint64 Size, const QByteArray &APassword) {
    GuardedLoad([&] { LoadFromMemory(Buffer, Buffer ? Size : 0, APassword); });
}

void TPdfDocument::LoadFromBytes(const QByteArray &ABytes, const QByteArray &APassword) {
    if (ABytes.isEmpty()) {
        Close();
        return;
    }
    LoadFromBytes(ABytes, 0, ABytes.size(), APassword);
}

void TPdfDocument::LoadFromBytes(const QByteArray &ABytes, qint64 AIndex, qint64 ACount,
                                 const QByteArray &APassword) {
    GuardedLoad([&] {
        if (AIndex < 0 || AIndex >= ABytes.size())
            RaiseOutOfRange("Index");
        if (ACount < 0 || ACount > ABytes.size() - AIndex)
            RaiseOutOfRange("Count");
        FBytes = ABytes;
        FBytesWhole = AIndex == 0 && ACount == ABytes.size();
        LoadFromMemory(FBytes.constData() + AIndex, ACount, APassword);
    });
}

void TPdfDocument::LoadFromFile(const QString &AFileName, const QByteArray &APassword,
                                TPdfDocumentLoadOption ALoadOption) {
    GuardedLoad([&] {
        auto file = std::make_unique<QFile>(AFileName);
        if (!file->open(QIODevice::ReadOnly))
            RaiseFileError(*file, "open");
        const qint64 size = file->size();
        if (size >= MaxFileSize)
            throw EPdfException(QString("PDF file \"%1\" is too large").arg(QFileInfo(AFileName).fileName()));
        FFileName = AFileName;
        switch (ALoadOption) {
        case dloNormal:
            FBuffer = file->readAll();
            if (FBuffer.size() != size)
                RaiseFileError(*file, "read");
            LoadFromMemory(FBuffer.constData(), FBuffer.size(), APassword);
            break;
        case dloMMF:
            FFile = std::move(file);
            if (size > 0) {
                FFileMapping = FFile->map(0, size);
                if (!FFileMapping)
                    RaiseFileError(*FFile, "map");
            }
            LoadFromMemory(FFileMapping, size, APassword);
            break;
        case dloOnDemand: {
            FFile = std::move(file);
            auto data = std::make_unique<CustomLoadData>();
            data->read = ReadFromDevice;
            data->param = FFile.get();
            data->access.m_FileLen = quint64(size);
            LoadFromAccess(std::move(data), APassword);
            break;
        }
        }
    });
}

void TPdfDocument::Close() {
    Lock lock(FMutex);
    FClosing = true;
    struct ClearClosing {
        bool &flag;
        ~ClearClosing() { flag = false; }
    } clearClosing{FClosing};
    FPages.clear();
    if (FDocument) {
        FPDF_CloseDocument(FDocument);
        FDocument = nullptr;
    }
    FCustomLoadData.reset();
    if (FFileMapping) {
        FFile->unmap(FFileMapping);
        FFileMapping = nullptr;
    }
    FBuffer = QByteArray();
    FBytes = QByteArray();
    FBytesWhole = false;
    FFile.reset();
    FFileName.clear();
}

QByteArray TPdfDocument::Bytes() const {
    Lock lock(FMutex);
    if (!FDocument)
        return {};
    if (!FBuffer.isEmpty())
        return FBuffer;
    return FBytesWhole ? FBytes : QByteArray();
}

bool TPdfDocument::GetActive() const {
    Lock lock(FMutex);
    return FDocument != nullptr;
}

int TPdfDocument::GetPageCount() const {
    Lock lock(FMutex);
    return int(FPages.size());
}

QString TPdfDocument::FileName() const {
    Lock lock(FMutex);
    return FFileName;
}

TPdfPage *TPdfDocument::GetPage(int Index) {
    Lock lock(FMutex);
    CheckActive();
    if (Index < 0 || Index >= int(FPages.size()))
        throw EPdfException(errorText(FPDF_ERR_PAGE));
    if (!FPages[Index]) {
        FPDF_PAGE page =
            withFeatureCheck<FPDF_PAGE>([&] { return FPDF_LoadPage(FDocument, Index); }, FPDF_ClosePage);
        if (!page)
            RaiseLastPdfError();
        FPages[Index].reset(new TPdfPage(this, page));
    }
    return FPages[Index].get();
}

QString TPdfDocument::GetMetaText(const QByteArray &TagName) const {
    Lock lock(FMutex);
    CheckActive();
    const unsigned long bytes = FPDF_GetMetaText(FDocument, TagName.constData(), nullptr, 0);
    if (bytes <= 2)
        return {};
    std::vector<char16_t> text(bytes / 2);
    FPDF_GetMetaText(FDocument, TagName.constData(), text.data(), bytes);
    return QString::fromUtf16(text.data(), qsizetype(text.size() - 1));
}

int TPdfDocument::GetFileVersion() const {
    Lock lock(FMutex);
    CheckActive();
    int version = 0;
    return FPDF_GetFileVersion(FDocument, &version) ? version : 0;
}

quint32 TPdfDocument::GetPermissions() const {
    Lock lock(FMutex);
    CheckActive();
    return quint32(FPDF_GetDocPermissions(FDocument));
}

int TPdfDocument::GetSecurityHandlerRevision() const {
    Lock lock(FMutex);
    CheckActive();
    return FPDF_GetSecurityHandlerRevision(FDocument);
}

bool TPdfDocument::GetPrintScaling() const {
    Lock lock(FMutex);
    CheckActive();
    return FPDF_VIEWERREF_GetPrintScaling(FDocument);
}

int TPdfDocument::GetNumberOfCopies() const {
    Lock lock(FMutex);
    CheckActive();
    return FPDF_VIEWERREF_GetNumCopies(FDocument);
}

TPdfPoint TPdfDocument::GetPageSize(int PageIndex) const {
    Lock lock(FMutex);
    CheckActive();
    TPdfPoint size;
    if (!FPDF_GetPageSizeByIndex(FDocument, PageIndex, &size.X, &size.Y))
        throw EPdfException(errorText(FPDF_ERR_PAGE));
    return size;
}

QString TPdfDocument::ReadPageText(int PageIndex) {
    Lock lock(FMutex);
    CheckActive();
    const bool wasLoaded = PageIndex >= 0 && PageIndex < int(FPages.size()) && FPages[PageIndex] &&
                           FPages[PageIndex]->IsLoaded();
    TPdfPage *page = GetPage(PageIndex);
    // Releases a page loaded only for this read, also when the read fails.
    const auto close = [](TPdfPage *p) { p->Close(); };
    const std::unique_ptr<TPdfPage, decltype(close)> release(wasLoaded ? nullptr : page, close);
    return page->ReadText(0, page->GetCharCount());
}

int TPdfDocument::IndexOfPage(const TPdfPage *Page) const {
    const auto found =
        std::find_if(FPages.begin(), FPages.end(), [&](const auto &p) { return p.get() == Page; });
    return found == FPages.end() ? -1 : int(found - FPages.begin());
}

// ---- page

TPdfPage::TPdfPage(TPdfDocument *ADocument, FPDF_PAGE APage)
    : FDocument(ADocument), FPage(APage), FWidth(FPDF_GetPageWidth(APage)),
      FHeight(FPDF_GetPageHeight(APage)), FTransparency(FPDFPage_HasTransparency(APage)),
      FRotation(TPdfPageRotation(std::clamp(FPDFPage_GetRotation(APage), 0, 3))) {}

TPdfPage::~TPdfPage() {
    Close();
}

bool TPdfPage::IsLoaded() const {
    Lock lock(FDocument->FMutex);
    return FPage != nullptr;
}

void TPdfPage::Close() {
    Lock lock(FDocument->FMutex);
    FPDFLink_CloseWebLinks(FLinkHandle);
    FLinkHandle = nullptr;
    FPDFText_FindClose(FSearchHandle);
    FSearchHandle = nullptr;
    FPDFText_ClosePage(FTextHandle);
    FTextHandle = nullptr;
    FPDF_ClosePage(FPage);
    FPage = nullptr;
}

void TPdfPage::Open() {
    if (FPage)
        return;
    FDocument->CheckActive();
    const int index = FDocument->IndexOfPage(this);
    FPage = withFeatureCheck<FPDF_PAGE>([&] { return FPDF_LoadPage(FDocument->FDocument, index); },
                                        FPDF_ClosePage);
    if (!FPage)
        RaiseLastPdfError();
}

FPDF_PAGE TPdfPage::Handle() {
    Lock lock(FDocument->FMutex);
    Open();
    return FPage;
}

void TPdfPage::Draw(QPainter &DC, int X, int Y, int Width, int Height, TPdfPageRotation Rotate,
                    TPdfPageRenderOptions Options) {
    Lock lock(FDocument->FMutex);
    Open();
    FPDF_RenderPage(&DC, FPage, X, Y, Width, Height, Rotate, PdfRenderFlags(Options));
}

void TPdfPage::DrawToPdfBitmap(TPdfBitmap &APdfBitmap, int X, int Y, int Width, int Height,
                               TPdfPageRotation Rotate, TPdfPageRenderOptions Options) {
    Lock lock(FDocument->FMutex);
    Open();
    FPDF_RenderPageBitmap(APdfBitmap.Bitmap(), FPage, X, Y, Width, Height, Rotate, PdfRenderFlags(Options));
}

TPdfPoint TPdfPage::DeviceToPage(int X, int Y, int Width, int Height, int DeviceX, int DeviceY,
                                 TPdfPageRotation Rotate) {
    Lock lock(FDocument->FMutex);
    Open();
    TPdfPoint result;
    FPDF_DeviceToPage(FPage, X, Y, Width, Height, Rotate, DeviceX, DeviceY, &result.X, &result.Y);
    return result;
}

QPoint TPdfPage::PageToDevice(int X, int Y, int Width, int Height, double PageX, double PageY,
                              TPdfPageRotation Rotate) {
    Lock lock(FDocument->FMutex);
    Open();
    int x = 0, y = 0;
    FPDF_PageToDevice(FPage, X, Y, Width, Height, Rotate, PageX, PageY, &x, &y);
    return {x, y};
}

TPdfRect TPdfPage::DeviceToPage(int X, int Y, int Width, int Height, const QRect &R,
                                TPdfPageRotation Rotate) {
    Lock lock(FDocument->FMutex);
    const TPdfPoint topLeft = DeviceToPage(X, Y, Width, Height, R.left(), R.top(), Rotate);
    const TPdfPoint bottomRight =
        DeviceToPage(X, Y, Width, Height, R.left() + R.width(), R.top() + R.height(), Rotate);
    return {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}

QRect TPdfPage::PageToDevice(int X, int Y, int Width, int Height, const TPdfRect &R,
                             TPdfPageRotation Rotate) {
    Lock lock(FDocument->FMutex);
    const QPoint a = PageToDevice(X, Y, Width, Height, R.Left, R.Top, Rotate);
    const QPoint b = PageToDevice(X, Y, Width, Height, R.Right, R.Bottom, Rotate);
    const int left = std::min(a.x(), b.x()), top = std::min(a.y(), b.y());
    return QRect(left, top, std::max(a.x(), b.x()) - left, std::max(a.y(), b.y()) - top);
}

bool TPdfPage::BeginText() {
    Open();
    if (!FTextHandle)
        FTextHandle = FPDFText_LoadPage(FPage);
    return FTextHandle != nullptr;
}

int TPdfPage::GetCharCount() {
    Lock lock(FDocument->FMutex);
    return BeginText() ? std::max(0, FPDFText_CountChars(FTextHandle)) : 0;
}

QChar TPdfPage::ReadChar(int CharIndex) {
    Lock lock(FDocument->FMutex);
    return BeginText() ? QChar(char16_t(FPDFText_GetUnicode(FTextHandle, CharIndex))) : QChar();
}

double TPdfPage::GetCharFontSize(int CharIndex) {
    Lock lock(FDocument->FMutex);
    return BeginText() ? FPDFText_GetFontSize(FTextHandle, CharIndex) : 0;
}

TPdfRect TPdfPage::GetCharBox(int CharIndex) {
    Lock lock(FDocument->FMutex);
    TPdfRect r;
    if (BeginText() && FPDFText_GetCharBox(FTextHandle, CharIndex, &r.Left, &r.Right, &r.Bottom, &r.Top))
        return r;
    return {};
}

int TPdfPage::GetCharIndexAt(double PageX, double PageY, double ToleranceX, double ToleranceY) {
    Lock lock(FDocument->FMutex);
    return BeginText() ? FPDFText_GetCharIndexAtPos(FTextHandle, PageX, PageY, ToleranceX, ToleranceY) : -1;
}

QString TPdfPage::ReadText(int CharIndex, int Count) {
    Lock lock(FDocument->FMutex);
    if (Count <= 0 || CharIndex < 0 || !BeginText())
        return {};
    // No more room than the characters from CharIndex on: a count of INT_MAX means "to the end".
    Count = std::min(Count, std::max(0, FPDFText_CountChars(FTextHandle)) - CharIndex);
    if (Count <= 0)
        return {};
    QString result(qsizetype(Count) + 1, QChar());
    const int written =
        FPDFText_GetText(FTextHandle, CharIndex, Count, reinterpret_cast<unsigned short *>(result.data()));
    if (written <= 0)
        return {};
    result.resize(written - 1);
    return result;
}

QString TPdfPage::GetTextAt(double Left, double Top, double Right, double Bottom) {
    Lock lock(FDocument->FMutex);
    if (!BeginText())
        return {};
    const int length = FPDFText_GetBoundedText(FTextHandle, Left, Top, Right, Bottom, nullptr, 0);
    if (length <= 0)
        return {};
    QString result(length, QChar());
    const int written = FPDFText_GetBoundedText(FTextHandle, Left, Top, Right, Bottom,
                                                reinterpret_cast<unsigned short *>(result.data()), length);
    result.resize(std::max(0, written));
    return result;
}

QString TPdfPage::GetTextAt(const TPdfRect &R) {
    return GetTextAt(R.Left, R.Top, R.Right, R.Bottom);
}

int TPdfPage::GetTextRectCount(int CharIndex, int Count) {
    Lock lock(FDocument->FMutex);
    return BeginText() ? std::max(0, FPDFText_CountRects(FTextHandle, CharIndex, Count)) : 0;
}

TPdfRect TPdfPage::GetTextRect(int RectIndex) {
    Lock lock(FDocument->FMutex);
    TPdfRect r;
    if (BeginText() && FPDFText_GetRect(FTextHandle, RectIndex, &r.Left, &r.Top, &r.Right, &r.Bottom))
        return r;
    return {};
}

bool TPdfPage::BeginFind(const QString &SearchString, bool MatchCase, bool MatchWholeWord, bool FromEnd) {
    Lock lock(FDocument->FMutex);
    EndFind();
    if (!BeginText())
        return false;
    const unsigned long flags = (MatchCase ? FPDF_MATCHCASE : 0) | (MatchWholeWord ? FPDF_MATCHWHOLEWORD : 0);
    FSearchHandle = FPDFText_FindStart(FTextHandle, reinterpret_cast<FPDF_WIDESTRING>(SearchString.utf16()),
                                       flags, FromEnd ? -1 : 0);
    return FSearchHandle != nullptr;
}

bool TPdfPage::FindStepResult(FindStep Step, int &CharIndex, int &Count) {
    Lock lock(FDocument->FMutex);
    if (FSearchHandle && Step(FSearchHandle)) {
        CharIndex = FPDFText_GetSchResultIndex(FSearchHandle);
        Count = FPDFText_GetSchCount(FSearchHandle);
        return true;
    }
    CharIndex = 0;
    Count = 0;
    return false;
}

bool TPdfPage::FindNext(int &CharIndex, int &Count) {
    return FindStepResult(FPDFText_FindNext, CharIndex, Count);
}

bool TPdfPage::FindPrev(int &CharIndex, int &Count) {
    return FindStepResult(FPDFText_FindPrev, CharIndex, Count);
}

void TPdfPage::EndFind() {
    Lock lock(FDocument->FMutex);
    FPDFText_FindClose(FSearchHandle);
    FSearchHandle = nullptr;
}

bool TPdfPage::BeginWebLinks() {
    if (!BeginText())
        return false;
    if (!FLinkHandle)
        FLinkHandle = FPDFLink_LoadWebLinks(FTextHandle);
    return FLinkHandle != nullptr;
}

int TPdfPage::GetWebLinkCount() {
    Lock lock(FDocument->FMutex);
    return BeginWebLinks() ? std::max(0, FPDFLink_CountWebLinks(FLinkHandle)) : 0;
}

QString TPdfPage::GetWebLinkURL(int LinkIndex) {
    Lock lock(FDocument->FMutex);
    if (!BeginWebLinks())
        return {};
    const int length = FPDFLink_GetURL(FLinkHandle, LinkIndex, nullptr, 0);
    if (length < 2)
        return {};
    QString result(length, QChar());
    FPDFLink_GetURL(FLinkHandle, LinkIndex, reinterpret_cast<unsigned short *>(result.data()), length);
    result.resize(length - 1);
    return result;
}

int TPdfPage::GetWebLinkRectCount(int LinkIndex) {
    Lock lock(FDocument->FMutex);
    return BeginWebLinks() ? std::max(0, FPDFLink_CountRects(FLinkHandle, LinkIndex)) : 0;
}

TPdfRect TPdfPage::GetWebLinkRect(int LinkIndex, int RectIndex) {
    Lock lock(FDocument->FMutex);
    TPdfRect r;
    if (BeginWebLinks() &&
        FPDFLink_GetRect(FLinkHandle, LinkIndex, RectIndex, &r.Left, &r.Top, &r.Right, &r.Bottom))
        return r;
    return {};
}
