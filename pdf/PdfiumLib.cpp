// The engine interface over MuPDF. MuPDF reports failures by long jumps, so every fz_try block below
// holds only C calls; C++ objects are built outside them.
#include "pdf/PdfiumLib.h"

#include "pdf/EngineContext.h"
#include "pdf/PageGeometry.h"
#include "pdf/PixelRows.h"
#include "pdf/TextModel.h"
#include "pdf/TextSearch.h"
#include "pdf/WebLinkFinder.h"

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>

struct FpdfDocumentRec {
    std::recursive_mutex mutex;
    pdf_document *doc = nullptr;
    int pageCount = 0;
    fz_outline *outline = nullptr; // read on the first bookmark call
    bool outlineRead = false;
    ~FpdfDocumentRec() {
        fz_context *ctx = engineContext();
        fz_drop_outline(ctx, outline);
        pdf_drop_document(ctx, doc);
    }
};

struct FpdfPageRec {
    FpdfDocumentRec *document = nullptr;
    pdf_page *page = nullptr;
    float width = 0;
    float height = 0;
    int rotation = 0;
    bool transparency = false;
    fz_matrix displayToDevice0 = fz_identity; // display space (MuPDF's, y down) to page space (y up)
    PageMatrix pageMatrix;                    // user space to page space (y up, page's rotation applied)
    ~FpdfPageRec() { fz_drop_page(engineContext(), reinterpret_cast<fz_page *>(page)); }
};

struct FpdfTextPageRec {
    FpdfPageRec *page = nullptr;
    std::unique_ptr<TextModel> model;
    std::vector<PageRect> rects; // of the last FPDFText_CountRects
};

struct FpdfSearchRec {
    TextSearch search;
};

struct FpdfPageLinkRec {
    struct Link {
        std::u16string url;
        std::vector<PageRect> rects;
    };
    std::vector<Link> links;
};

struct FpdfBitmapRec {
    int width = 0;
    int height = 0;
    int stride = 0;
    int format = FPDFBitmap_BGRA;
    unsigned char *buffer = nullptr;
    std::unique_ptr<unsigned char[]> owned;
};

namespace {

thread_local unsigned long lastError = FPDF_ERR_SUCCESS;
std::atomic<UNSUPPORT_INFO *> unsupportedHandler{nullptr};

void reportUnsupported(int code) {
    UNSUPPORT_INFO *handler = unsupportedHandler.load();
    if (handler && handler->FSDK_UnSupport_Handler)
        handler->FSDK_UnSupport_Handler(handler, code);
}

using DocumentLock = std::lock_guard<std::recursive_mutex>;

// ---- documents

bool mentions(const char *message, std::string_view word) {
    return message && std::string_view(message).find(word) != std::string_view::npos;
}

unsigned long openFailure(fz_context *ctx) {
    const char *message = fz_caught_message(ctx);
    if (mentions(message, "crypt") || mentions(message, "security handler"))
        return FPDF_ERR_SECURITY;
    return FPDF_ERR_FORMAT;
}

// Whether page `index` of the page tree is a page dictionary; a damaged file's tree may count pages whose
// objects were lost.
bool pageObjectExists(fz_context *ctx, pdf_document *doc, int index) {
    bool exists = false;
    fz_var(exists);
    fz_try(ctx) {
        exists = pdf_is_dict(ctx, pdf_lookup_page_obj(ctx, doc, index));
    }
    fz_catch(ctx) {
        exists = false;
    }
    return exists;
}

bool hasAnyPage(fz_context *ctx, pdf_document *doc, int pageCount) {
    for (int i = 0; i < pageCount; ++i)
        if (pageObjectExists(ctx, doc, i))
            return true;
    return false;
}

// The pages a page tree holds, counted leaf by leaf, for a tree whose /Count cannot be true. A node already
// on the path is not followed again (a cycle), the tree is followed MaxTreeDepth levels deep, and at most
// `budget` steps are taken; a failure leaves the pages counted so far. C calls only, as it runs in fz_try.
int countPageLeaves(fz_context *ctx, pdf_document *doc, int budget) {
    constexpr int MaxTreeDepth = 64;
    pdf_obj *path[MaxTreeDepth];
    int nextKid[MaxTreeDepth];
    int depth = 0, pages = 0;
    fz_var(path);
    fz_var(nextKid);
    fz_var(depth);
    fz_var(pages);
    fz_try(ctx) {
        pdf_obj *root = pdf_dict_getp(ctx, pdf_trailer(ctx, doc), "Root/Pages");
        if (pdf_is_dict(ctx, root) && !pdf_mark_obj(ctx, root)) {
            path[0] = root;
            nextKid[0] = 0;
            depth = 1;
        }
        while (depth > 0 && budget-- > 0) {
            pdf_obj *node = path[depth - 1];
            pdf_obj *kids = pdf_dict_get(ctx, node, PDF_NAME(Kids));
            if (!pdf_is_array(ctx, kids) || nextKid[depth - 1] >= pdf_array_len(ctx, kids)) {
                pages += pdf_is_array(ctx, kids) ? 0 : 1;
                pdf_unmark_obj(ctx, node);
                --depth;
                continue;
            }
            pdf_obj *kid = pdf_array_get(ctx, kids, nextKid[depth - 1]++);
            if (depth < MaxTreeDepth && pdf_is_dict(ctx, kid) && !pdf_mark_obj(ctx, kid)) {
                path[depth] = kid;
                nextKid[depth] = 0;
                ++depth;
            }
        }
    }
    fz_always(ctx) {
        while (depth > 0)
            pdf_unmark_obj(ctx, path[--depth]);
    }
    fz_catch(ctx) {
        // The pages counted so far stand.
    }
    return pages;
}

// The length of the file the document reads; 0 when it cannot be told. A file the engine repaired from a
// broken start may not have it recorded.
int64_t fileLength(fz_context *ctx, pdf_document *doc) {
    if (doc->file_size > 0)
        return doc->file_size;
    int64_t length = 0;
    fz_var(length);
    fz_try(ctx) {
        fz_seek(ctx, doc->file, 0, SEEK_END);
        length = fz_tell(ctx, doc->file);
    }
    fz_catch(ctx) {
        length = 0;
    }
    return length;
}

// A page tree's /Count may claim any number of pages (a hostile file claims billions, and the document's
// page table is made that long). A claim beyond one page per byte of the file, or for a file of unknown
// length, is counted instead, within a bounded walk; the answer never exceeds the claim.
int plausiblePageCount(fz_context *ctx, pdf_document *doc, int claimed) {
    constexpr int MaxCountingSteps = 1 << 22;
    const int64_t length = fileLength(ctx, doc);
    if (length > 0 && claimed <= length)
        return claimed;
    return std::min(claimed, countPageLeaves(ctx, doc, MaxCountingSteps));
}

// Opens a PDF from a stream it takes over; on failure sets `error` and answers null. A document left
// without a single page (what the repair of a truncated file may give) is refused as not a PDF.
pdf_document *openPdf(fz_context *ctx, fz_stream *stream, const char *password, int &pageCount,
                      unsigned long &error) {
    pdf_document *doc = nullptr;
    error = FPDF_ERR_SUCCESS;
    fz_var(doc);
    fz_try(ctx) {
        doc = pdf_open_document_with_stream(ctx, stream);
        if (pdf_needs_password(ctx, doc) && !pdf_authenticate_password(ctx, doc, password ? password : ""))
            error = FPDF_ERR_PASSWORD;
        else
            pageCount = pdf_count_pages(ctx, doc);
    }
    fz_always(ctx) {
        fz_drop_stream(ctx, stream);
    }
    fz_catch(ctx) {
        error = openFailure(ctx);
    }
    if (error == FPDF_ERR_SUCCESS)
        pageCount = plausiblePageCount(ctx, doc, pageCount);
    if (error == FPDF_ERR_SUCCESS && !hasAnyPage(ctx, doc, pageCount))
        error = FPDF_ERR_FORMAT;
    if (error != FPDF_ERR_SUCCESS) {
        pdf_drop_document(ctx, doc);
        return nullptr;
    }
    return doc;
}

bool hasPath(fz_context *ctx, pdf_obj *obj, const char *path) {
    bool found = false;
    fz_var(found);
    fz_try(ctx) {
        found = pdf_dict_getp(ctx, obj, path) != nullptr;
    }
    fz_catch(ctx) {
        found = false;
    }
    return found;
}

void reportDocumentFeatures(fz_context *ctx, pdf_document *doc) {
    pdf_obj *root = nullptr;
    fz_var(root);
    fz_try(ctx) {
        root = pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root));
    }
    fz_catch(ctx) {
        return;
    }
    const bool xfa = hasPath(ctx, root, "AcroForm/XFA");
    const bool collection = hasPath(ctx, root, "Collection");
    const bool attachment = hasPath(ctx, root, "Names/EmbeddedFiles");
    if (xfa)
        reportUnsupported(FPDF_UNSP_DOC_XFAFORM);
    if (collection)
        reportUnsupported(FPDF_UNSP_DOC_PORTABLECOLLECTION);
    if (attachment)
        reportUnsupported(FPDF_UNSP_DOC_ATTACHMENT);
}

