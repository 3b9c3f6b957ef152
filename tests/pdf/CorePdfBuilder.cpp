#include "tests/pdf/CorePdfBuilder.h"

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <cstdio>
#include <iterator>
#include <random>
#include <stdexcept>

namespace {

std::string escapePdfString(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

class PdfWriter {
public:
    int reserve() {
        objects.emplace_back();
        return int(objects.size());
    }
    void set(int id, std::string body) { objects[id - 1] = std::move(body); }
    int add(std::string body) {
        const int id = reserve();
        set(id, std::move(body));
        return id;
    }
    std::string finish(int root) const {
        std::string out = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
        std::vector<size_t> offsets;
        for (size_t i = 0; i < objects.size(); ++i) {
            offsets.push_back(out.size());
            out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
        }
        const size_t xref = out.size();
        out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
        for (size_t offset : offsets) {
            char line[32];
            std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
            out += line;
        }
        out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root " + std::to_string(root) +
               " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return out;
    }

private:
    std::vector<std::string> objects;
};

// The page's extra resources with its objects written and "@N" replaced by references to them.
std::string pageResources(PdfWriter &writer, const FixturePage &page) {
    std::vector<int> ids;
    for (const std::string &object : page.objects)
        ids.push_back(writer.add(object));
    std::string resources = page.resources;
    for (size_t i = ids.size(); i-- > 0;) { // from the last, so "@1" is not taken for the start of "@12"
        const std::string mark = '@' + std::to_string(i);
        for (size_t at; (at = resources.find(mark)) != std::string::npos;)
            resources.replace(at, mark.size(), std::to_string(ids[i]) + " 0 R");
    }
    return resources;
}

std::string ref(int id) {
    return std::to_string(id) + " 0 R";
}

// A PDF text string in UTF-16BE with its byte order mark, as hexadecimal.
std::string utf16Hex(const std::string &utf8) {
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += extra + 1;
        if (c > 0xFFFF) {
            c -= 0x10000;
            units += char16_t(0xD800 + (c >> 10));
            units += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            units += char16_t(c);
        }
    }
    std::string out = "<FEFF";
    char hex[8];
    for (char16_t unit : units) {
        std::snprintf(hex, sizeof hex, "%04X", unsigned(unit));
        out += hex;
    }
    return out + ">";
}

// Writes the entries of one outline level under the object `parent`; answers their object numbers.
std::vector<int> writeOutline(PdfWriter &writer, const std::vector<FixtureOutlineEntry> &level, int parent,
                              const std::vector<int> &pageIds) {
    std::vector<int> ids;
    for (std::size_t i = 0; i < level.size(); ++i)
        ids.push_back(writer.reserve());
    for (std::size_t i = 0; i < level.size(); ++i) {
        const FixtureOutlineEntry &entry = level[i];
        const std::vector<int> children = writeOutline(writer, entry.children, ids[i], pageIds);
        std::string dict = "<< /Title " + utf16Hex(entry.title) + " /Parent " + ref(parent);
        dict += entry.page >= 0 ? " /Dest [" + ref(pageIds.at(entry.page)) + " /XYZ 0 792 0]"
                                : std::string(" /A << /S /URI /URI (https://kelvara.test/) >>");
        if (i > 0)
            dict += " /Prev " + ref(ids[i - 1]);
        if (i + 1 < ids.size())
            dict += " /Next " + ref(ids[i + 1]);
        if (!children.empty())
            dict += " /First " + ref(children.front()) + " /Last " + ref(children.back()) + " /Count " +
                    std::to_string(children.size());
        writer.set(ids[i], dict + " >>");
    }
    return ids;
}

} // namespace

std::string fixtureStream(const std::string &entries, const std::string &data) {
    return "<< " + entries + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
           "\nendstream";
}

std::string fixtureText(double x, double y, double size, const std::string &text, const char *font) {
    return "BT /" + std::string(font) + " " + number(size) + " Tf " + number(x) + " " + number(y) + " Td (" +
           escapePdfString(text) + ") Tj ET\n";
}

