#pragma once
// The PDF engine interface: documents, pages, rendering, the text model, search and web links behind
// opaque handles, implemented over MuPDF. Every function may be called from any thread; calls that touch
// one document are serialised by that document's own lock.

#include <cstddef>

class QPainter;

using FPDF_BOOL = int;
using FPDF_DWORD = unsigned long;
using FPDF_WCHAR = unsigned short;
using FPDF_WIDESTRING = const FPDF_WCHAR *;
using FPDF_BYTESTRING = const char *;
using FPDF_STRING = const char *;
// The device context the page is drawn on.
using FPDF_DC = QPainter *;

using FPDF_DOCUMENT = struct FpdfDocumentRec *;
using FPDF_PAGE = struct FpdfPageRec *;
using FPDF_TEXTPAGE = struct FpdfTextPageRec *;
using FPDF_SCHHANDLE = struct FpdfSearchRec *;
using FPDF_PAGELINK = struct FpdfPageLinkRec *;
using FPDF_BITMAP = struct FpdfBitmapRec *;
using FPDF_BOOKMARK = struct FpdfBookmarkRec *;
using FPDF_DEST = struct FpdfDestRec *;

// FPDF_GetLastError
constexpr unsigned long FPDF_ERR_SUCCESS = 0;
constexpr unsigned long FPDF_ERR_UNKNOWN = 1;
constexpr unsigned long FPDF_ERR_FILE = 2;
constexpr unsigned long FPDF_ERR_FORMAT = 3;
constexpr unsigned long FPDF_ERR_PASSWORD = 4;
constexpr unsigned long FPDF_ERR_SECURITY = 5;
constexpr unsigned long FPDF_ERR_PAGE = 6;

// Render flags
constexpr int FPDF_ANNOT = 0x01;
constexpr int FPDF_LCD_TEXT = 0x02;
constexpr int FPDF_NO_NATIVETEXT = 0x04;
constexpr int FPDF_GRAYSCALE = 0x08;
constexpr int FPDF_REVERSE_BYTE_ORDER = 0x10;
constexpr int FPDF_NO_CATCH = 0x100;
constexpr int FPDF_RENDER_LIMITEDIMAGECACHE = 0x200;
constexpr int FPDF_RENDER_FORCEHALFTONE = 0x400;
constexpr int FPDF_PRINTING = 0x800;

// Search flags
constexpr unsigned long FPDF_MATCHCASE = 0x01;
constexpr unsigned long FPDF_MATCHWHOLEWORD = 0x02;

// Bitmap formats (BGRx and BGRA are four bytes a pixel: blue, green, red, alpha/unused in memory)
constexpr int FPDFBitmap_Unknown = 0;
constexpr int FPDFBitmap_Gray = 1;
constexpr int FPDFBitmap_BGR = 2;
constexpr int FPDFBitmap_BGRx = 3;
constexpr int FPDFBitmap_BGRA = 4;

// Unsupported-feature codes
constexpr int FPDF_UNSP_DOC_XFAFORM = 1;
constexpr int FPDF_UNSP_DOC_PORTABLECOLLECTION = 2;
constexpr int FPDF_UNSP_DOC_ATTACHMENT = 3;
constexpr int FPDF_UNSP_DOC_SECURITY = 4;
constexpr int FPDF_UNSP_DOC_SHAREDREVIEW = 5;
constexpr int FPDF_UNSP_DOC_SHAREDFORM_ACROBAT = 6;
constexpr int FPDF_UNSP_DOC_SHAREDFORM_FILESYSTEM = 7;
constexpr int FPDF_UNSP_DOC_SHAREDFORM_EMAIL = 8;
constexpr int FPDF_UNSP_ANNOT_3DANNOT = 11;
constexpr int FPDF_UNSP_ANNOT_MOVIE = 12;
constexpr int FPDF_UNSP_ANNOT_SOUND = 13;
constexpr int FPDF_UNSP_ANNOT_SCREEN_MEDIA = 14;
constexpr int FPDF_UNSP_ANNOT_SCREEN_RICHMEDIA = 15;
constexpr int FPDF_UNSP_ANNOT_ATTACHMENT = 16;
constexpr int FPDF_UNSP_ANNOT_SIG = 17;