FPDF_DOCUMENT loadDocument(fz_stream *(*open)(fz_context *, const void *, size_t), const void *source,
                           size_t size, FPDF_BYTESTRING password) {
    fz_context *ctx = engineContext();
    fz_stream *stream = nullptr;
    fz_try(ctx) {
        stream = open(ctx, source, size);
    }
    fz_catch(ctx) {
        lastError = FPDF_ERR_FILE;
        return nullptr;
    }
    int pageCount = 0;
    unsigned long error = FPDF_ERR_SUCCESS;
    pdf_document *doc = openPdf(ctx, stream, password, pageCount, error);
    lastError = error;
    if (!doc)
        return nullptr;
    auto record = std::make_unique<FpdfDocumentRec>();
    record->doc = doc;
    record->pageCount = pageCount;
    reportDocumentFeatures(ctx, doc);
    return record.release();
}

fz_stream *openMemory(fz_context *ctx, const void *data, size_t size) {
    return fz_open_memory(ctx, static_cast<const unsigned char *>(data), size);
}

fz_stream *openFile(fz_context *ctx, const void *path, size_t) {
    return fz_open_file(ctx, static_cast<const char *>(path));
}

struct CustomStream {
    FPDF_FILEACCESS access;
    unsigned char buffer[16384];
};

int nextCustomBlock(fz_context *ctx, fz_stream *stm, size_t) {
    auto *state = static_cast<CustomStream *>(stm->state);
    const int64_t length = int64_t(state->access.m_FileLen);
    if (stm->pos >= length)
        return EOF;
    const unsigned long size = (unsigned long)std::min<int64_t>(sizeof state->buffer, length - stm->pos);
    if (!state->access.m_GetBlock(state->access.m_Param, (unsigned long)stm->pos, state->buffer, size))
        fz_throw(ctx, FZ_ERROR_GENERIC, "block read failed");
    stm->rp = state->buffer;
    stm->wp = state->buffer + size;
    stm->pos += size;
    return *stm->rp++;
}

void seekCustom(fz_context *, fz_stream *stm, int64_t offset, int whence) {
    auto *state = static_cast<CustomStream *>(stm->state);
    const int64_t length = int64_t(state->access.m_FileLen);
    int64_t target = whence == SEEK_SET ? offset : whence == SEEK_CUR ? stm->pos + offset : length + offset;
    stm->pos = std::clamp<int64_t>(target, 0, length);
    stm->rp = stm->wp = state->buffer;
}

void dropCustom(fz_context *, void *state) {
    delete static_cast<CustomStream *>(state);
}

fz_stream *openCustom(fz_context *ctx, const void *access, size_t) {
    auto *state = new CustomStream{*static_cast<const FPDF_FILEACCESS *>(access), {}};
    fz_stream *stream = nullptr;
    fz_try(ctx) {
        stream = fz_new_stream(ctx, state, nextCustomBlock, dropCustom);
    }
    fz_catch(ctx) {
        delete state;
        fz_rethrow(ctx);
    }
    stream->seek = seekCustom;
    return stream;
}

// ---- pages

int normalisedRotation(int degrees) {
    return ((degrees % 360 + 360) % 360) / 90;
}

int annotationFeature(std::string_view subtype) {
    if (subtype == "3D")
        return FPDF_UNSP_ANNOT_3DANNOT;
    if (subtype == "Movie")
        return FPDF_UNSP_ANNOT_MOVIE;
    if (subtype == "Sound")
        return FPDF_UNSP_ANNOT_SOUND;
    if (subtype == "Screen")
        return FPDF_UNSP_ANNOT_SCREEN_MEDIA;
    if (subtype == "RichMedia")
        return FPDF_UNSP_ANNOT_SCREEN_RICHMEDIA;
    if (subtype == "FileAttachment")
        return FPDF_UNSP_ANNOT_ATTACHMENT;
    return 0;
}