std::string buildFixturePdf(const std::vector<FixturePage> &pages, const std::string &extraCatalog,
                            const std::vector<FixtureOutlineEntry> &outline) {
    PdfWriter writer;
    const int catalog = writer.reserve();
    const int pageTree = writer.reserve();
    const int helvetica =
        writer.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    const int courier =
        writer.add("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
    std::string kids;
    std::vector<int> pageIds;
    for (const FixturePage &page : pages) {
        const int contents = writer.add("<< /Length " + std::to_string(page.content.size()) +
                                        " >>\nstream\n" + page.content + "\nendstream");
        const std::string resources = pageResources(writer, page);
        std::string annots;
        for (const std::string &annot : page.annots)
            annots += std::to_string(writer.add(annot)) + " 0 R ";
        std::string dict = "<< /Type /Page /Parent " + std::to_string(pageTree) + " 0 R /MediaBox [0 0 " +
                           number(page.width) + " " + number(page.height) + "] /Contents " +
                           std::to_string(contents) + " 0 R /Resources << /Font << /F1 " +
                           std::to_string(helvetica) + " 0 R /F2 " + std::to_string(courier) + " 0 R >> " +
                           resources + " >>";
        if (page.rotate)
            dict += " /Rotate " + std::to_string(page.rotate);
        if (!page.cropBox.empty())
            dict += " /CropBox " + page.cropBox;
        if (!annots.empty())
            dict += " /Annots [" + annots + "]";
        pageIds.push_back(writer.add(dict + " >>"));
        kids += ref(pageIds.back()) + " ";
    }
    std::string outlines;
    if (!outline.empty()) {
        const int root = writer.reserve();
        const std::vector<int> top = writeOutline(writer, outline, root, pageIds);
        writer.set(root, "<< /Type /Outlines /First " + ref(top.front()) + " /Last " + ref(top.back()) +
                             " /Count " + std::to_string(top.size()) + " >>");
        outlines = "/Outlines " + ref(root) + " ";
    }
    writer.set(pageTree,
               "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    writer.set(catalog, "<< /Type /Catalog /Pages " + std::to_string(pageTree) + " 0 R " + outlines +
                            extraCatalog + " >>");
    return writer.finish(catalog);
}

std::string buildBookSignedOnPageTwo() {
    FixturePage first, signature, third;
    first.content = fixtureText(72, 700, 12, "Halaman pertama dibaca dengan tenang");
    signature.content = fixtureText(72, 700, 12, "Halaman bertanda tangan");
    signature.annots = {FixtureSignatureField};
    third.content = fixtureText(72, 700, 12, "Kunang-kunang di halaman ketiga");
    return buildFixturePdf({first, signature, third});
}

std::string buildBookPdf(int pages) {
    static const char *words[] = {
        "perpustakaan", "buku",   "membaca", "pengetahuan", "sejarah",    "bahasa",     "dan",        "yang",
        "untuk",        "dengan", "adalah",  "dalam",       "penelitian", "masyarakat", "pendidikan", "ini",
        "itu",          "kota",   "negara",  "ilmu",        "teknologi",  "data"};
    std::mt19937 random(7);
    std::vector<FixturePage> book(pages);
    for (int p = 0; p < pages; ++p) {
        std::string &c = book[p].content;
        c += fixtureText(72, 750, 9,
                         "Bab " + std::to_string(p / 20 + 1) + " - Halaman " + std::to_string(p + 1), "F2");
        c += "0.5 w 72 742 m 540 742 l S\n";
        for (int line = 0; line < 46; ++line) {
            std::string text;
            while (text.size() < 92)
                text += std::string(words[random() % std::size(words)]) + " ";
            c += fixtureText(72, 720 - line * 14.5, 10, text);
        }
    }
    return buildFixturePdf(book);
}

std::string encryptFixturePdf(const std::string &pdf, const std::string &userPassword) {
    fz_context *ctx = fz_new_context(nullptr, nullptr, FZ_STORE_UNLIMITED);
    if (!ctx)
        throw std::runtime_error("no context");
    std::string result;
    fz_buffer *input = nullptr;
    fz_buffer *output = nullptr;
    fz_stream *stream = nullptr;
    pdf_document *doc = nullptr;
    fz_output *out = nullptr;
    bool failed = false;
    fz_var(input);
    fz_var(output);
    fz_var(stream);
    fz_var(doc);
    fz_var(out);
    fz_try(ctx) {
        input = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(pdf.data()),
                                               pdf.size());
        stream = fz_open_buffer(ctx, input);
        doc = pdf_open_document_with_stream(ctx, stream);
        output = fz_new_buffer(ctx, pdf.size() + 1024);
        out = fz_new_output_with_buffer(ctx, output);
        pdf_write_options options = pdf_default_write_options;
        options.do_encrypt = PDF_ENCRYPT_AES_128;
        options.permissions = -1;
        std::snprintf(options.upwd_utf8, sizeof options.upwd_utf8, "%s", userPassword.c_str());
        std::snprintf(options.opwd_utf8, sizeof options.opwd_utf8, "%s-owner", userPassword.c_str());
        pdf_write_document(ctx, doc, out, &options);
        fz_close_output(ctx, out);
        unsigned char *data = nullptr;
        const size_t size = fz_buffer_storage(ctx, output, &data);
        result.assign(reinterpret_cast<const char *>(data), size);
    }
    fz_always(ctx) {
        fz_drop_output(ctx, out);
        pdf_drop_document(ctx, doc);
        fz_drop_stream(ctx, stream);
        fz_drop_buffer(ctx, output);
        fz_drop_buffer(ctx, input);
    }
    fz_catch(ctx) {
        failed = true;
    }
    fz_drop_context(ctx);
    if (failed)
        throw std::runtime_error("encrypting the fixture failed");
    return result;
}
