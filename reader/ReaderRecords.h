#pragma once
#include "tasks/BackgroundTask.h"
#include "service/JsonDocument.h"

#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>

class BookText;

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

// The reading state of one reader page.
struct TReaderSettings {
    QString CurrentPage; // text of the page box: "page/total"
    int CurrentZoomIndex = 2;
    bool CurrentAnnotViewState = false;
    bool CurrentTextSelectState = false;
    bool CurrentTextAnnotState = false;
    bool CurrentRectAnnotState = false;
    bool CurrentHighlightAnnotState = false;
    bool CurrentPenAnnotState = false;
    bool CurrentAnnotDeleteState = false;
    QString CurrentSearchKeyWord;
    bool AutoPageChange = true;
    JsonDocument AnnotationObject;
    JsonDocument TextCopyObject;
    int IdleTime = 0;                          // seconds without pointer movement over the page
    int CheckingTime = 0;                      // seconds since the last reading-status report
    QPointer<QTimer> TimerIdle, TimerChecking; // owned by the page's view
    bool TimerRunning = false;
    TaskHandle TimerTask; // the reading-status report in flight
    int ReadStatus = 1;   // 1 while the book counts as being read, 0 once the idle limit was reached
    std::string IdBaca;
    // The annotations of an earlier loan could not be fetched: returning must not replace them with
    // this loan's (possibly empty) document.
    bool StoredAnnotationsMissing = false;
    // The return has been asked of the service and its answer is awaited.
    bool Returning = false;
    // The book's page text as the in-book search reads it, kept between searches.
    std::shared_ptr<BookText> Text;
};