// Collects the unsupported features among the page's annotations; C calls only, as it runs in fz_try.
int annotationFeatures(fz_context *ctx, pdf_page *page, int *features, int capacity) {
    int found = 0;
    pdf_obj *annots = pdf_dict_get(ctx, page->obj, PDF_NAME(Annots));
    const int count = pdf_array_len(ctx, annots);
    for (int i = 0; i < count && found < capacity; ++i) {
        pdf_obj *annot = pdf_array_get(ctx, annots, i);
        const char *subtype = pdf_to_name(ctx, pdf_dict_get(ctx, annot, PDF_NAME(Subtype)));
        int feature = annotationFeature(subtype);
        if (!feature && std::strcmp(subtype, "Widget") == 0 &&
            std::strcmp(pdf_to_name(ctx, pdf_dict_get(ctx, annot, PDF_NAME(FT))), "Sig") == 0)
            feature = FPDF_UNSP_ANNOT_SIG;
        if (feature)
            features[found++] = feature;
    }
    return found;
}

int pageFeatures(fz_context *ctx, pdf_page *page, int *features, int capacity) {
    int found = 0;
    fz_var(found);
    fz_try(ctx) {
        found = annotationFeatures(ctx, page, features, capacity);
    }
    fz_catch(ctx) {
        found = 0;
    }
    return found;
}

bool loadPdfPage(fz_context *ctx, FpdfDocumentRec *document, int index, FpdfPageRec &record) {
    pdf_page *page = nullptr;
    bool ok = true;
    fz_var(page);
    fz_try(ctx) {
        page = pdf_load_page(ctx, document->doc, index);
        fz_rect box;
        fz_matrix userToDisplay;
        pdf_page_transform(ctx, page, &box, &userToDisplay);
        const fz_rect bounds = fz_transform_rect(box, userToDisplay);
        record.width = bounds.x1 - bounds.x0;
        record.height = bounds.y1 - bounds.y0;
        record.displayToDevice0 = fz_make_matrix(1, 0, 0, -1, -bounds.x0, bounds.y1);
        const fz_matrix m = fz_concat(userToDisplay, record.displayToDevice0);
        record.pageMatrix = {m.a, m.b, m.c, m.d, m.e, m.f};
        record.rotation =
            normalisedRotation(pdf_to_int(ctx, pdf_dict_get_inheritable(ctx, page->obj, PDF_NAME(Rotate))));
        record.transparency = page->transparency != 0;
    }
    fz_catch(ctx) {
        fz_drop_page(ctx, reinterpret_cast<fz_page *>(page));
        page = nullptr;
        ok = false;
    }
    record.page = page;
    return ok;
}

// ---- rendering

void forEachPixel(unsigned char *samples, int stride, const fz_irect &area, int originX, int originY,
                  void (*op)(unsigned char *)) {
    for (int y = area.y0; y < area.y1; ++y) {
        unsigned char *row = samples + size_t(y - originY) * stride + size_t(area.x0 - originX) * 4;
        for (int x = area.x0; x < area.x1; ++x, row += 4)
            op(row);
    }
}

void swapRedBlue(unsigned char *p) {
    std::swap(p[0], p[2]);
}
void toGray(unsigned char *p) {
    const unsigned char gray = (unsigned char)((p[2] * 77 + p[1] * 150 + p[0] * 29) >> 8);
    p[0] = p[1] = p[2] = gray;
}
void premultiply(unsigned char *p) {
    for (int i = 0; i < 3; ++i)
        p[i] = (unsigned char)((p[i] * p[3] + 127) / 255);
}
void unpremultiply(unsigned char *p) {
    if (p[3] == 0 || p[3] == 255)
        return;
    for (int i = 0; i < 3; ++i)
        p[i] = (unsigned char)std::min(255, (p[i] * 255 + p[3] / 2) / p[3]);
}

struct RenderTarget {
    unsigned char *samples;
    int stride;
    int originX;
    int originY;
    int width;
    int height;
    bool premultiplied; // false: straight alpha, as engine bitmaps with alpha keep it
    bool opaque;        // its alpha byte is unused (RGB32 images, BGRx bitmaps)
};

unsigned char *targetPixel(const RenderTarget &target, int x, int y) {
    return target.samples + size_t(y - target.originY) * target.stride + size_t(x - target.originX) * 4;
}

// A pixmap of its own for the area: without alpha for an opaque target, transparent otherwise.
fz_pixmap *newAreaPixmap(fz_context *ctx, const fz_irect &area, bool opaque) {
    fz_pixmap *pixmap = nullptr;
    fz_var(pixmap);
    fz_try(ctx) {
        pixmap = fz_new_pixmap_with_bbox(ctx, fz_device_bgr(ctx), area, nullptr, opaque ? 0 : 1);
        if (!opaque)
            fz_clear_pixmap(ctx, pixmap);
    }
    fz_catch(ctx) {
        pixmap = nullptr;
    }
    return pixmap;
}

// Premultiplied source-over of a row of the transparent pixmap onto the target's.
void compositeRow(const unsigned char *from, unsigned char *to, int pixels) {
    for (int i = 0; i < pixels; ++i, from += 4, to += 4) {
        const unsigned keep = 255 - from[3];
        for (int c = 0; c < 4; ++c)
            to[c] = (unsigned char)(from[c] + (to[c] * keep + 127) / 255);
    }
}

// Copies the target's pixels of the area into an opaque pixmap, the paper the page is drawn onto.
void seedFromTarget(fz_context *ctx, fz_pixmap *pixmap, const RenderTarget &target, const fz_irect &area) {
    const int width = area.x1 - area.x0;
    const int stride = fz_pixmap_stride(ctx, pixmap);
    unsigned char *row = fz_pixmap_samples(ctx, pixmap);
    for (int y = area.y0; y < area.y1; ++y, row += stride)
        packRow(targetPixel(target, area.x0, y), row, width);
}

// Puts the drawn area back: an opaque pixmap replaces the target's pixels, a transparent one is composited
// over them.
void mergeIntoTarget(fz_context *ctx, fz_pixmap *pixmap, const RenderTarget &target, const fz_irect &area,
                     bool opaque) {
    const int width = area.x1 - area.x0;
    const int stride = fz_pixmap_stride(ctx, pixmap);
    const unsigned char *row = fz_pixmap_samples(ctx, pixmap);
    for (int y = area.y0; y < area.y1; ++y, row += stride) {
        if (opaque)
            unpackRow(row, targetPixel(target, area.x0, y), width);
        else
            compositeRow(row, targetPixel(target, area.x0, y), width);
    }
}

