// Borrowing: the book's download, the loan request, and setting up a reader page for the book.
#include "annotations/BookDocuments.h"
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "pdf/BookText.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "reader/ReaderViewHandlers.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QTabWidget>

#include <stdexcept>

namespace {

QString qs(const std::string &text) {
    return QString::fromStdString(text);
}

TDetailBook detailBook(const std::string &id, const JsonPtr &loanReply, const JsonDocument *data) {
    TDetailBook book;
    book.id = id;
    book.id_baca = replyText(loanReply, "id_baca");
    book.page_index = replyInt(loanReply, "page_index");
    book.file_anotasi = replyText(loanReply, "file_anotasi");
    book.rate = replyInt(loanReply, "rate");
    book.kode = replyText(data, "kode");
    book.judul = replyText(data, "judul");
    book.tahun_terbit = replyText(data, "tahun_terbit");
    book.sinopsis = replyText(data, "sinopsis");
    book.halaman_romawi = replyInt(data, "halaman_romawi");
    book.halaman_total = replyInt(data, "halaman_total");
    book.penulis = replyText(data, "penulis");
    book.penerbit = replyText(data, "penerbit");
    book.isbn = replyText(data, "isbn");
    book.kategori = replyText(data, "kategori");
    book.dept = replyText(data, "dept");
    book.mla_style = replyText(data, "mla_style");
    book.chicago_style = replyText(data, "chicago_style");
    book.turabian_style = replyText(data, "turabian_style");
    book.apa_style = replyText(data, "apa_style");
    book.harvard_style = replyText(data, "harvard_style");
    book.ieee_style = replyText(data, "ieee_style");
    return book;
}

// A tab takes "&" as the mark of its shortcut letter: "&&" shows one "&".
QString tabCaption(const std::string &title) {
    return qs(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString pageBoxText(int pageIndex, int total) {
    return QStringLiteral("%1/%2").arg(pageIndex + 1).arg(total);
}

} // namespace

// One borrowing, from the downloaded bytes to the open page. The loan task's body fills `reply` and
// `annotationsError` on its pool thread; the completion reads them after the body has ended, and the
// page's set-up adds to `annotationsError` why the fetched annotations could not be read.
struct TReaderController::Loan {
    std::string id;
    BorrowRequest borrow;
    QByteArray TempStream; // the book's PDF, one buffer shared with the view that shows it
    JsonPtr reply;
    std::string annotationsError;
};

bool TReaderController::showOpenBook(const std::string &idKonten, int pageToJump) {
    auto found = readDict.find(idKonten);
    const int slot = found == readDict.end() ? -1 : slotOf(found->second->TabSheet);
    TPdfControl *view = slot < 0 ? nullptr : viewOf(panel.sheet(slot));
    if (!view)
        return false;
    panel.PageControl1->setCurrentIndex(slot);
    if (pageToJump != 0) {
        view->SetPageIndex(pageToJump);
        panel.edSearch->setText(qs(state.KalimatPencarian));
        view->HightlightText(qs(state.KalimatPencarian), false, true);
    }
    bringReaderToFront();
    return true;
}

void TReaderController::startBookDownload(const BorrowRequest &borrow) {
    downloading = borrow;
    netRequest.start(replyText(replyData(borrow.detail), "nama_pc_file"));
}

void TReaderController::netRequestRequestCompleted(int status, const QByteArray &body) {
    emit downloadEnded();
    if (state.RequestCancelled)
        return;
    if (status != 200 || body.isEmpty()) {
        showError(QStringLiteral("Jaringan Error dengan Status : ") + QString::number(status));
        reloadDetailPage();
        return;
    }
    auto loan = std::make_shared<Loan>();
    loan->borrow = std::move(downloading);
    loan->id = replyText(replyData(loan->borrow.detail), "id");
    loan->TempStream = body;
    TRuvasaLib &client = lib;
    BackgroundTask::start(
        QStringLiteral("readPermission"), this,
        [&client, loan](TaskContext &) {
            client.FReadPermissionJson.reset();
            loan->reply = client.ReadPermissionRequest(loan->id);
            client.FReadPermissionJson.store(loan->reply);
            const std::string stored = replyText(loan->reply, "file_anotasi");
            if (replyText(loan->reply, "code") != "200")
                return;
            // "0", or no address at all (null or missing): nothing is stored for this book.
            if (stored != "0" && !stored.empty())
                loan->annotationsError = client.fetchStoredAnnotations(stored);
            else
                QFile::remove(QString::fromStdString(client.FPath + "/tempAnnot.json")); // not this loan's
        },
        [this, loan] { ReadPermissionRequestTerminated(loan); });
}

void TReaderController::netRequestRequestError(const QString &errorText) {
    emit downloadEnded();
    if (state.RequestCancelled)
        return;
    showError(QStringLiteral("Request Error #671: ") + errorText);
    reloadDetailPage();
}

void TReaderController::ReadPermissionRequestTerminated(const std::shared_ptr<Loan> &loan) {
    if (state.RequestCancelled)
        return;
    if (replyText(loan->reply, "code") != "200") {
        if (isAuthFailed(loan->reply)) {
            library.showSessionEnded("Authentication Error : Akun Anda Digunakan Di Perangkat Lain");
        } else {
            showWarning(replyMessage(loan->reply));
            reloadDetailPage();
        }
        return;
    }
    try {
        openGrantedLoan(*loan);
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #1098 : ") + QString::fromUtf8(error.what()));
        reloadDetailPage();
    }
}

void TReaderController::openGrantedLoan(Loan &loan) {
    if (readDict.count(loan.id))
        throw std::runtime_error("Duplicates not allowed");
    const int slot = firstFreeSlot();
    if (slot < 0) {
        // Only a borrowing that overtook another can get here: the dispatch refuses a fourth book.
        startReturnReport({replyText(loan.reply, "id_baca"), loan.id, 0, {}, {}, false, false});
        throw std::runtime_error("Anda melebihi batas baca sebanyak 3 Buku");
    }
    auto record =
        std::make_unique<TDetailBook>(detailBook(loan.id, loan.reply, replyData(loan.borrow.detail)));
    TDetailBook &book = *record;
    readDict.emplace(loan.id, std::move(record));
    ++state.readCount;
    const bool shown = streamProcess(loan, slot, book);
    book.TabSheet = panel.sheet(slot);
    if (!shown) {
        // A page that could not be set up is given back at once, so the member can borrow again and
        // the window can still close.
        startReturnReport({book.id_baca, book.id, 0, {}, {}, false, false});
        freeSlot(slot);
        window.bringBrowserToFront(LibraryView::Chromium3); // where the member asked for the book
        reloadDetailPage();
        return;
    } else if (!loan.annotationsError.empty()) {
        showWarning(QStringLiteral("Anotasi dari peminjaman sebelumnya tidak dapat dimuat : ") +
                    qs(loan.annotationsError));
    }
    reloadDetailPage();
}

// A page that failed to set up is never brought to the front: shown, its view would go on asking the
// engine for what it refused.
bool TReaderController::streamProcess(Loan &loan, int slot, const TDetailBook &book) {
    try {
        setUpTab(loan, panel.sheet(slot), book);
    } catch (const std::exception &error) {
        showError(bookNotShownText(QString::fromUtf8(error.what())));
        return false;
    }
    bringReaderToFront();
    return true;
}

QString TReaderController::bookNotShownText(const QString &error) {
    return QStringLiteral("Error Exception #1287 : ") + error;
}

void TReaderController::setUpTab(Loan &loan, QWidget *sheet, const TDetailBook &book) {
    auto *view = new TPdfControl(sheet);
    sheet->layout()->addWidget(view);
    attachViewHandlers(*view);
    const int slot = slotOf(sheet);
    panel.PageControl1->setTabVisible(slot, true);
    panel.PageControl1->setTabText(slot, tabCaption(book.judul));
    panel.PageControl1->setCurrentIndex(slot);
    showReaderState();
    view->LoadFromBytes(loan.TempStream);
    view->SetScaleMode(TPdfControlScaleMode::smZoom);
    view->SetZoomPercentage(100);
    view->SetAllowUserTextSelection(false);
    panel.cmbZoom->setCurrentIndex(2);
    panel.edPage->setText(startPage(*view, book, loan.borrow));

    auto created = std::make_unique<TReaderSettings>();
    TReaderSettings &settings = *created;
    readerState[sheet->objectName()] = std::move(created);
    settings.CurrentPage = panel.edPage->text();
    settings.PageRead = view->IsPageValid() ? view->PageIndex() : 0;
    settings.CurrentZoomIndex = 2;
    settings.CurrentAnnotViewState = panel.AnnotView->isChecked();
    settings.AutoPageChange = true;
    settings.TimerRunning = true;
    settings.Text = std::make_shared<BookText>();
    settings.BookBytes = loan.TempStream;
    startTimers(*view, sheet, settings);
    settings.TextCopyObject = emptyBookDocument(book.id);
    panel.CheckAutoPage->setChecked(settings.AutoPageChange);
    view->SetAutoPageChange(settings.AutoPageChange);
    settings.IdBaca = replyText(loan.reply, "id_baca");
    settings.AnnotationObject = storedAnnotations(book.id, loan.annotationsError);
    settings.StoredAnnotationsMissing = !loan.annotationsError.empty();
    settings.History.start(settings.AnnotationObject);
    if (viewHandlers)
        viewHandlers->attachPaint(*view);
    showIdleClock();
    showUndoState();
    if (loan.borrow.backTo)
        window.bringBrowserToFront(*loan.borrow.backTo);
}

// The annotations an earlier loan left in "tempAnnot.json", else the empty document. A file that cannot
// be read opens the book without them: `problem` says why, and the return leaves the stored ones alone.
JsonDocument TReaderController::storedAnnotations(const std::string &idKonten, std::string &problem) {
    const std::string path = lib.FPath + "/tempAnnot.json";
    try {
        if (std::optional<JsonDocument> stored = takeStoredAnnotations(path))
            return std::move(*stored);
    } catch (const std::exception &error) {
        QFile::remove(QString::fromStdString(path)); // no later loan may take it for its own
        problem = error.what();
    }
    return emptyBookDocument(idKonten);
}

// Opens the view at a sentence-search hit, else offers the last page read; returns the page box text.
QString TReaderController::startPage(TPdfControl &view, const TDetailBook &book,
                                     const BorrowRequest &borrow) {
    if (borrow.startPage != 0) {
        view.SetPageIndex(borrow.startPage);
        panel.edSearch->setText(qs(borrow.phrase));
        view.HightlightText(qs(borrow.phrase), BookSearchMatchCase, BookSearchWholeWord);
        return pageBoxText(view.PageIndex(), book.halaman_total);
    }
    if (book.page_index != 0 && askYesNo(QStringLiteral("Lanjut ke halaman terakhir yang anda baca?"))) {
        view.SetPageIndex(book.page_index);
        return pageBoxText(view.PageIndex(), book.halaman_total);
    }
    return pageBoxText(0, book.halaman_total);
}

void TReaderController::startTimers(TPdfControl &view, QWidget *sheet, TReaderSettings &settings) {
    auto makeTimer = [&](const char *suffix) {
        auto *timer = new QTimer(&view);
        timer->setObjectName(sheet->objectName() + QLatin1String(suffix));
        timer->setInterval(1000);
        connect(timer, &QTimer::timeout, this, [this, timer] { readingTimeTick(timer); });
        timer->start();
        return timer;
    };
    settings.TimerIdle = makeTimer("_TimerIdle");
    settings.TimerChecking = makeTimer("_TimerChecking");
    settings.ReadStatus = 1;
}

void TReaderController::attachViewHandlers(TPdfControl &view) {
    view.OnPageChange = [this](TPdfControl *sender) { PDFViewPageChange(sender); };
    view.OnError = [](const QString &message) { showError(message); };
    view.OnUnsupportedFeature = [this](TPdfControl *sender, int pageIndex, const QString &message) {
        PDFViewUnsupportedFeature(sender, pageIndex, message);
    };
    view.OnMouseMove = [this](TPdfControl *sender, Qt::MouseButtons, Qt::KeyboardModifiers, int, int) {
        PDFViewMouseMove(sender);
    };
    view.OnKeyDown = [this](TPdfControl *sender, int &key, Qt::KeyboardModifiers shift) {
        PDFViewKeyDown(sender, key, shift);
    };
    if (viewHandlers)
        viewHandlers->attachInput(view);
}
