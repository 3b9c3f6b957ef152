#pragma once
#include <string>

class QWidget;

// One open book's details, copied from its detail and borrow replies when the loan was granted.
struct TDetailBook {
    std::string id;              // content id; the key in readDict
    QWidget *TabSheet = nullptr; // the page showing the book, set once it is shown
    std::string id_baca;         // loan id
    int page_index = 0;          // last page read, zero-based, offered for resuming
    std::string file_anotasi;
    int rate = 0;
    std::string kode;
    std::string judul;
    std::string tahun_terbit;
    std::string sinopsis;
    int halaman_romawi = 0; // front-matter pages numbered in Roman numerals
    int halaman_total = 0;  // page total shown in the page box
    std::string penulis, penerbit, isbn;
    std::string kategori, dept;
    std::string mla_style, chicago_style, turabian_style, apa_style, harvard_style, ieee_style;
};