// Draws the page into a pixmap of the area and merges that into the target. Onto an opaque target the page
// is drawn without alpha over the target's pixels, as the engine's own renderer draws onto paper; onto one
// with alpha it is drawn onto transparency and composited. Drawn straight onto an opaque pixmap that has
// alpha, partly transparent areas (pattern tiles) would replace the paper instead of covering it.
void drawArea(FpdfPageRec *page, const RenderTarget &target, const fz_irect &area, const fz_matrix &ctm,
              int flags) {
    fz_context *ctx = engineContext();
    const bool opaque = target.opaque;
    fz_pixmap *pixmap = newAreaPixmap(ctx, area, opaque);
    if (!pixmap)
        return;
    if (opaque)
        seedFromTarget(ctx, pixmap, target, area);
    fz_device *device = nullptr;
    fz_var(device);
    fz_try(ctx) {
        device = fz_new_draw_device(ctx, ctm, pixmap);
        if (flags & FPDF_ANNOT)
            fz_run_page(ctx, &page->page->super, device, fz_identity, nullptr);
        else
            fz_run_page_contents(ctx, &page->page->super, device, fz_identity, nullptr);
        fz_close_device(ctx, device);
    }
    fz_always(ctx) {
        fz_drop_device(ctx, device);
    }
    fz_catch(ctx) {
        // A page that fails part way keeps what was drawn, as a damaged page would.
    }
    mergeIntoTarget(ctx, pixmap, target, area, opaque);
    fz_drop_pixmap(ctx, pixmap);
}

void renderPage(FpdfPageRec *page, const RenderTarget &target, int startX, int startY, int sizeX, int sizeY,
                int rotate, int flags) {
    fz_irect area =
        fz_intersect_irect(fz_make_irect(startX, startY, startX + sizeX, startY + sizeY),
                           fz_make_irect(target.originX, target.originY, target.originX + target.width,
                                         target.originY + target.height));
    if (fz_is_empty_irect(area))
        return;
    const PageMatrix d =
        displayMatrix(page->width, page->height, startX, startY, startX + sizeX, startY + sizeY, rotate);
    const fz_matrix ctm = fz_concat(page->displayToDevice0, fz_make_matrix(d.a, d.b, d.c, d.d, d.e, d.f));
    if (flags & FPDF_REVERSE_BYTE_ORDER)
        forEachPixel(target.samples, target.stride, area, target.originX, target.originY, swapRedBlue);
    if (!target.premultiplied)
        forEachPixel(target.samples, target.stride, area, target.originX, target.originY, premultiply);
    drawArea(page, target, area, ctm, flags);
    if (!target.premultiplied)
        forEachPixel(target.samples, target.stride, area, target.originX, target.originY, unpremultiply);
    if (flags & FPDF_GRAYSCALE)
        forEachPixel(target.samples, target.stride, area, target.originX, target.originY, toGray);
    if (flags & FPDF_REVERSE_BYTE_ORDER)
        forEachPixel(target.samples, target.stride, area, target.originX, target.originY, swapRedBlue);
}

// ---- text

// Runs the page's contents into MuPDF's text device and copies its lines out as fragments in user
// space; the glyphs go to `glyphs`, which the fragments view.
std::vector<FragmentInput> extractFragments(fz_context *ctx, FpdfPageRec *page,
                                            std::vector<GlyphInput> &glyphs, bool &ok) {
    std::vector<FragmentInput> fragments;
    fz_stext_page *text = nullptr;
    fz_device *device = nullptr;
    ok = true;
    fz_var(text);
    fz_var(device);
    fz_try(ctx) {
        text = fz_new_stext_page(ctx, fz_bound_page(ctx, &page->page->super));
        const fz_stext_options options{FZ_STEXT_INHIBIT_SPACES, 0};
        device = fz_new_stext_device(ctx, text, &options);
        fz_run_page_contents(ctx, &page->page->super, device, fz_identity, nullptr);
        fz_close_device(ctx, device);
    }
    fz_always(ctx) {
        fz_drop_device(ctx, device);
    }
    fz_catch(ctx) {
        ok = false;
    }
    if (!ok) {
        fz_drop_stext_page(ctx, text);
        return fragments;
    }
    // Display space (y down) to user space.
    const PageMatrix &m = page->pageMatrix;
    const fz_matrix toUser = fz_invert_matrix(
        fz_concat(fz_make_matrix(m.a, m.b, m.c, m.d, m.e, m.f), fz_invert_matrix(page->displayToDevice0)));
    const bool upright = toUser.b == 0 && toUser.c == 0;
    struct Run {
        size_t first, count;
        bool horizontal;
    };
    std::vector<Run> runs;
    glyphs.clear();
    for (fz_stext_block *block = text->first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        for (fz_stext_line *line = block->u.t.first_line; line; line = line->next) {
            fz_point dir = fz_normalize_vector(fz_transform_vector(line->dir, toUser));
            // A lone glyph drawn mirrored or upside down along the line (the reversed E of the XeTeX logo)
            // reads with the line it stands in, measured left to right like its neighbours.
            if (std::fabs(dir.y) < 0.01f && dir.x < 0 && line->first_char &&
                line->first_char == line->last_char)
                dir = {1, 0};
            const size_t first = glyphs.size();
            for (fz_stext_char *ch = line->first_char; ch; ch = ch->next) {
                GlyphInput glyph;
                glyph.unicode = char32_t(ch->c);
                glyph.fontSize = ch->size;
                fz_rect r;
                fz_point ll, lr;
                if (upright) {
                    r = fz_transform_rect(fz_rect_from_quad(ch->quad), toUser);
                    ll = fz_transform_point(ch->quad.ll, toUser);
                    lr = fz_transform_point(ch->quad.lr, toUser);
                } else {
                    const fz_quad q = fz_transform_quad(ch->quad, toUser);
                    r = fz_rect_from_quad(q);
                    ll = q.ll;
                    lr = q.lr;
                }
                glyph.left = r.x0;
                glyph.right = r.x1;
                glyph.bottom = r.y0;
                glyph.top = r.y1;
                glyph.start = ll.x * dir.x + ll.y * dir.y;
                glyph.end = lr.x * dir.x + lr.y * dir.y;
                if (glyph.end < glyph.start) // a mirrored glyph's baseline runs backwards
                    std::swap(glyph.start, glyph.end);
                glyphs.push_back(glyph);
            }
            runs.push_back({first, glyphs.size() - first, std::fabs(dir.y) < 0.01f && dir.x > 0});
        }
    }
    fz_drop_stext_page(ctx, text);
    fragments.reserve(runs.size());
    for (const Run &run : runs)
        fragments.push_back(
            {std::span<const GlyphInput>(glyphs.data() + run.first, run.count), run.horizontal});
    return fragments;
}