struct UNSUPPORT_INFO {
    int version; // must be 1
    void (*FSDK_UnSupport_Handler)(UNSUPPORT_INFO *pThis, int nType);
};

// Block reader of a custom document: returns non-zero when all `size` bytes at `position` were delivered.
struct FPDF_FILEACCESS {
    unsigned long m_FileLen;
    int (*m_GetBlock)(void *param, unsigned long position, unsigned char *pBuf, unsigned long size);
    void *m_Param;
};

// Library
void FPDF_InitLibrary();
void FPDF_DestroyLibrary();
FPDF_BOOL FSDK_SetUnSpObjProcessHandler(UNSUPPORT_INFO *unsp_info);

// Documents. The bytes of a memory document must stay valid until it is closed.
FPDF_DOCUMENT FPDF_LoadMemDocument(const void *data_buf, int size, FPDF_BYTESTRING password);
FPDF_DOCUMENT FPDF_LoadMemDocument64(const void *data_buf, size_t size, FPDF_BYTESTRING password);
FPDF_DOCUMENT FPDF_LoadCustomDocument(FPDF_FILEACCESS *pFileAccess, FPDF_BYTESTRING password);
FPDF_DOCUMENT FPDF_LoadDocument(FPDF_STRING file_path, FPDF_BYTESTRING password);
void FPDF_CloseDocument(FPDF_DOCUMENT document);
int FPDF_GetPageCount(FPDF_DOCUMENT document);
// The error of the last failed load on the calling thread.
unsigned long FPDF_GetLastError();

// Document properties. Metadata text is UTF-16LE with a terminator; the answer is the byte count needed.
unsigned long FPDF_GetMetaText(FPDF_DOCUMENT document, FPDF_BYTESTRING tag, void *buffer,
                               unsigned long buflen);
FPDF_BOOL FPDF_GetFileVersion(FPDF_DOCUMENT document, int *fileVersion);
// The permission bits of an encrypted document; all bits set without encryption.
unsigned long FPDF_GetDocPermissions(FPDF_DOCUMENT document);
// The security handler's revision; -1 without encryption.
int FPDF_GetSecurityHandlerRevision(FPDF_DOCUMENT document);
FPDF_BOOL FPDF_VIEWERREF_GetPrintScaling(FPDF_DOCUMENT document);
int FPDF_VIEWERREF_GetNumCopies(FPDF_DOCUMENT document);
FPDF_BOOL FPDF_GetPageSizeByIndex(FPDF_DOCUMENT document, int page_index, double *width, double *height);

// The document outline. A null bookmark stands for the outline's root; handles live as long as the
// document.
FPDF_BOOKMARK FPDFBookmark_GetFirstChild(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark);
FPDF_BOOKMARK FPDFBookmark_GetNextSibling(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark);
// The title as UTF-16LE with a terminator; the answer is the byte count needed.
unsigned long FPDFBookmark_GetTitle(FPDF_BOOKMARK bookmark, void *buffer, unsigned long buflen);
// The place in the document the bookmark goes to; null when it goes nowhere in it (no target, a web address).
FPDF_DEST FPDFBookmark_GetDest(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark);
// The page of a place; -1 when it names no page of the document.
int FPDFDest_GetDestPageIndex(FPDF_DOCUMENT document, FPDF_DEST dest);

// Pages. Width and height are in points, after the page's own rotation.
FPDF_PAGE FPDF_LoadPage(FPDF_DOCUMENT document, int page_index);
void FPDF_ClosePage(FPDF_PAGE page);
double FPDF_GetPageWidth(FPDF_PAGE page);
double FPDF_GetPageHeight(FPDF_PAGE page);
int FPDFPage_GetRotation(FPDF_PAGE page);
FPDF_BOOL FPDFPage_HasTransparency(FPDF_PAGE page);
void FPDF_RenderPage(FPDF_DC dc, FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y, int rotate,
                     int flags);
void FPDF_RenderPageBitmap(FPDF_BITMAP bitmap, FPDF_PAGE page, int start_x, int start_y, int size_x,
                           int size_y, int rotate, int flags);
