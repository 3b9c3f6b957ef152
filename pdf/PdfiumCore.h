#pragma once
// The document model over the PDF engine: a document owning a cache of its pages, pages with drawing,
// coordinate conversion, text, search and web links, and the page-space value types. Engine failures
// become exceptions of the EPdfException family.
//
// Device rectangles (QRect) are converted by their corners (left, top) and (left + width, top + height);
// a page rectangle made from a device rectangle therefore has Top > Bottom.
//
// Thread safety: every call on a document or its pages takes that document's lock, so a background
// reader of page text and the UI thread drawing the same document never touch the engine at once. A
// sequence of calls whose later calls depend on engine state left by earlier ones (a search's steps, the
// rectangles of a text range, a page's web links) holds a TPdfDocumentLock for the whole sequence: no
// other thread's call then runs in between, so none can replace that state or release the page's handles.

#include "pdf/PdfiumLib.h"

#include <QByteArray>
#include <QFlags>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

class QFile;
class QIODevice;
class QImage;
class QPainter;
class TPdfPage;

// Folder the engine would be loaded from; kept for the main window, which sets it before any document.
extern QString PDFiumDllDir;

class EPdfException : public std::runtime_error {
public:
    explicit EPdfException(const QString &message);
    QString Message() const { return QString::fromUtf8(what()); }
};

class EPdfUnsupportedFeatureException : public EPdfException {
public:
    using EPdfException::EPdfException;
};

class EPdfArgumentOutOfRange : public EPdfException {
public:
    using EPdfException::EPdfException;
};

struct TPdfPoint {
    double X = 0;
    double Y = 0;

    void Offset(double XOffset, double YOffset);
    static TPdfPoint Empty() { return {}; }
    bool operator==(const TPdfPoint &) const = default;
};

struct TPdfRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;

    void Offset(double XOffset, double YOffset);
    static TPdfRect Empty() { return {}; }
    double Width() const { return Right - Left; }
    double Height() const { return Bottom - Top; }
    bool operator==(const TPdfRect &) const = default;
};

enum TPdfPageRotation : int { prNormal = 0, pr90Clockwise = 1, pr180 = 2, pr90CounterClockwide = 3 };

enum TPdfPageRenderOptionType : unsigned {
    proAnnotations = 1u << 0,
    proLCDOptimized = 1u << 1,
    proNoNativeText = 1u << 2,
    proGrayscale = 1u << 3,
    proNoCatch = 1u << 4,
    proLimitedImageCacheSize = 1u << 5,
    proForceHalftone = 1u << 6,
    proPrinting = 1u << 7,
    proReverseByteOrder = 1u << 8,
};
Q_DECLARE_FLAGS(TPdfPageRenderOptions, TPdfPageRenderOptionType)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPdfPageRenderOptions)

// The engine render flags of a set of options.
int PdfRenderFlags(TPdfPageRenderOptions Options);

enum TPdfDocumentLoadOption : int { dloNormal, dloMMF, dloOnDemand };

// Delivers Size bytes at Position into Buffer; true when all of them were delivered.
using TPdfDocumentCustomReadProc = bool (*)(void *Param, quint64 Position, void *Buffer, quint64 Size);

// An engine bitmap of 32-bit BGRA pixels (QImage::Format_ARGB32 / Format_RGB32 layout).
class TPdfBitmap {
public:
    TPdfBitmap(int Width, int Height, bool Alpha = false);
    // Wraps the pixels of a 32-bit image in place; the image must outlive the bitmap.
    explicit TPdfBitmap(QImage &Image);
    ~TPdfBitmap();
    TPdfBitmap(const TPdfBitmap &) = delete;
    TPdfBitmap &operator=(const TPdfBitmap &) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BytesPerScanLine() const { return FBytesPerScanLine; }
    void *Buffer() const;
    // Color is 0xAARRGGBB.
    void FillRect(int ALeft, int ATop, int AWidth, int AHeight, quint32 AColor);
    FPDF_BITMAP Bitmap() const { return FBitmap; }

private:
    FPDF_BITMAP FBitmap = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    int FBytesPerScanLine = 0;
};