int copyUnits(const std::u16string &text, unsigned short *buffer) {
    std::copy(text.begin(), text.end(), buffer);
    return int(text.size());
}

void putRect(const PageRect &r, double *left, double *top, double *right, double *bottom) {
    if (left)
        *left = r.left;
    if (top)
        *top = r.top;
    if (right)
        *right = r.right;
    if (bottom)
        *bottom = r.bottom;
}

} // namespace

// ---- library

void FPDF_InitLibrary() {
    startEngineContext();
}

void FPDF_DestroyLibrary() {
    stopEngineContext();
}

FPDF_BOOL FSDK_SetUnSpObjProcessHandler(UNSUPPORT_INFO *unsp_info) {
    if (!unsp_info || unsp_info->version != 1)
        return false;
    unsupportedHandler = unsp_info;
    return true;
}

// ---- documents

FPDF_DOCUMENT FPDF_LoadMemDocument(const void *data_buf, int size, FPDF_BYTESTRING password) {
    return FPDF_LoadMemDocument64(data_buf, size < 0 ? 0 : size_t(size), password);
}

FPDF_DOCUMENT FPDF_LoadMemDocument64(const void *data_buf, size_t size, FPDF_BYTESTRING password) {
    if (!data_buf) {
        lastError = FPDF_ERR_FILE;
        return nullptr;
    }
    return loadDocument(openMemory, data_buf, size, password);
}

FPDF_DOCUMENT FPDF_LoadCustomDocument(FPDF_FILEACCESS *pFileAccess, FPDF_BYTESTRING password) {
    if (!pFileAccess || !pFileAccess->m_GetBlock) {
        lastError = FPDF_ERR_FILE;
        return nullptr;
    }
    return loadDocument(openCustom, pFileAccess, 0, password);
}

FPDF_DOCUMENT FPDF_LoadDocument(FPDF_STRING file_path, FPDF_BYTESTRING password) {
    if (!file_path) {
        lastError = FPDF_ERR_FILE;
        return nullptr;
    }
    return loadDocument(openFile, file_path, 0, password);
}

void FPDF_CloseDocument(FPDF_DOCUMENT document) {
    if (!document)
        return;
    document->mutex.lock();
    document->mutex.unlock();
    delete document;
}

int FPDF_GetPageCount(FPDF_DOCUMENT document) {
    return document ? document->pageCount : 0;
}

unsigned long FPDF_GetLastError() {
    return lastError;
}

// ---- document properties

namespace {

// Runs a lookup of C calls on the document under its lock; a failing lookup answers `fallback`.
template <class T> T lookUp(FPDF_DOCUMENT document, T fallback, T (*lookup)(fz_context *, pdf_document *)) {
    if (!document)
        return fallback;
    DocumentLock lock(document->mutex);
    fz_context *ctx = engineContext();
    T result = fallback;
    fz_var(result);
    fz_try(ctx) {
        result = lookup(ctx, document->doc);
    }
    fz_catch(ctx) {
        result = fallback;
    }
    return result;
}

pdf_obj *encryption(fz_context *ctx, pdf_document *doc) {
    return pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Encrypt));
}

pdf_obj *viewerPreference(fz_context *ctx, pdf_document *doc, const char *key) {
    pdf_obj *root = pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root));
    return pdf_dict_gets(ctx, pdf_dict_gets(ctx, root, "ViewerPreferences"), key);
}

// Page size after the page's own rotation, read from the page tree without loading the page.
bool pageSize(fz_context *ctx, pdf_document *doc, int index, float &width, float &height) {
    bool ok = true;
    fz_var(ok);
    fz_try(ctx) {
        fz_rect box;
        fz_matrix ctm;
        pdf_page_obj_transform(ctx, pdf_lookup_page_obj(ctx, doc, index), &box, &ctm);
        const fz_rect bounds = fz_transform_rect(box, ctm);
        width = bounds.x1 - bounds.x0;
        height = bounds.y1 - bounds.y0;
    }
    fz_catch(ctx) {
        ok = false;
    }
    return ok;
}

} // namespace

unsigned long FPDF_GetMetaText(FPDF_DOCUMENT document, FPDF_BYTESTRING tag, void *buffer,
                               unsigned long buflen) {
    if (!document || !tag)
        return 0;
    const std::string key = std::string("info:") + tag;
    char value[4096] = {};
    {
        DocumentLock lock(document->mutex);
        fz_context *ctx = engineContext();
        fz_try(ctx) {
            fz_lookup_metadata(ctx, &document->doc->super, key.c_str(), value, sizeof value);
        }
        fz_catch(ctx) {
            value[0] = 0;
        }
    }
    const std::u16string text = QString::fromUtf8(value).toStdU16String() + u'\0';
    const unsigned long bytes = (unsigned long)(text.size() * 2);
    if (buffer && buflen >= bytes)
        std::memcpy(buffer, text.data(), bytes);
    return bytes;
}

FPDF_BOOL FPDF_GetFileVersion(FPDF_DOCUMENT document, int *fileVersion) {
    if (!document || !fileVersion)
        return false;
    *fileVersion =
        lookUp<int>(document, 0, [](fz_context *ctx, pdf_document *doc) { return pdf_version(ctx, doc); });
    return *fileVersion > 0;
}

unsigned long FPDF_GetDocPermissions(FPDF_DOCUMENT document) {
    return lookUp<unsigned long>(document, 0, [](fz_context *ctx, pdf_document *doc) {
        pdf_obj *encrypt = encryption(ctx, doc);
        return encrypt ? (unsigned long)(unsigned)pdf_to_int(ctx, pdf_dict_get(ctx, encrypt, PDF_NAME(P)))
                       : 0xFFFFFFFFul;
    });
}

int FPDF_GetSecurityHandlerRevision(FPDF_DOCUMENT document) {
    return lookUp<int>(document, -1, [](fz_context *ctx, pdf_document *doc) {
        pdf_obj *encrypt = encryption(ctx, doc);
        return encrypt ? pdf_to_int(ctx, pdf_dict_get(ctx, encrypt, PDF_NAME(R))) : -1;
    });
}