FPDF_BOOL FPDF_DeviceToPage(FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y, int rotate,
                            int device_x, int device_y, double *page_x, double *page_y);
FPDF_BOOL FPDF_PageToDevice(FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y, int rotate,
                            double page_x, double page_y, int *device_x, int *device_y);

// Bitmaps
FPDF_BITMAP FPDFBitmap_Create(int width, int height, int alpha);
// Only FPDFBitmap_BGRx and FPDFBitmap_BGRA are supported; other formats answer null.
FPDF_BITMAP FPDFBitmap_CreateEx(int width, int height, int format, void *first_scan, int stride);
int FPDFBitmap_GetFormat(FPDF_BITMAP bitmap);
// color is 0xAARRGGBB
FPDF_BOOL FPDFBitmap_FillRect(FPDF_BITMAP bitmap, int left, int top, int width, int height, FPDF_DWORD color);
void *FPDFBitmap_GetBuffer(FPDF_BITMAP bitmap);
int FPDFBitmap_GetWidth(FPDF_BITMAP bitmap);
int FPDFBitmap_GetHeight(FPDF_BITMAP bitmap);
int FPDFBitmap_GetStride(FPDF_BITMAP bitmap);
void FPDFBitmap_Destroy(FPDF_BITMAP bitmap);

// Text. Boxes and points are in page space (points, origin at the lower left, y upwards).
FPDF_TEXTPAGE FPDFText_LoadPage(FPDF_PAGE page);
void FPDFText_ClosePage(FPDF_TEXTPAGE text_page);
int FPDFText_CountChars(FPDF_TEXTPAGE text_page);
unsigned int FPDFText_GetUnicode(FPDF_TEXTPAGE text_page, int index);
double FPDFText_GetFontSize(FPDF_TEXTPAGE text_page, int index);
FPDF_BOOL FPDFText_GetCharBox(FPDF_TEXTPAGE text_page, int index, double *left, double *right, double *bottom,
                              double *top);
int FPDFText_GetCharIndexAtPos(FPDF_TEXTPAGE text_page, double x, double y, double xTolerance,
                               double yTolerance);
// Writes up to `count` characters and a terminator; answers the number of units written, terminator included.
int FPDFText_GetText(FPDF_TEXTPAGE text_page, int start_index, int count, unsigned short *result);
int FPDFText_CountRects(FPDF_TEXTPAGE text_page, int start_index, int count);
FPDF_BOOL FPDFText_GetRect(FPDF_TEXTPAGE text_page, int rect_index, double *left, double *top, double *right,
                           double *bottom);
// With a null buffer or buflen 0 answers the number of characters; else the number written (no terminator).
int FPDFText_GetBoundedText(FPDF_TEXTPAGE text_page, double left, double top, double right, double bottom,
                            unsigned short *buffer, int buflen);
FPDF_SCHHANDLE FPDFText_FindStart(FPDF_TEXTPAGE text_page, FPDF_WIDESTRING findwhat, unsigned long flags,
                                  int start_index);
FPDF_BOOL FPDFText_FindNext(FPDF_SCHHANDLE handle);
FPDF_BOOL FPDFText_FindPrev(FPDF_SCHHANDLE handle);
int FPDFText_GetSchResultIndex(FPDF_SCHHANDLE handle);
int FPDFText_GetSchCount(FPDF_SCHHANDLE handle);
void FPDFText_FindClose(FPDF_SCHHANDLE handle);

// Web links found in the page text
FPDF_PAGELINK FPDFLink_LoadWebLinks(FPDF_TEXTPAGE text_page);
int FPDFLink_CountWebLinks(FPDF_PAGELINK link_page);
// With a null buffer or buflen 0 answers the length including the terminator; else the units written.
int FPDFLink_GetURL(FPDF_PAGELINK link_page, int link_index, unsigned short *buffer, int buflen);
int FPDFLink_CountRects(FPDF_PAGELINK link_page, int link_index);
FPDF_BOOL FPDFLink_GetRect(FPDF_PAGELINK link_page, int link_index, int rect_index, double *left, double *top,
                           double *right, double *bottom);
void FPDFLink_CloseWebLinks(FPDF_PAGELINK link_page);