class TPdfDocument {
public:
    TPdfDocument();
    ~TPdfDocument();
    TPdfDocument(const TPdfDocument &) = delete;
    TPdfDocument &operator=(const TPdfDocument &) = delete;

    // Reads from the stream's current position to its end; a stream of size 0 leaves the document closed.
    void LoadFromStream(QIODevice *AStream, const QByteArray &APassword = {});
    // Reads blocks of the stream on demand while the document is open; a null stream closes.
    void LoadFromActiveStream(QIODevice *Stream, const QByteArray &APassword = {});
    void LoadFromCustom(TPdfDocumentCustomReadProc ReadFunc, quint64 ASize, void *AParam,
                        const QByteArray &APassword = {});
    // Uses the caller's memory in place; it must stay valid until Close.
    void LoadFromActiveBuffer(const void *Buffer, qint64 Size, const QByteArray &APassword = {});
    // Keeps a reference to the byte array (implicitly shared) while open.
    void LoadFromBytes(const QByteArray &ABytes, const QByteArray &APassword = {});
    void LoadFromBytes(const QByteArray &ABytes, qint64 AIndex, qint64 ACount,
                       const QByteArray &APassword = {});
    void LoadFromFile(const QString &AFileName, const QByteArray &APassword = {},
                      TPdfDocumentLoadOption ALoadOption = dloNormal);
    void Close();

    bool GetActive() const;
    bool Active() const { return GetActive(); }
    int GetPageCount() const;
    int PageCount() const { return GetPageCount(); }
    TPdfPage *GetPage(int Index);
    TPdfPage *Pages(int Index) { return GetPage(Index); }
    QString FileName() const;
    FPDF_DOCUMENT Handle() const { return FDocument; }

    // Document properties; each needs an open document.
    QString GetMetaText(const QByteArray &TagName) const; // "Title", "Author", "Subject", "Keywords", ...
    int GetFileVersion() const;                           // 17 for PDF 1.7
    quint32 GetPermissions() const;                       // all bits set without encryption
    int GetSecurityHandlerRevision() const;               // -1 without encryption
    bool GetPrintScaling() const;
    int GetNumberOfCopies() const;
    TPdfPoint GetPageSize(int PageIndex) const; // width and height in points, without loading the page
    bool Closing() const { return FClosing; }
    // The bytes the engine reads the open document from, when the document holds them whole in a byte array
    // (LoadFromBytes over a whole array, LoadFromStream, LoadFromFile with dloNormal), so that a second
    // document can be opened over them; empty otherwise.
    QByteArray Bytes() const;

    // The whole text of page PageIndex as its text model gives it (every character, the generated spaces
    // and line breaks included), read under the document's lock; for a reader on any thread. A page that
    // was not loaded before the call is released again afterwards, so a walk over every page of a book
    // keeps no text models, while a loaded page (the one a view shows) stays as it was.
    QString ReadPageText(int PageIndex);

    // The document's lock; held by every document and page call. Take it to group several calls.
    std::recursive_mutex &Mutex() const { return FMutex; }

private:
    friend class TPdfPage;
    struct CustomLoadData;

    void CheckActive() const;
    template <class Load> void GuardedLoad(Load load);
    void LoadFromMemory(const void *Data, qint64 Size, const QByteArray &APassword);
    void LoadFromAccess(std::unique_ptr<CustomLoadData> Data, const QByteArray &APassword);
    void AfterLoad();
    int IndexOfPage(const TPdfPage *Page) const;

    FPDF_DOCUMENT FDocument = nullptr;
    std::vector<std::unique_ptr<TPdfPage>> FPages;
    QString FFileName;
    std::unique_ptr<QFile> FFile;  // open file of a mapped or on-demand file load
    uchar *FFileMapping = nullptr; // mapped view of FFile
    QByteArray FBuffer;            // allocated copy the engine reads from
    QByteArray FBytes;             // caller's byte array kept alive
    bool FBytesWhole = false;      // the engine reads all of FBytes, not a range of it
    bool FClosing = false;
    std::unique_ptr<CustomLoadData> FCustomLoadData;
    mutable std::recursive_mutex FMutex;
};