FPDF_BOOL FPDF_VIEWERREF_GetPrintScaling(FPDF_DOCUMENT document) {
    return lookUp<int>(document, 1, [](fz_context *ctx, pdf_document *doc) {
        return int(!pdf_name_eq(ctx, viewerPreference(ctx, doc, "PrintScaling"), PDF_NAME(None)));
    });
}

int FPDF_VIEWERREF_GetNumCopies(FPDF_DOCUMENT document) {
    return lookUp<int>(document, 1, [](fz_context *ctx, pdf_document *doc) {
        pdf_obj *copies = viewerPreference(ctx, doc, "NumCopies");
        return copies ? pdf_to_int(ctx, copies) : 1;
    });
}

FPDF_BOOL FPDF_GetPageSizeByIndex(FPDF_DOCUMENT document, int page_index, double *width, double *height) {
    if (!document || !width || !height || page_index < 0 || page_index >= document->pageCount)
        return false;
    DocumentLock lock(document->mutex);
    float w = 0, h = 0;
    if (!pageSize(engineContext(), document->doc, page_index, w, h))
        return false;
    *width = w;
    *height = h;
    return true;
}

// ---- outline

// Bookmark and place handles are the outline's own nodes.
namespace {

fz_outline *outlineNode(FPDF_BOOKMARK bookmark) {
    return reinterpret_cast<fz_outline *>(bookmark);
}

FPDF_BOOKMARK bookmarkOf(fz_outline *node) {
    return reinterpret_cast<FPDF_BOOKMARK>(node);
}

// The outline's first top-level node, read once under the document's lock; a damaged outline reads as none.
fz_outline *outlineRoot(FPDF_DOCUMENT document) {
    DocumentLock lock(document->mutex);
    if (!document->outlineRead) {
        fz_context *ctx = engineContext();
        fz_outline *outline = nullptr;
        fz_var(outline);
        fz_try(ctx) {
            outline = fz_load_outline(ctx, &document->doc->super);
        }
        fz_catch(ctx) {
            outline = nullptr;
        }
        document->outline = outline;
        document->outlineRead = true;
    }
    return document->outline;
}

} // namespace

FPDF_BOOKMARK FPDFBookmark_GetFirstChild(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark) {
    if (!document)
        return nullptr;
    return bookmarkOf(bookmark ? outlineNode(bookmark)->down : outlineRoot(document));
}

FPDF_BOOKMARK FPDFBookmark_GetNextSibling(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark) {
    if (!document || !bookmark)
        return nullptr;
    return bookmarkOf(outlineNode(bookmark)->next);
}

unsigned long FPDFBookmark_GetTitle(FPDF_BOOKMARK bookmark, void *buffer, unsigned long buflen) {
    if (!bookmark)
        return 0;
    const char *title = outlineNode(bookmark)->title;
    const std::u16string text = QString::fromUtf8(title ? title : "").toStdU16String() + u'\0';
    const unsigned long bytes = (unsigned long)(text.size() * 2);
    if (buffer && buflen >= bytes)
        std::memcpy(buffer, text.data(), bytes);
    return bytes;
}

FPDF_DEST FPDFBookmark_GetDest(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark) {
    if (!document || !bookmark)
        return nullptr;
    fz_outline *node = outlineNode(bookmark);
    if (!node->uri || node->page.page < 0 || fz_is_external_link(engineContext(), node->uri))
        return nullptr;
    return reinterpret_cast<FPDF_DEST>(node);
}

int FPDFDest_GetDestPageIndex(FPDF_DOCUMENT document, FPDF_DEST dest) {
    if (!document || !dest)
        return -1;
    DocumentLock lock(document->mutex);
    fz_context *ctx = engineContext();
    const fz_location location = reinterpret_cast<const fz_outline *>(dest)->page;
    int page = -1;
    fz_var(page);
    fz_try(ctx) {
        page = fz_page_number_from_location(ctx, &document->doc->super, location);
    }
    fz_catch(ctx) {
        page = -1;
    }
    return page >= 0 && page < document->pageCount ? page : -1;
}

// ---- pages

FPDF_PAGE FPDF_LoadPage(FPDF_DOCUMENT document, int page_index) {
    if (!document || page_index < 0 || page_index >= document->pageCount) {
        lastError = FPDF_ERR_PAGE;
        return nullptr;
    }
    DocumentLock lock(document->mutex);
    fz_context *ctx = engineContext();
    auto record = std::make_unique<FpdfPageRec>();
    record->document = document;
    if (!loadPdfPage(ctx, document, page_index, *record)) {
        record->page = nullptr;
        lastError = FPDF_ERR_PAGE;
        return nullptr;
    }
    int features[16];
    const int found = pageFeatures(ctx, record->page, features, 16);
    for (int i = 0; i < found; ++i)
        reportUnsupported(features[i]);
    return record.release();
}

void FPDF_ClosePage(FPDF_PAGE page) {
    if (!page)
        return;
    DocumentLock lock(page->document->mutex);
    delete page;
}

double FPDF_GetPageWidth(FPDF_PAGE page) {
    return page ? page->width : 0;
}
double FPDF_GetPageHeight(FPDF_PAGE page) {
    return page ? page->height : 0;
}
int FPDFPage_GetRotation(FPDF_PAGE page) {
    return page ? page->rotation : -1;
}
FPDF_BOOL FPDFPage_HasTransparency(FPDF_PAGE page) {
    return page && page->transparency;
}

