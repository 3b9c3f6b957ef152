#include "devserver/SampleBooks.h"

#include "devserver/Database.h"
#include "devserver/PdfMaker.h"
#include "devserver/Pictures.h"
#include "devserver/Prose.h"
#include "devserver/SampleContent.h"
#include "web/HtmlText.h"

#include <QColor>
#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace devserver {

namespace {

namespace fs = std::filesystem;

struct Category {
    const char *id;
    const char *dept;
    const char *name;
    std::vector<std::pair<const char *, const char *>> subs;
};

const std::vector<std::pair<const char *, const char *>> kDepartments = {
    {"1", "UMUM"},      {"2", "JURNAL"},    {"3", "BUKU NON KOLEKSI"}, {"4", "RENCANA PENGADAAN"},
    {"5", "REFERENSI"}, {"6", "ANAK-ANAK"},
};

const std::vector<Category> kCategories = {
    {"11", "1", "Fiksi", {{"111", "Novel"}, {"112", "Cerita Pendek"}}},
    {"12", "1", "Sejarah & Budaya", {{"121", "Sejarah Indonesia"}, {"122", "Sejarah Dunia"}}},
    {"13", "1", "Sains Populer", {{"131", "Fisika"}, {"132", "Biologi"}}},
    {"14", "1", "Kuliner", {}},
    {"21", "2", "Jurnal Pendidikan", {{"211", "Kurikulum"}}},
    {"22", "2", "Jurnal Teknologi", {{"221", "Informatika"}}},
    {"31", "3", "Arsip", {{"311", "Laporan Tahunan"}}},
    {"41", "4", "Usulan Pembelian", {}},
    {"61", "6", "Cerita Anak", {{"611", "Dongeng"}}},
};

struct BookSeed {
    const char *title;
    const char *author;
    const char *publisher;
    const char *category;
    const char *sub; // may be empty
    const char *topic;
};

const std::vector<BookSeed> kBooks = {
    {"Laskar Senja di Ujung Timur", "Andrea Siregar", "Pustaka Nusantara", "11", "111", "senja di pelabuhan"},
    {"Tom & Jerry: Sejarah Animasi", "Rina Kusuma", "Gramedia Lokal", "12", "122", "film kartun lama"},
    {"Belajar <HTML> & CSS untuk Pemula", "Dimas Pratama", "Informatika Press", "13", "", "halaman web"},
    {"Kisah \"Si Kancil\" yang Cerdik", "Nyoman Sudarsana", "Balai Dongeng", "61", "611", "kancil dan buaya"},
    {"Jejak D'Artagnan di Nusantara", "Maria O'Hara", "Pustaka Nusantara", "12", "122", "pelaut Eropa"},
    {"Café Crème: Kuliner Prancis", "Élodie Marchand", "Rasa Dunia", "14", "", "roti dan keju"},
    {"Über die Brücke: Sastra Jerman", "Jürgen Müller", "Sastra Antarbangsa", "11", "112", "jembatan tua"},
    {"Señor Pedro dan Laut Selatan", "Ana Peña", "Rasa Dunia", "11", "111", "ombak laut selatan"},
    {"Sejarah Rempah Maluku", "Hasan Latuconsina", "Pustaka Timur", "12", "121", "cengkih dan pala"},
    {"Fisika di Dapur Kita", "Lestari Wibowo", "Sains Ceria", "13", "131", "panas dan uap"},
    {"Ensiklopedia Nusantara Lengkap", "Tim Redaksi Kelvara", "Kelvara Press", "12", "121", "pulau-pulau"},
    {"Biologi Hutan Hujan", "Yohanes Tanoto", "Sains Ceria", "13", "132", "hutan hujan tropis"},
    {"Catatan Harian Penjaga Mercusuar", "Ketut Arimbawa", "Pustaka Nusantara", "11", "112",
     "cahaya mercusuar"},
    {"Resep Warisan Nenek", "Sri Handayani", "Rasa Dunia", "14", "", "dapur kayu"},
    {"Perang Diponegoro", "Bambang Sutrisno", "Pustaka Timur", "12", "121", "perlawanan di Jawa"},
    {"Bintang dan Rasi di Langit Tropis", "Agustina Halim", "Sains Ceria", "13", "131", "rasi bintang"},
    {"Dongeng Sebelum Tidur", "Nyoman Sudarsana", "Balai Dongeng", "61", "611", "bulan purnama"},
    {"Pengetahuan Alam untuk Anak", "Rudi Hartono", "Balai Dongeng", "61", "", "kupu-kupu"},
    {"Hikayat Pelabuhan Sunda Kelapa", "Andrea Siregar", "Pustaka Nusantara", "12", "121", "kapal pinisi"},
    {"Kopi: Dari Kebun ke Cangkir", "Teuku Fadli", "Rasa Dunia", "14", "", "biji kopi"},
    {"Genetika Sederhana", "Yohanes Tanoto", "Sains Ceria", "13", "132", "sifat keturunan"},
    {"Musim Hujan di Bandung", "Rina Kusuma", "Gramedia Lokal", "11", "111", "hujan di kota"},
    {"Cerita dari Pasar Terapung", "Siti Rahmawati", "Pustaka Nusantara", "11", "112", "perahu dagang"},
    {"Sejarah Dunia dalam Sepuluh Peta", "Dimas Pratama", "Kelvara Press", "12", "122", "peta kuno"},
    {"Energi Terbarukan untuk Desa", "Lestari Wibowo", "Sains Ceria", "13", "131", "kincir angin"},
    {"Jalan Setapak ke Danau Toba", "Maruli Simanjuntak", "Pustaka Timur", "11", "111", "danau vulkanik"},
    {"Batik: Motif dan Makna", "Sri Handayani", "Kelvara Press", "12", "121", "kain batik"},
    {"Serangga di Halaman Rumah", "Rudi Hartono", "Balai Dongeng", "61", "", "semut dan lebah"},
    {"Petualangan di Pulau Komodo", "Agustina Halim", "Pustaka Timur", "11", "111", "kadal raksasa"},
    {"Arsip Kegiatan Perpustakaan 2025", "Tim Redaksi Kelvara", "Kelvara Press", "31", "311",
     "kegiatan membaca"},
    {"Jurnal Pendidikan Dasar Vol. 12", "Dewan Redaksi JPD", "Universitas Kelvara", "21", "211",
     "kurikulum sekolah"},
    {"Jurnal Pendidikan Dasar Vol. 13", "Dewan Redaksi JPD", "Universitas Kelvara", "21", "211",
     "literasi anak"},
    {"Jurnal Teknologi Informasi Vol. 7", "Dewan Redaksi JTI", "Universitas Kelvara", "22", "221",
     "jaringan komputer"},
    {"Jurnal Teknologi Informasi Vol. 8", "Dewan Redaksi JTI", "Universitas Kelvara", "22", "221",
     "basis data"},
    {"Jurnal Pendidikan Guru", "Dewan Redaksi JPG", "Universitas Kelvara", "21", "", "pelatihan guru"},
    {"Usulan Koleksi Sastra Dunia", "Tim Pengadaan", "Kelvara Press", "41", "", "daftar bacaan"},
    {"Matematika Itu Menyenangkan", "Rudi Hartono", "Sains Ceria", "13", "131", "bilangan prima"},
    {"Kisah Para Penjelajah Samudra", "Maria O'Hara", "Pustaka Timur", "12", "122", "angin muson"},
    {"Sepatu Ajaib Rara", "Siti Rahmawati", "Balai Dongeng", "61", "611", "sepatu merah"},
    {"Puisi-puisi dari Tepi Sungai", "Ketut Arimbawa", "Sastra Antarbangsa", "11", "112", "arus sungai"},
};

const std::vector<const char *> kCoverColours = {"#8e3b46", "#2d6a4f", "#1d3557", "#b5651d", "#5a189a",
                                                 "#006d77", "#9d0208", "#3a5a40", "#7f5539", "#264653"};

std::string bookId(std::size_t index) {
    return std::to_string(1001 + index);
}

int pageCount(std::size_t index) {
    if (bookId(index) == kBookLong)
        return 424;
    return 12 + static_cast<int>((index * 7) % 30);
}

int romanPages(std::size_t index) {
    if (bookId(index) == kBookLong)
        return 12;
    return index % 3 == 0 ? 4 + static_cast<int>(index % 5) : 0;
}

// Citations are HTML (the title in italics), so the texts in them are encoded.
std::string citation(const std::string &style, const BookSeed &b, const std::string &year) {
    const std::string author = htmlEncode(b.author), title = htmlEncode(b.title),
                      publisher = htmlEncode(b.publisher);
    if (style == "mla")
        return author + ". <i>" + title + "</i>. " + publisher + ", " + year + ".";
    if (style == "chicago" || style == "turabian")
        return author + ". <i>" + title + "</i>. Jakarta: " + publisher + ", " + year + ".";
    if (style == "apa")
        return author + " (" + year + "). <i>" + title + "</i>. " + publisher + ".";
    if (style == "harvard")
        return author + " " + year + ", <i>" + title + "</i>, " + publisher + ", Jakarta.";
    return author + ", <i>" + title + "</i>. Jakarta: " + publisher + ", " + year + ".";
}

bool hasSamplePhrase(const std::string &id, int pageIndex) {
    for (const PhrasePlacement &p : samplePhrasePlacements())
        if (p.bookId == id && p.pageIndex == pageIndex)
            return true;
    return false;
}

// The text of one page as stored for search, and the page as drawn in the PDF.
std::pair<std::string, PdfPage> makePage(const BookSeed &b, const std::string &id, int index, int roman,
                                         Prose &prose) {
    PdfPage page;
    page.footer = pageLabel(index, roman);
    std::string body;
    if (index == 0) {
        page.heading = b.title;
        body =
            std::string("Oleh ") + b.author + ". Diterbitkan oleh " + b.publisher + ". " + prose.paragraph(2);
    } else if (index < roman) {
        page.heading = index == 1 ? "Kata Pengantar" : "";
        body = prose.paragraph(14);
    } else {
        int chapterLength = 8;
        if ((index - roman) % chapterLength == 0)
            page.heading = "Bab " + std::to_string((index - roman) / chapterLength + 1) + ": " + b.topic;
        body = prose.paragraph(page.heading.empty() ? 22 : 19);
    }
    if (hasSamplePhrase(id, index))
        body += std::string(" ") + kSampleSentence + " " + prose.sentence();
    page.lines = wrapText(body, 82);
    std::string stored = page.heading.empty() ? body : page.heading + ". " + body;
    return {stored, page};
}

// The outline of a book of more than one chapter, from its headings: the front matter, then the chapters;
// a book of one chapter has none.
std::vector<PdfOutlineEntry> bookOutline(const std::vector<PdfPage> &pages, int roman) {
    PdfOutlineEntry front{"Bagian Awal", 0, {}}, body{"Isi Buku", roman, {}};
    for (int i = 0; i < static_cast<int>(pages.size()); ++i) {
        const std::string &heading = pages[static_cast<std::size_t>(i)].heading;
        if (!heading.empty())
            (i < roman || i == 0 ? front : body).children.push_back({heading, i, {}});
    }
    if (body.children.size() < 2)
        return {};
    return {front, body};
}

void writeFile(const fs::path &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void insertDepartments(Database &db) {
    int position = 0;
    for (const auto &[id, name] : kDepartments)
        db.run("INSERT INTO departments VALUES (?, ?, ?)", {std::string(id), std::string(name), position++});
    position = 0;
    for (const Category &c : kCategories) {
        db.run("INSERT INTO categories VALUES (?, ?, ?, ?)",
               {std::string(c.id), std::string(c.dept), std::string(c.name), position++});
        for (const auto &[subId, subName] : c.subs)
            db.run("INSERT INTO sub_categories VALUES (?, ?, ?, ?)",
                   {std::string(subId), std::string(c.id), std::string(subName), position++});
    }
}

void insertBook(Database &db, std::size_t index, const fs::path &publicDir) {
    const BookSeed &b = kBooks[index];
    const std::string id = bookId(index);
    const int pages = pageCount(index);
    const int roman = romanPages(index);
    const std::string year = std::to_string(1996 + static_cast<int>(index * 3 % 30));
    const QColor colour(kCoverColours[index % kCoverColours.size()]);

    Prose prose(static_cast<unsigned>(index) * 7919u + 17u, b.topic);
    std::vector<PdfPage> pdfPages;
    std::vector<std::string> pageTexts;
    pdfPages.reserve(static_cast<std::size_t>(pages));
    for (int i = 0; i < pages; ++i) {
        auto [text, page] = makePage(b, id, i, roman, prose);
        pageTexts.push_back(std::move(text));
        pdfPages.push_back(std::move(page));
    }
    const std::string pdfName = "buku-" + id + ".pdf";
    writeFile(publicDir / "pc" / "rvs" / pdfName, makePdf(b.title, pdfPages, bookOutline(pdfPages, roman)));
    const std::string cover = "cover-" + id + ".png";
    writeCover(QString::fromStdString((publicDir / "prod" / "img" / "cover" / cover).string()),
               QString::fromUtf8(b.title), QString::fromUtf8(b.author), colour);

    const std::int64_t qty = 2 + static_cast<std::int64_t>(index % 4);
    std::int64_t stock = qty;
    if (id == kBookOutOfStock)
        stock = 0;
    else if (id == kBookLastCopy)
        stock = 1;
    const bool noCitations = id == kBookWithoutCitations;
    auto style = [&](const char *name) { return noCitations ? std::string("N/A") : citation(name, b, year); };
    const std::string synopsis = "<p>" + htmlEncode(prose.paragraph(3)) + "</p><p><b>" + htmlEncode(b.title) +
                                 "</b> mengajak pembaca " + "mengenal " + htmlEncode(b.topic) + ".</p>";
    char kode[32];
    std::snprintf(kode, sizeof kode, "BK-%04zu", index + 1);
    const double rate = 3.0 + static_cast<double>(index % 5) * 0.5;
    char rateText[8];
    std::snprintf(rateText, sizeof rateText, "%.1f", rate);
    db.run("INSERT INTO books VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
           {id,
            std::string(kode),
            std::string(b.title),
            std::string(b.author),
            std::string(b.publisher),
            "978-602-" + std::to_string(10000 + index * 37) + "-" + std::to_string(index % 10),
            year,
            std::string(b.category),
            *b.sub ? SqlValue(std::string(b.sub)) : SqlValue(nullptr),
            synopsis,
            cover,
            pdfName,
            std::int64_t{roman},
            std::int64_t{pages},
            stock,
            qty,
            std::string(rateText),
            style("mla"),
            style("chicago"),
            style("turabian"),
            style("apa"),
            style("harvard"),
            style("ieee")});
    for (int i = 0; i < pages; ++i)
        db.run("INSERT INTO book_pages VALUES (?, ?, ?, ?)",
               {id, std::int64_t{i}, pdfPages[static_cast<std::size_t>(i)].footer,
                pageTexts[static_cast<std::size_t>(i)]});
}

} // namespace

std::string pageLabel(int pageIndex, int romanPages) {
    if (pageIndex >= romanPages)
        return std::to_string(pageIndex + 1 - romanPages);
    static const std::vector<std::pair<int, const char *>> numerals = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string out;
    int n = pageIndex + 1;
    for (const auto &[value, text] : numerals)
        for (; n >= value; n -= value)
            out += text;
    return out;
}

void createSampleBooks(Database &db, const fs::path &publicDir) {
    insertDepartments(db);
    for (std::size_t i = 0; i < kBooks.size(); ++i)
        insertBook(db, i, publicDir);
}

} // namespace devserver