// Holds a document's lock while it lives: the page calls made meanwhile form one sequence that no other
// thread's call on the document interleaves with.
class TPdfDocumentLock {
public:
    explicit TPdfDocumentLock(const TPdfDocument &Document) : FLock(Document.Mutex()) {}
    TPdfDocumentLock(const TPdfDocumentLock &) = delete;
    TPdfDocumentLock &operator=(const TPdfDocumentLock &) = delete;

private:
    std::lock_guard<std::recursive_mutex> FLock;
};

class TPdfPage {
public:
    ~TPdfPage();
    TPdfPage(const TPdfPage &) = delete;
    TPdfPage &operator=(const TPdfPage &) = delete;

    TPdfDocument *Document() const { return FDocument; }
    double Width() const { return FWidth; }
    double Height() const { return FHeight; }
    bool Transparency() const { return FTransparency; }
    TPdfPageRotation Rotation() const { return FRotation; }
    bool IsLoaded() const;

    // Releases the engine handles of the page; the object stays in the cache and reopens on use.
    void Close();

    void Draw(QPainter &DC, int X, int Y, int Width, int Height, TPdfPageRotation Rotate = prNormal,
              TPdfPageRenderOptions Options = {});
    void DrawToPdfBitmap(TPdfBitmap &APdfBitmap, int X, int Y, int Width, int Height,
                         TPdfPageRotation Rotate = prNormal, TPdfPageRenderOptions Options = {});

    TPdfPoint DeviceToPage(int X, int Y, int Width, int Height, int DeviceX, int DeviceY,
                           TPdfPageRotation Rotate = prNormal);
    QPoint PageToDevice(int X, int Y, int Width, int Height, double PageX, double PageY,
                        TPdfPageRotation Rotate = prNormal);
    TPdfRect DeviceToPage(int X, int Y, int Width, int Height, const QRect &R,
                          TPdfPageRotation Rotate = prNormal);
    QRect PageToDevice(int X, int Y, int Width, int Height, const TPdfRect &R,
                       TPdfPageRotation Rotate = prNormal);

    int GetCharCount();
    QChar ReadChar(int CharIndex);
    double GetCharFontSize(int CharIndex);
    TPdfRect GetCharBox(int CharIndex);
    int GetCharIndexAt(double PageX, double PageY, double ToleranceX, double ToleranceY);
    QString ReadText(int CharIndex, int Count);
    QString GetTextAt(double Left, double Top, double Right, double Bottom);
    QString GetTextAt(const TPdfRect &R);
    int GetTextRectCount(int CharIndex, int Count);
    TPdfRect GetTextRect(int RectIndex);

    bool BeginFind(const QString &SearchString, bool MatchCase, bool MatchWholeWord, bool FromEnd);
    bool FindNext(int &CharIndex, int &Count);
    bool FindPrev(int &CharIndex, int &Count);
    void EndFind();

    int GetWebLinkCount();
    QString GetWebLinkURL(int LinkIndex);
    int GetWebLinkRectCount(int LinkIndex);
    TPdfRect GetWebLinkRect(int LinkIndex, int RectIndex);

    // The engine page, loaded on demand; valid while the caller holds the document's lock.
    FPDF_PAGE Handle();

private:
    friend class TPdfDocument;
    TPdfPage(TPdfDocument *ADocument, FPDF_PAGE APage);

    void Open();
    bool BeginText();
    bool BeginWebLinks();
    using FindStep = FPDF_BOOL (*)(FPDF_SCHHANDLE);
    bool FindStepResult(FindStep Step, int &CharIndex, int &Count);

    TPdfDocument *FDocument;
    FPDF_PAGE FPage;
    double FWidth = 0;
    double FHeight = 0;
    bool FTransparency = false;
    TPdfPageRotation FRotation = prNormal;
    FPDF_TEXTPAGE FTextHandle = nullptr;
    FPDF_SCHHANDLE FSearchHandle = nullptr;
    FPDF_PAGELINK FLinkHandle = nullptr;
};