namespace {

// The painter's image when drawing can go straight into its pixels: a 32-bit premultiplied (or opaque)
// image, painted without transformation, opacity or a composition other than source-over.
QImage *directTarget(QPainter *dc) {
    QPaintDevice *device = dc->device();
    if (!device || device->devType() != QInternal::Image || !dc->transform().isIdentity() ||
        dc->opacity() != 1 || dc->compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    if (dc->hasClipping() && dc->clipRegion().rectCount() != 1)
        return nullptr;
    auto *image = static_cast<QImage *>(device);
    const QImage::Format format = image->format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied ? image : nullptr;
}

} // namespace

void FPDF_RenderPage(FPDF_DC dc, FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y, int rotate,
                     int flags) {
    if (!dc || !page || size_x <= 0 || size_y <= 0)
        return;
    QRect area(start_x, start_y, size_x, size_y);
    if (const QPaintDevice *device = dc->device())
        area &= dc->transform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
    if (dc->hasClipping())
        area &= dc->clipBoundingRect().toAlignedRect();
    if (area.isEmpty())
        return;
    if (QImage *image = directTarget(dc)) {
        // Straight into the image's pixels, limited to the visible area.
        DocumentLock lock(page->document->mutex);
        // The painter already holds the image's own buffer: write there without detaching it again.
        uchar *origin = const_cast<uchar *>(image->constBits()) +
                        qsizetype(area.y()) * image->bytesPerLine() + qsizetype(area.x()) * 4;
        renderPage(page,
                   {origin, int(image->bytesPerLine()), area.x(), area.y(), area.width(), area.height(), true,
                    image->format() == QImage::Format_RGB32},
                   start_x, start_y, size_x, size_y, rotate, flags);
        return;
    }
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        DocumentLock lock(page->document->mutex);
        renderPage(page,
                   {image.bits(), int(image.bytesPerLine()), area.x(), area.y(), area.width(), area.height(),
                    true, false},
                   start_x, start_y, size_x, size_y, rotate, flags);
    }
    dc->drawImage(area.topLeft(), image);
}

void FPDF_RenderPageBitmap(FPDF_BITMAP bitmap, FPDF_PAGE page, int start_x, int start_y, int size_x,
                           int size_y, int rotate, int flags) {
    if (!bitmap || !page || size_x <= 0 || size_y <= 0)
        return;
    DocumentLock lock(page->document->mutex);
    renderPage(page,
               {bitmap->buffer, bitmap->stride, 0, 0, bitmap->width, bitmap->height,
                bitmap->format != FPDFBitmap_BGRA, bitmap->format != FPDFBitmap_BGRA},
               start_x, start_y, size_x, size_y, rotate, flags);
}

FPDF_BOOL FPDF_DeviceToPage(FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y, int rotate,
                            int device_x, int device_y, double *page_x, double *page_y) {
    if (!page || !page_x || !page_y)
        return false;
    const PageMatrix toDevice = page->pageMatrix.followedBy(displayMatrix(
        page->width, page->height, start_x, start_y, start_x + size_x, start_y + size_y, rotate));
    float x = 0, y = 0;
    toDevice.inverse().apply(float(device_x), float(device_y), x, y);
    *page_x = x;
    *page_y = y;
    return true;
}

FPDF_BOOL FPDF_PageToDevice(FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y, int rotate,
                            double page_x, double page_y, int *device_x, int *device_y) {
    if (!page || !device_x || !device_y)
        return false;
    const PageMatrix toDevice = page->pageMatrix.followedBy(displayMatrix(
        page->width, page->height, start_x, start_y, start_x + size_x, start_y + size_y, rotate));
    float x = 0, y = 0;
    toDevice.apply(float(page_x), float(page_y), x, y);
    *device_x = int(std::lround(x));
    *device_y = int(std::lround(y));
    return true;
}

// ---- bitmaps

FPDF_BITMAP FPDFBitmap_Create(int width, int height, int alpha) {
    if (width <= 0 || height <= 0 || width > (1 << 16) || height > (1 << 16))
        return nullptr;
    auto bitmap = std::make_unique<FpdfBitmapRec>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->stride = width * 4;
    bitmap->format = alpha ? FPDFBitmap_BGRA : FPDFBitmap_BGRx;
    const size_t size = size_t(bitmap->stride) * height;
    bitmap->owned.reset(new (std::nothrow) unsigned char[size]);
    if (!bitmap->owned)
        return nullptr;
    bitmap->buffer = bitmap->owned.get();
    std::memset(bitmap->buffer, 0, size);
    if (!alpha)
        FPDFBitmap_FillRect(bitmap.get(), 0, 0, width, height, 0xFF000000);
    return bitmap.release();
}

FPDF_BITMAP FPDFBitmap_CreateEx(int width, int height, int format, void *first_scan, int stride) {
    if (format != FPDFBitmap_BGRx && format != FPDFBitmap_BGRA)
        return nullptr;
    if (!first_scan)
        return FPDFBitmap_Create(width, height, format == FPDFBitmap_BGRA);
    if (width <= 0 || height <= 0 || stride < width * 4)
        return nullptr;
    auto bitmap = std::make_unique<FpdfBitmapRec>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->stride = stride;
    bitmap->format = format;
    bitmap->buffer = static_cast<unsigned char *>(first_scan);
    return bitmap.release();
}

int FPDFBitmap_GetFormat(FPDF_BITMAP bitmap) {
    return bitmap ? bitmap->format : FPDFBitmap_Unknown;
}

FPDF_BOOL FPDFBitmap_FillRect(FPDF_BITMAP bitmap, int left, int top, int width, int height,
                              FPDF_DWORD color) {
    if (!bitmap)
        return false;
    const fz_irect area = fz_intersect_irect(fz_make_irect(left, top, left + width, top + height),
                                             fz_make_irect(0, 0, bitmap->width, bitmap->height));
    if (fz_is_empty_irect(area))
        return true;
    const unsigned alpha = bitmap->format == FPDFBitmap_BGRA ? (color >> 24) & 0xFF : 0xFF;
    const uint32_t pixel = (alpha << 24) | (color & 0xFFFFFF);
    for (int y = area.y0; y < area.y1; ++y) {
        auto *row = reinterpret_cast<uint32_t *>(bitmap->buffer + size_t(y) * bitmap->stride) + area.x0;
        std::fill(row, row + (area.x1 - area.x0), pixel);
    }
    return true;
}

void *FPDFBitmap_GetBuffer(FPDF_BITMAP bitmap) {
    return bitmap ? bitmap->buffer : nullptr;
}
int FPDFBitmap_GetWidth(FPDF_BITMAP bitmap) {
    return bitmap ? bitmap->width : 0;
}
int FPDFBitmap_GetHeight(FPDF_BITMAP bitmap) {
    return bitmap ? bitmap->height : 0;
}
int FPDFBitmap_GetStride(FPDF_BITMAP bitmap) {
    return bitmap ? bitmap->stride : 0;
}
void FPDFBitmap_Destroy(FPDF_BITMAP bitmap) {
    delete bitmap;
}

// ---- text

FPDF_TEXTPAGE FPDFText_LoadPage(FPDF_PAGE page) {
    if (!page)
        return nullptr;
    DocumentLock lock(page->document->mutex);
    bool ok = false;
    thread_local std::vector<GlyphInput> glyphs; // reused: its capacity spares an allocation per page
    const std::vector<FragmentInput> fragments = extractFragments(engineContext(), page, glyphs, ok);
    if (!ok)
        return nullptr;
    auto text = std::make_unique<FpdfTextPageRec>();
    text->page = page;
    text->model = std::make_unique<TextModel>(fragments);
    return text.release();
}

void FPDFText_ClosePage(FPDF_TEXTPAGE text_page) {
    delete text_page;
}

int FPDFText_CountChars(FPDF_TEXTPAGE text_page) {
    return text_page ? text_page->model->count() : -1;
}

namespace {
const TextChar *charAt(FPDF_TEXTPAGE text_page, int index) {
    if (!text_page || index < 0 || index >= text_page->model->count())
        return nullptr;
    return &text_page->model->chars()[index];
}
} // namespace

unsigned int FPDFText_GetUnicode(FPDF_TEXTPAGE text_page, int index) {
    const TextChar *c = charAt(text_page, index);
    return c ? c->unicode : 0;
}

double FPDFText_GetFontSize(FPDF_TEXTPAGE text_page, int index) {
    const TextChar *c = charAt(text_page, index);
    return c ? c->fontSize : 0;
}

FPDF_BOOL FPDFText_GetCharBox(FPDF_TEXTPAGE text_page, int index, double *left, double *right, double *bottom,
                              double *top) {
    const TextChar *c = charAt(text_page, index);
    if (!c || !left || !right || !bottom || !top)
        return false;
    *left = c->left;
    *right = c->right;
    *bottom = c->bottom;
    *top = c->top;
    return true;
}

int FPDFText_GetCharIndexAtPos(FPDF_TEXTPAGE text_page, double x, double y, double xTolerance,
                               double yTolerance) {
    if (!text_page)
        return -3;
    return text_page->model->indexAtPos(x, y, xTolerance, yTolerance);
}

int FPDFText_GetText(FPDF_TEXTPAGE text_page, int start_index, int count, unsigned short *result) {
    if (!text_page || !result || start_index < 0 || start_index >= text_page->model->count() || count == 0)
        return 0;
    const std::u16string &text = text_page->model->text();
    const int available = int(text.size()) - start_index;
    const int n = count < 0 ? available : std::min(count, available);
    std::copy(text.begin() + start_index, text.begin() + start_index + n, result);
    result[n] = 0;
    return n + 1;
}

int FPDFText_CountRects(FPDF_TEXTPAGE text_page, int start_index, int count) {
    if (!text_page)
        return -1;
    text_page->rects = text_page->model->rects(start_index, count);
    return int(text_page->rects.size());
}

FPDF_BOOL FPDFText_GetRect(FPDF_TEXTPAGE text_page, int rect_index, double *left, double *top, double *right,
                           double *bottom) {
    if (!text_page || rect_index < 0 || rect_index >= int(text_page->rects.size()))
        return false;
    putRect(text_page->rects[rect_index], left, top, right, bottom);
    return true;
}

int FPDFText_GetBoundedText(FPDF_TEXTPAGE text_page, double left, double top, double right, double bottom,
                            unsigned short *buffer, int buflen) {
    if (!text_page)
        return 0;
    std::u16string text = text_page->model->boundedText(left, top, right, bottom);
    if (!buffer || buflen <= 0)
        return int(text.size());
    if (int(text.size()) > buflen)
        text.resize(buflen);
    return copyUnits(text, buffer);
}

FPDF_SCHHANDLE FPDFText_FindStart(FPDF_TEXTPAGE text_page, FPDF_WIDESTRING findwhat, unsigned long flags,
                                  int start_index) {
    if (!text_page || !findwhat)
        return nullptr;
    std::u16string phrase;
    for (FPDF_WIDESTRING p = findwhat; *p; ++p)
        phrase += char16_t(*p);
    return new FpdfSearchRec{TextSearch(text_page->model->text(), phrase, flags, start_index)};
}

FPDF_BOOL FPDFText_FindNext(FPDF_SCHHANDLE handle) {
    return handle && handle->search.findNext();
}
FPDF_BOOL FPDFText_FindPrev(FPDF_SCHHANDLE handle) {
    return handle && handle->search.findPrev();
}
int FPDFText_GetSchResultIndex(FPDF_SCHHANDLE handle) {
    return handle ? handle->search.hit().index : 0;
}
int FPDFText_GetSchCount(FPDF_SCHHANDLE handle) {
    return handle ? handle->search.hit().count : 0;
}
void FPDFText_FindClose(FPDF_SCHHANDLE handle) {
    delete handle;
}

// ---- web links

FPDF_PAGELINK FPDFLink_LoadWebLinks(FPDF_TEXTPAGE text_page) {
    if (!text_page)
        return nullptr;
    auto result = std::make_unique<FpdfPageLinkRec>();
    for (WebLink &link : findWebLinks(text_page->model->text()))
        result->links.push_back({std::move(link.url), text_page->model->rects(link.start, link.count)});
    return result.release();
}

int FPDFLink_CountWebLinks(FPDF_PAGELINK link_page) {
    return link_page ? int(link_page->links.size()) : 0;
}

namespace {
const FpdfPageLinkRec::Link *linkAt(FPDF_PAGELINK link_page, int index) {
    if (!link_page || index < 0 || index >= int(link_page->links.size()))
        return nullptr;
    return &link_page->links[index];
}
} // namespace

int FPDFLink_GetURL(FPDF_PAGELINK link_page, int link_index, unsigned short *buffer, int buflen) {
    const FpdfPageLinkRec::Link *link = linkAt(link_page, link_index);
    if (!link)
        return 0;
    const int required = int(link->url.size()) + 1;
    if (!buffer || buflen < required)
        return required;
    copyUnits(link->url, buffer);
    buffer[required - 1] = 0;
    return required;
}

int FPDFLink_CountRects(FPDF_PAGELINK link_page, int link_index) {
    const FpdfPageLinkRec::Link *link = linkAt(link_page, link_index);
    return link ? int(link->rects.size()) : 0;
}

FPDF_BOOL FPDFLink_GetRect(FPDF_PAGELINK link_page, int link_index, int rect_index, double *left, double *top,
                           double *right, double *bottom) {
    const FpdfPageLinkRec::Link *link = linkAt(link_page, link_index);
    if (!link || rect_index < 0 || rect_index >= int(link->rects.size()))
        return false;
    putRect(link->rects[rect_index], left, top, right, bottom);
    return true;
}

void FPDFLink_CloseWebLinks(FPDF_PAGELINK link_page) {
    delete link_page;
}
