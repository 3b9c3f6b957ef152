// The reader against the local library service: borrowing into the three pages, navigation and zoom,
// reading time and the automatic return, returning by hand and searching inside a book.
#include "tests/app/RecordingLibraryWindow.h"
#include "tests/devserver/ClientAgainstService.h"
#include "tests/pdf/CorePdfBuilder.h"
#include "tests/support/EventLoop.h"

#include "annotation_tools/AnnotationTools.h"
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "devserver/Database.h"
#include "devserver/Faults.h"
#include "devserver/SampleContent.h"
#include "pdf/PageThumbnails.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/BookSidePanel.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "reader/ThumbnailStrip.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

#include <algorithm>
#include <numeric>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using devserver::testing::Json;

// Books of the sample catalogue: 1001 has the sample sentence on pages 2 and 9, 1011 (400+ pages) on 40
// and 400, 1008 is out of stock.
const std::string ShortBook = "1001";
const std::string LongBook = "1011";
const std::string OtherBooks[] = {"1002", "1003", "1004", "1005"};

class Reader : public ::testing::Test, protected ClientAgainstService {
protected:
    RecordingLibraryWindow window;
    ProgramState program;
    TLibraryController library{window, lib, program};
    QStackedWidget areas;
    QWidget *libraryArea = new QWidget(&areas);
    ReaderPanel *panel = new ReaderPanel(&areas);
    TReaderController reader{window, library, *panel, lib};
    long long requestsBefore = 0;

    void SetUp() override {
        clearLoans();
        areas.addWidget(libraryArea);
        areas.addWidget(panel);
        areas.resize(1000, 800);
        areas.show();
        const devserver::SampleMember &member = devserver::sampleMembers().at(0);
        const JsonPtr login = lib.LoginRequest(member.username, member.password);
        ASSERT_EQ(replyText(login, "code"), "200");
        lib.setSession(loginSession(login));
        requestsBefore = lastRequestId();
    }
    void TearDown() override {
        reader.releaseAll();
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
    }
    // Every test starts with no loan, no last page and no stored annotations.
    void clearLoans() {
        db.run("UPDATE loans SET ended = datetime('now'), end_reason = 'test' WHERE ended IS NULL");
        db.run("UPDATE books SET stok = qty WHERE id <> ?", {std::string(devserver::kBookOutOfStock)});
        db.run("DELETE FROM reading_progress");
        db.run("DELETE FROM annotations");
        devserver::clearFaults(db);
    }

    long long lastRequestId() {
        const Json all = serviceClient.recorded(0);
        return all.empty() ? 0 : all.back().value("id", 0LL);
    }
    // The paths the client called since the test began, with their bodies.
    std::vector<std::pair<std::string, std::string>> calls() {
        std::vector<std::pair<std::string, std::string>> out;
        for (const Json &request : serviceClient.recorded(requestsBefore))
            out.emplace_back(request.value("path", ""), request.value("body", ""));
        return out;
    }
    std::vector<std::string> paths() {
        std::vector<std::string> out;
        for (const auto &[path, body] : calls())
            out.push_back(path);
        return out;
    }
    // The last `count` paths called (fewer when fewer were).
    std::vector<std::string> lastPaths(std::size_t count) {
        const std::vector<std::string> all = paths();
        return {all.end() - static_cast<std::ptrdiff_t>(std::min(count, all.size())), all.end()};
    }
    const std::vector<std::string> ReturnWithDocuments{"/api/wl/bookReturn", "/api/wl/saveAnotasi",
                                                       "/api/wl/copyText"};

    // Borrows a book as the "baca" of its detail page does; returns the page it opened in, -1 if none.
    int borrow(const std::string &id) {
        lib.FDetailContentJson.store(lib.DetailContentRequest(id));
        return borrowHeldDetail();
    }
    int borrowHeldDetail(BorrowRequest borrow = {}) {
        const std::size_t open = reader.readDict.size();
        const std::size_t shown = boxes.shown.size();
        borrow.detail = lib.FDetailContentJson.load();
        reader.startBookDownload(borrow);
        processUntil([&] { return reader.readDict.size() != open || boxes.shown.size() != shown; });
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
        const std::string id = replyText(replyData(lib.FDetailContentJson.load()), "id");
        auto found = reader.readDict.find(id);
        if (found == reader.readDict.end() || !found->second->TabSheet)
            return -1;
        for (int slot = 0; slot < ReaderPanel::SlotCount; ++slot)
            if (panel->sheet(slot) == found->second->TabSheet)
                return slot;
        return -1;
    }
    // Borrows the short book with `bytes` as its file; returns the page it opened in, -1 if none.
    int borrowBookFile(const std::string &name, const QByteArray &bytes) {
        QFile file(QString::fromStdString((service.dir() / "public" / "pc" / "rvs" / name).string()));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return -1;
        file.close();
        JsonDocument detail = *lib.DetailContentRequest(ShortBook);
        detail["data"]["nama_pc_file"] = name;
        lib.FDetailContentJson.store(std::make_shared<const JsonDocument>(detail));
        const int slot = borrowHeldDetail();
        file.remove();
        return slot;
    }
    TPdfControl *view(int slot) const { return reader.viewOf(panel->sheet(slot)); }
    TReaderSettings &settings(int slot) const { return *reader.settingsOf(panel->sheet(slot)); }
    int total(const std::string &id) {
        return static_cast<int>(
            db.queryOne("SELECT halaman_total FROM books WHERE id = ?", {id})->integer(0));
    }
    void setLastPage(const std::string &id, int page) {
        db.run("INSERT OR REPLACE INTO reading_progress (id_user, book_id, page_index) "
               "SELECT id_user, ?, ? FROM members WHERE username = ?",
               {id, page, devserver::sampleMembers().at(0).username});
    }
    void show(int slot) { panel->PageControl1->setCurrentIndex(slot); }
    void returnActive(MsgAnswer answer = MsgAnswer::Yes) {
        boxes.answers.push_back(answer);
        reader.btnReturnClick();
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
    }
    std::vector<QString> texts() const {
        std::vector<QString> out;
        for (const auto &box : boxes.shown)
            out.push_back(box.text);
        return out;
    }
};

// Draws a rectangle from the middle of the first page's view with the annotation tools, as the member
// does; returns where it starts. The tools must have been made before the book was borrowed.
QPoint drawRectangle(TAnnotationTools &tools, TReaderController &reader, ReaderPanel &panel) {
    QApplication::processEvents();
    tools.ButtonAnnotClick(panel.btnAnnotRect);
    TPdfControl *view = reader.viewOf(panel.sheet(0));
    const QPoint start = view->GetPageRect().center(), end = start + QPoint(100, 60);
    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(view->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    return start;
}

TEST_F(Reader, BorrowedBookOpensOnItsFirstPageInTheFirstPage) {
    ASSERT_EQ(borrow(ShortBook), 0);
    EXPECT_TRUE(boxes.shown.empty()) << texts().front().toStdString();
    EXPECT_EQ(program.readCount, 1);
    EXPECT_TRUE(panel->PageControl1->isTabVisible(0));
    EXPECT_FALSE(panel->PageControl1->isTabVisible(1));
    EXPECT_EQ(panel->PageControl1->currentIndex(), 0);
    EXPECT_EQ(panel->PageControl1->tabText(0).toStdString(),
              replyText(replyData(lib.FDetailContentJson.load()), "judul"));
    EXPECT_EQ(areas.currentWidget(), panel);
    EXPECT_EQ(view(0)->PageIndex(), 0);
    EXPECT_EQ(view(0)->ScaleMode(), TPdfControlScaleMode::smZoom);
    EXPECT_EQ(view(0)->ZoomPercentage(), 100);
    EXPECT_TRUE(view(0)->AutoPageChange());
    EXPECT_FALSE(view(0)->AllowUserTextSelection());
    const QString box = QStringLiteral("1/%1").arg(total(ShortBook));
    EXPECT_EQ(panel->edPage->text(), box);
    EXPECT_EQ(panel->cmbZoom->currentIndex(), 2);
    EXPECT_TRUE(panel->CheckAutoPage->isChecked());

    const TReaderSettings &state = settings(0);
    EXPECT_EQ(state.CurrentPage, box);
    EXPECT_EQ(state.ReadStatus, 1);
    EXPECT_FALSE(state.IdBaca.empty());
    EXPECT_EQ(state.IdBaca, reader.readDict.at(ShortBook)->id_baca);
    const std::string empty = R"({"id_konten":"1001","data":[]})";
    EXPECT_EQ(state.AnnotationObject.dump(), empty);
    EXPECT_EQ(state.TextCopyObject.dump(), empty);
    ASSERT_TRUE(state.TimerIdle && state.TimerChecking);
    EXPECT_EQ(state.TimerIdle->objectName(), "TabSheet1_TimerIdle");
    EXPECT_EQ(state.TimerChecking->objectName(), "TabSheet1_TimerChecking");
    EXPECT_TRUE(state.TimerIdle->isActive() && state.TimerChecking->isActive());
    EXPECT_EQ(window.at(LibraryView::Chromium3).last(), library.localPageUrl("detail.html"));
    EXPECT_EQ(paths().back(), "/api/wl/requestBaca"); // no stored annotations to fetch
}

TEST_F(Reader, ALastPageReadIsOfferedAndTakenOnlyWithYes) {
    struct Case {
        int lastPage;
        std::deque<MsgAnswer> answers;
        int openedAt;
        bool asked;
    };
    for (const Case &c :
         {Case{12, {MsgAnswer::Yes}, 12, true}, Case{12, {MsgAnswer::No}, 0, true}, Case{0, {}, 0, false}}) {
        SCOPED_TRACE(c.lastPage);
        setLastPage(LongBook, c.lastPage);
        boxes.shown.clear();
        boxes.answers = c.answers;
        ASSERT_EQ(borrow(LongBook), 0);
        EXPECT_EQ(view(0)->PageIndex(), c.openedAt);
        EXPECT_EQ(panel->edPage->text(), QStringLiteral("%1/%2").arg(c.openedAt + 1).arg(total(LongBook)));
        ASSERT_EQ(boxes.shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(boxes.shown[0].kind, MsgKind::Confirmation);
            EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::YesNo);
            EXPECT_EQ(boxes.shown[0].text, "Lanjut ke halaman terakhir yang anda baca?");
        }
        returnActive();
    }
}

TEST_F(Reader, ASentenceHitOpensAtItsPageWithThePhraseMarkedAndNoQuestion) {
    setLastPage(LongBook, 12);
    lib.FDetailContentJson.store(lib.DetailContentRequest(LongBook));
    ASSERT_EQ(borrowHeldDetail(BorrowRequest::atHit(40, "kunang-kunang menerangi", LibraryView::Chromium7)),
              0);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(view(0)->PageIndex(), 40);
    EXPECT_EQ(panel->edPage->text(), QStringLiteral("41/%1").arg(total(LongBook)));
    EXPECT_EQ(panel->edSearch->text(), "kunang-kunang menerangi");
    EXPECT_FALSE(view(0)->HighlightRects().empty());
    EXPECT_EQ(window.front, LibraryView::Chromium7);
    EXPECT_EQ(areas.currentWidget(), panel);
}

TEST_F(Reader, BooksTakeTheFirstFreePageAndTheFourthIsRefusedBeforeAnyDownload) {
    ASSERT_EQ(borrow(OtherBooks[0]), 0);
    ASSERT_EQ(borrow(OtherBooks[1]), 1);
    ASSERT_EQ(borrow(OtherBooks[2]), 2);
    EXPECT_EQ(program.readCount, 3);

    library.ProcessMessageReceived(window.at(LibraryView::Chromium3),
                                   ProcessMessage{"baca", {std::string("x")}});
    EXPECT_TRUE(window.downloads.empty());
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().text, "Anda melebihi batas baca sebanyak 3 Buku");

    show(1); // books in the first and third pages: the next goes into the second
    returnActive();
    EXPECT_FALSE(panel->PageControl1->isTabVisible(1));
    EXPECT_EQ(program.readCount, 2);
    EXPECT_EQ(borrow(OtherBooks[3]), 1);

    show(0); // the first page freed while the second is taken: the next goes into the first
    returnActive();
    EXPECT_EQ(borrow(OtherBooks[0]), 0);
    EXPECT_EQ(program.readCount, 3);
    EXPECT_EQ(reader.readDict.size(), 3u);
    EXPECT_EQ(reader.readerState.size(), 3u);
}

TEST_F(Reader, RefusalsAndFailuresTakeNothing) {
    // Out of stock: the service's message as a warning, the detail page again.
    ASSERT_EQ(borrow(devserver::kBookOutOfStock), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Warning);
    EXPECT_EQ(boxes.shown[0].text, "Stok buku sedang habis, silakan coba lagi nanti");
    EXPECT_EQ(window.at(LibraryView::Chromium3).last(), library.localPageUrl("detail.html"));

    // A file the service does not have, asked for from a sentence-search hit.
    JsonDocument detail = *lib.DetailContentRequest(ShortBook);
    detail["data"]["nama_pc_file"] = "tidak-ada.pdf";
    lib.FDetailContentJson.store(std::make_shared<const JsonDocument>(detail));
    EXPECT_EQ(borrowHeldDetail(BorrowRequest::atHit(5, "kunang", LibraryView::Chromium7)), -1);
    EXPECT_EQ(boxes.shown.back().text, "Jaringan Error dengan Status : 404");
    EXPECT_NE(window.front, LibraryView::Chromium7);

    // The same book a second time (the service's loan ended behind the client's back).
    ASSERT_EQ(borrow(ShortBook), 0);
    db.run("UPDATE loans SET ended = datetime('now') WHERE ended IS NULL");
    EXPECT_EQ(borrow(ShortBook), 0);
    EXPECT_EQ(boxes.shown.back().text, "Error Exception #1098 : Duplicates not allowed");
    EXPECT_EQ(program.readCount, 1);
    EXPECT_EQ(reader.readDict.size(), 1u);
    EXPECT_FALSE(panel->PageControl1->isTabVisible(1));
    for (const auto &[path, body] : calls())
        EXPECT_NE(path, "/api/wl/bookReturn");
}

TEST_F(Reader, ASessionEndedElsewhereSendsTheMemberToTheLoginPage) {
    lib.FDetailContentJson.store(lib.DetailContentRequest(ShortBook));
    db.run("UPDATE sessions SET ended = datetime('now') WHERE ended IS NULL AND token = ?",
           {lib.FToken.str()});
    EXPECT_EQ(borrowHeldDetail(), -1);
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().text, "Authentication Error : Akun Anda Digunakan Di Perangkat Lain");
    EXPECT_EQ(window.at(LibraryView::Chromium1).last(), library.localPageUrl("login.html"));
    EXPECT_EQ(window.front, LibraryView::Chromium1);
    EXPECT_EQ(program.readCount, 0);
}

TEST_F(Reader, NavigationZoomAndThePageBoxFollowTheView) {
    ASSERT_EQ(borrow(ShortBook), 0);
    const int pages = view(0)->GetPageCount();
    reader.btnPreviousClick();
    EXPECT_EQ(view(0)->PageIndex(), 0);
    reader.btnNextClick();
    reader.btnNextClick();
    EXPECT_EQ(view(0)->PageIndex(), 2);
    EXPECT_EQ(panel->edPage->text(), QStringLiteral("3/%1").arg(total(ShortBook)));
    EXPECT_EQ(settings(0).CurrentPage, panel->edPage->text());
    view(0)->SetPageIndex(pages - 1);
    const QString last = panel->edPage->text();
    reader.btnNextClick();
    EXPECT_EQ(view(0)->PageIndex(), pages - 1);
    EXPECT_EQ(panel->edPage->text(), last);

    struct Zoom {
        int index;
        TPdfControlScaleMode mode;
        int percent;
    };
    for (const Zoom &z :
         {Zoom{3, TPdfControlScaleMode::smZoom, 200}, Zoom{0, TPdfControlScaleMode::smFitAuto, 200},
          Zoom{1, TPdfControlScaleMode::smFitWidth, 200}, Zoom{2, TPdfControlScaleMode::smZoom, 100}}) {
        panel->cmbZoom->setCurrentIndex(z.index);
        reader.cmbZoomChange();
        EXPECT_EQ(view(0)->ScaleMode(), z.mode);
        EXPECT_EQ(view(0)->ZoomPercentage(), z.percent);
        EXPECT_EQ(settings(0).CurrentZoomIndex, z.index);
    }
    panel->CheckAutoPage->setChecked(false);
    EXPECT_FALSE(view(0)->AutoPageChange());
    EXPECT_FALSE(settings(0).AutoPageChange);
}

TEST_F(Reader, GroupsThatDoNotFitWaitInTheMenuLeastNeededFirstAndWorkFromThere) {
    ASSERT_EQ(borrow(ShortBook), 0);
    QWidget *toolbar = panel->PanelToolbar;
    QMenu *menu = panel->btnMore->menu();
    const std::vector<std::vector<QWidget *>> leavingOrder = {
        {panel->CheckAutoPage},
        {panel->btnExportNotes},
        {panel->btnInfo},
        {panel->btnSidePanel},
        {panel->btnTextSelect},
        {panel->cmbZoom},
        {panel->edSearch, panel->btnSearchPrevious, panel->btnSearchNext},
        {panel->AnnotView, panel->btnAnnotSettings, panel->btnAnnotHighlight, panel->btnAnnotRect,
         panel->btnAnnotPen, panel->btnAnnotText, panel->btnAnnotDelete},
        {panel->btnPrevious, panel->edPage, panel->btnNext},
    };
    auto resizeTo = [&](int width) {
        areas.resize(width, 800);
        ASSERT_TRUE(processUntil([&] { return toolbar->width() == width; }));
    };
    // Only the groups up to `leaving` are in the menu; the others are shown whole in the row.
    auto expectOut = [&](std::size_t leaving) {
        for (std::size_t group = 0; group < leavingOrder.size(); ++group)
            for (QWidget *control : leavingOrder[group]) {
                EXPECT_EQ(menu->isAncestorOf(control), group < leaving) << group;
                if (group >= leaving) {
                    EXPECT_TRUE(
                        control->isVisible() &&
                        toolbar->rect().contains(QRect(control->mapTo(toolbar, QPoint()), control->size())))
                        << group;
                }
            }
        EXPECT_EQ(panel->btnMore->isVisible(), leaving > 0);
        EXPECT_TRUE(panel->btnReturn->isVisible());
    };

    resizeTo(1800);
    expectOut(0);
    const int fullRow = toolbar->sizeHint().width();
    resizeTo(fullRow);
    expectOut(0);
    resizeTo(fullRow - 1);
    expectOut(1);

    // The narrowest toolbar keeps the return; page turning works from the menu and closes it.
    resizeTo(toolbar->minimumSizeHint().width());
    expectOut(leavingOrder.size());
    EXPECT_TRUE(
        toolbar->rect().contains(QRect(panel->btnMore->mapTo(toolbar, QPoint()), panel->btnMore->size())));
    menu->popup(panel->btnMore->mapToGlobal(QPoint(0, panel->btnMore->height())));
    ASSERT_TRUE(processUntil([&] { return menu->isVisible() && panel->btnNext->isVisible(); }));
    panel->btnNext->click();
    EXPECT_EQ(view(0)->PageIndex(), 1);
    EXPECT_EQ(panel->edPage->text(), QStringLiteral("2/%1").arg(total(ShortBook)));
    EXPECT_FALSE(menu->isVisible());
    menu->popup(panel->btnMore->mapToGlobal(QPoint(0, panel->btnMore->height())));
    ASSERT_TRUE(processUntil([&] { return menu->isVisible(); }));
    panel->btnPrevious->click();
    EXPECT_EQ(view(0)->PageIndex(), 0);

    resizeTo(1800); // every group back in its place
    expectOut(0);
}

TEST_F(Reader, SwitchingPagesPutsBackEachBooksToolbar) {
    ASSERT_EQ(borrow(ShortBook), 0);
    panel->cmbZoom->setCurrentIndex(3);
    reader.cmbZoomChange();
    panel->CheckAutoPage->setChecked(false);
    settings(0).CurrentHighlightAnnotState = true;
    settings(0).CurrentAnnotDeleteState = true;
    settings(0).CurrentSearchKeyWord = "kunang";
    reader.btnNextClick();

    ASSERT_EQ(borrow(LongBook), 1);
    EXPECT_EQ(panel->cmbZoom->currentIndex(), 2);
    panel->cmbZoom->setCurrentIndex(0);
    reader.cmbZoomChange();
    panel->edSearch->setText("typed, not searched");

    show(0);
    EXPECT_EQ(panel->cmbZoom->currentIndex(), 3);
    EXPECT_EQ(view(0)->ZoomPercentage(), 200);
    EXPECT_EQ(panel->edPage->text(), QStringLiteral("2/%1").arg(total(ShortBook)));
    EXPECT_EQ(panel->edSearch->text(), "kunang");
    EXPECT_FALSE(panel->CheckAutoPage->isChecked());
    EXPECT_FALSE(view(0)->AutoPageChange());
    EXPECT_TRUE(view(0)->AllowUserTextSelection());
    EXPECT_EQ(panel->btnAnnotDelete->palette().color(QPalette::Active, QPalette::ButtonText),
              QColor(0xD3, 0xD0, 0x06));

    show(1);
    EXPECT_EQ(panel->cmbZoom->currentIndex(), 0);
    EXPECT_EQ(view(1)->ScaleMode(), TPdfControlScaleMode::smFitAuto);
    EXPECT_EQ(panel->edSearch->text(), "");
    EXPECT_TRUE(panel->CheckAutoPage->isChecked());
    EXPECT_FALSE(view(1)->AllowUserTextSelection());
    EXPECT_EQ(panel->btnAnnotDelete->palette().color(QPalette::Active, QPalette::ButtonText),
              QColor(Qt::black));
    EXPECT_EQ(panel->edPage->text(), QStringLiteral("1/%1").arg(total(LongBook)));
}

// Stops the page's timers so that the test's ticks stand in for the clock, and forgets the seconds the real
// timers counted while the books were borrowed (a loaded machine can take seconds for that).
void holdClock(TReaderSettings &state) {
    state.TimerIdle->stop();
    state.TimerChecking->stop();
    state.IdleTime = 0;
    state.CheckingTime = 0;
}

// Ticks the page's timer `count` times as a second each would.
void tick(TReaderController &reader, QTimer *timer, int count) {
    for (int i = 0; i < count; ++i)
        reader.readingTimeTick(timer);
}

TEST_F(Reader, ThirtyMinutesWithoutMovementReturnTheBookAtTheNextReport) {
    ASSERT_EQ(borrow(ShortBook), 0);
    TReaderSettings &state = settings(0);
    holdClock(state);
    const std::string idBaca = state.IdBaca;

    tick(reader, state.TimerIdle, 1800);
    EXPECT_EQ(state.IdleTime, 1800);
    EXPECT_EQ(state.ReadStatus, 1);
    state.TimerIdle->start();
    tick(reader, state.TimerIdle, 1);
    EXPECT_EQ(state.ReadStatus, 0);
    EXPECT_FALSE(state.TimerIdle->isActive());
    reader.PDFViewMouseMove(view(0)); // too late: movement no longer helps
    tick(reader, state.TimerIdle, 1);
    EXPECT_EQ(state.ReadStatus, 0);

    state.TimerChecking->start();
    tick(reader, state.TimerChecking, 301);
    ASSERT_TRUE(processUntil([&] { return reader.readerState.empty(); }));
    EXPECT_EQ(program.readCount, 0);
    EXPECT_FALSE(panel->PageControl1->isTabVisible(0));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Information);
    EXPECT_EQ(boxes.shown[0].text,
              "Buku otomatis kembali ke rak , karena telah mencapai waktu idle selama 30-menit");
    const auto sent = calls();
    ASSERT_EQ(sent.back().first, "/api/wl/updateReadStatus");
    EXPECT_NE(sent.back().second.find("status=0"), std::string::npos);
    EXPECT_NE(sent.back().second.find("id_baca=" + idBaca), std::string::npos);
    for (const auto &[path, body] : sent)
        EXPECT_TRUE(path != "/api/wl/bookReturn" && path != "/api/wl/saveAnotasi" &&
                    path != "/api/wl/copyText");
}

TEST_F(Reader, AMovementBeforeTheLimitKeepsTheBook) {
    ASSERT_EQ(borrow(ShortBook), 0);
    TReaderSettings &state = settings(0);
    holdClock(state);
    tick(reader, state.TimerIdle, 29 * 60);
    reader.PDFViewMouseMove(view(0));
    EXPECT_EQ(state.IdleTime, 0);
    tick(reader, state.TimerIdle, 1000);
    EXPECT_EQ(state.ReadStatus, 1);
    tick(reader, state.TimerChecking, 301);
    EXPECT_FALSE(state.TimerChecking->isActive()); // a report is in flight
    ASSERT_TRUE(processUntil([&] { return !state.TimerTask; }));
    EXPECT_TRUE(state.TimerChecking->isActive());
    EXPECT_EQ(state.CheckingTime, 0);
    EXPECT_EQ(program.readCount, 1);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_NE(calls().back().second.find("status=1"), std::string::npos);
}

TEST_F(Reader, AReportInFlightWhenTheBookIsReturnedChangesNothing) {
    ASSERT_EQ(borrow(ShortBook), 0);
    holdClock(settings(0));
    settings(0).ReadStatus = 0;
    tick(reader, settings(0).TimerChecking, 301);
    returnActive(); // the report and the return race to the service; the return frees the page either way
    ASSERT_EQ(borrow(OtherBooks[0]), 0); // the same page holds another book now
    EXPECT_EQ(program.readCount, 1);
    // Only the return speaks: the question, and the service's answer when the report ended the loan
    // first; never the automatic return.
    const std::vector<QString> shown = texts();
    ASSERT_FALSE(shown.empty());
    EXPECT_LE(shown.size(), 2u);
    EXPECT_EQ(shown.front(), "Selesai dan kembalikan Buku Ini?");
    if (shown.size() == 2) {
        EXPECT_EQ(shown.back(), "Buku sudah dikembalikan");
    }
}

TEST_F(Reader, ReturningByHandReportsThePageThenBothDocuments) {
    ASSERT_EQ(borrow(ShortBook), 0);
    view(0)->SetPageIndex(5);
    settings(0).TextCopyObject["data"].push_back({{"page", "6"}, {"text", "kunang-kunang"}});
    const std::string idBaca = settings(0).IdBaca;

    returnActive(MsgAnswer::No);
    EXPECT_EQ(program.readCount, 1);
    EXPECT_TRUE(settings(0).TimerIdle->isActive());

    returnActive(MsgAnswer::Yes);
    EXPECT_EQ(program.readCount, 0);
    EXPECT_TRUE(reader.readDict.empty());
    EXPECT_TRUE(reader.readerState.empty());
    EXPECT_FALSE(panel->PageControl1->isTabVisible(0));
    EXPECT_EQ(reader.firstFreeSlot(), 0);
    const auto sent = calls();
    ASSERT_GE(sent.size(), 3u);
    const auto tail = std::vector(sent.end() - 3, sent.end());
    EXPECT_EQ(tail[0].first, "/api/wl/bookReturn");
    EXPECT_NE(tail[0].second.find("page_index=5"), std::string::npos);
    EXPECT_NE(tail[0].second.find("id_baca=" + idBaca), std::string::npos);
    EXPECT_EQ(tail[1].first, "/api/wl/saveAnotasi");
    EXPECT_EQ(Json::parse(tail[1].second), Json::parse(R"({"id_konten":"1001","data":[]})"));
    EXPECT_EQ(tail[2].first, "/api/wl/copyText");
    EXPECT_EQ(Json::parse(tail[2].second)["data"][0]["text"], "kunang-kunang");

    // The next loan brings the stored annotations back, taken over unchanged.
    db.run("UPDATE annotations SET document = ?",
           {std::string(R"({"id_konten":"lain","data":[{"page":1}]})")});
    ASSERT_EQ(borrow(ShortBook), 0);
    EXPECT_EQ(settings(0).AnnotationObject.dump(), R"({"id_konten":"lain","data":[{"page":1}]})");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(lib.FPath + "/tempAnnot.json")));
}

// A return the service cannot take now keeps the book, its annotations and its reading time, and says so.
TEST_F(Reader, AFailedReturnKeepsTheBookAndItsAnnotationsUntilATryThatWorks) {
    ASSERT_EQ(borrow(ShortBook), 0);
    settings(0).AnnotationObject["data"].push_back({{"page", 0}, {"type", "note"}});
    devserver::setFault(db, "/api/wl/bookReturn", "500", "Layanan sedang sibuk");
    returnActive();
    EXPECT_EQ(paths().back(), "/api/wl/bookReturn"); // neither document goes before the book is back
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].kind, MsgKind::Warning);
    EXPECT_EQ(boxes.shown[1].text,
              "Buku gagal dikembalikan : Layanan sedang sibuk\nBuku dan anotasinya tetap "
              "terbuka, silakan kembalikan lagi.");
    EXPECT_EQ(program.readCount, 1);
    ASSERT_NE(view(0), nullptr);
    EXPECT_TRUE(view(0)->isEnabled());
    EXPECT_TRUE(settings(0).TimerIdle->isActive());
    EXPECT_EQ(settings(0).AnnotationObject["data"].size(), 1u);

    devserver::clearFaults(db);
    returnActive();
    EXPECT_EQ(program.readCount, 0);
    EXPECT_EQ(lastPaths(3), ReturnWithDocuments);
    EXPECT_NE(calls().rbegin()[1].second.find("note"), std::string::npos);
}

TEST_F(Reader, AReturnRefusedForASessionEndedElsewhereKeepsTheBookAndShowsTheLogin) {
    ASSERT_EQ(borrow(ShortBook), 0);
    devserver::setFault(db, "/api/wl/bookReturn", "500", "Auth Failed");
    returnActive();
    devserver::clearFaults(db);
    EXPECT_EQ(texts().back(), "Authentication Error : Akun Anda Digunakan Di Perangkat Lain");
    EXPECT_EQ(window.at(LibraryView::Chromium1).last(), library.localPageUrl("login.html"));
    EXPECT_EQ(program.readCount, 1);
    EXPECT_NE(view(0), nullptr);
}

// The service has ended the loan (here, as a login elsewhere does): the annotations still reach it.
TEST_F(Reader, AReturnOfALoanNoLongerHeldStillSendsTheAnnotations) {
    ASSERT_EQ(borrow(ShortBook), 0);
    db.run("UPDATE loans SET ended = datetime('now') WHERE ended IS NULL");
    returnActive();
    EXPECT_EQ(program.readCount, 0);
    EXPECT_EQ(lastPaths(3), ReturnWithDocuments);
    EXPECT_EQ(texts(), (std::vector<QString>{"Selesai dan kembalikan Buku Ini?", "Buku sudah dikembalikan"}));
}

TEST_F(Reader, AnnotationsThatCannotBeSavedKeepTheBookUnlessTheMemberLetsThemGo) {
    ASSERT_EQ(borrow(ShortBook), 0);
    devserver::setFault(db, "/api/wl/saveAnotasi", "500", "Penyimpanan penuh");
    const QString question = QStringLiteral(
        "Anotasi buku ini gagal disimpan : Penyimpanan penuh\nTutup buku tanpa menyimpan anotasinya?");
    boxes.answers = {MsgAnswer::Yes, MsgAnswer::No};
    reader.btnReturnClick();
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(texts().back(), question);
    EXPECT_EQ(program.readCount, 1);
    EXPECT_TRUE(view(0)->isEnabled());

    // The book went back with the first try: the next one finds the loan ended and sends them again.
    boxes.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    reader.btnReturnClick();
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();
    devserver::clearFaults(db);
    EXPECT_EQ(texts().back(), question);
    EXPECT_EQ(program.readCount, 0);
    EXPECT_EQ(paths().back(), "/api/wl/copyText");
}

TEST_F(Reader, LogoutIsRefusedWhileABookIsOut) {
    ASSERT_EQ(borrow(ShortBook), 0);
    library.ProcessMessageReceived(window.at(LibraryView::Chromium1), ProcessMessage{"logout", {}});
    EXPECT_EQ(texts().back(),
              "Harap kembalikan terlebih dahulu semua buku yang anda baca sebelum keluar dari "
              "akun anda");
    EXPECT_EQ(boxes.shown.back().kind, MsgKind::Warning);
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();
    const auto sent = paths();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "/api/wl/executeLogout"), 0);
    EXPECT_EQ(program.readCount, 1);

    returnActive();
    boxes.shown.clear();
    boxes.answers = {MsgAnswer::Ok};
    library.ProcessMessageReceived(window.at(LibraryView::Chromium1), ProcessMessage{"logout", {}});
    EXPECT_EQ(texts(), (std::vector<QString>{"Keluar dari akun anda?"}));
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(paths().back(), "/api/wl/executeLogout");
}

// Stored annotations that do not parse: the book opens without them and the member is told; the
// return sends no annotation document, so the stored one is not replaced by this loan's empty one.
TEST_F(Reader, UnreadableStoredAnnotationsOpenTheBookWithoutThemAndStayStored) {
    ASSERT_EQ(borrow(ShortBook), 0);
    returnActive();
    db.run("UPDATE annotations SET document = 'not json'");
    boxes.shown.clear();
    EXPECT_EQ(borrow(ShortBook), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Warning);
    EXPECT_TRUE(boxes.shown[0].text.startsWith("Anotasi dari peminjaman sebelumnya tidak dapat dimuat : "))
        << boxes.shown[0].text.toStdString();
    EXPECT_EQ(program.readCount, 1);
    ASSERT_TRUE(reader.activeSettings());
    EXPECT_EQ(reader.activeSettings()->AnnotationObject["data"], JsonDocument::array());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(lib.FPath + "/tempAnnot.json")));
    const std::size_t before = paths().size();
    returnActive();
    const auto sent = paths();
    EXPECT_EQ(std::vector<std::string>(sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end()),
              (std::vector<std::string>{"/api/wl/bookReturn", "/api/wl/copyText"}));
    EXPECT_EQ(program.readCount, 0);
    EXPECT_EQ(db.queryOne("SELECT document FROM annotations ORDER BY id DESC LIMIT 1")->text(0), "not json");
    db.run("DELETE FROM annotations");
}

// Annotations made while the earlier loan's could not be read would replace those at the return: the
// member is asked, and they go back only on a yes.
TEST_F(Reader, AnnotationsMadeOverUnreadableStoredOnesGoBackOnlyIfTheMemberSaysSo) {
    TAnnotationTools tools{reader, *panel, &areas};
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        SCOPED_TRACE(answer == MsgAnswer::Yes ? "yes" : "no");
        ASSERT_EQ(borrow(ShortBook), 0);
        returnActive();
        db.run("UPDATE annotations SET document = 'not json'");
        ASSERT_EQ(borrow(ShortBook), 0);
        drawRectangle(tools, reader, *panel);
        const JsonDocument made = settings(0).AnnotationObject;
        ASSERT_EQ(made["data"].size(), 1u);
        boxes.shown.clear();
        boxes.answers = {MsgAnswer::Yes, answer};
        requestsBefore = lastRequestId();
        reader.btnReturnClick();
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
        ASSERT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(boxes.shown[1].kind, MsgKind::Confirmation);
        EXPECT_TRUE(
            boxes.shown[1].text.startsWith("Anotasi dari peminjaman sebelumnya tidak dapat dimuat.\n"));
        EXPECT_EQ(program.readCount, 0);
        const std::string stored =
            db.queryOne("SELECT document FROM annotations ORDER BY id DESC LIMIT 1")->text(0);
        if (answer == MsgAnswer::Yes) {
            EXPECT_EQ(paths(), ReturnWithDocuments);
            EXPECT_EQ(JsonDocument::parse(stored), made);
        } else {
            EXPECT_EQ(paths(), (std::vector<std::string>{"/api/wl/bookReturn", "/api/wl/copyText"}));
            EXPECT_EQ(stored, "not json");
        }
        db.run("DELETE FROM annotations");
    }
}

// A download cut short to nothing is refused before any loan; a file the engine's repair leaves without
// a page is refused at set-up and its loan given back. Either way no loan stays open.
TEST_F(Reader, AnEmptyOrPagelessBookIsRefusedAndNoLoanStays) {
    const struct {
        const char *name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"empty", "", "Jaringan Error dengan Status : 200"},
        {"pageless",
         "%PDF-1.4\n1 0 obj <</Type /Catalog /Pages 2 0 R>> endobj\n"
         "2 0 obj <</Type /Pages /Kids [] /Count 0>> endobj\ntrailer <</Root 1 0 R>>\n%%EOF\n",
         "Error Exception #1287 : File is not a PDF document or is corrupted"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(borrowBookFile(std::string("rusak-") + c.name + ".pdf", c.bytes), -1);
        ASSERT_FALSE(boxes.shown.empty());
        EXPECT_EQ(boxes.shown.back().text, c.message);
        EXPECT_EQ(program.readCount, 0);
        EXPECT_TRUE(reader.readDict.empty());
        EXPECT_FALSE(panel->PageControl1->isTabVisible(0));
        EXPECT_EQ(db.queryOne("SELECT COUNT(*) FROM loans WHERE ended IS NULL")->integer(0), 0);
    }
}

// A book whose second page carries a signature field, which the engine refuses, and a phrase on its third.
const QString RefusedOnPageTwoKept =
    QStringLiteral("Error Exception #1287 : Function Digital_Signature not supported\nHalaman 2 buku ini "
                   "tidak dapat ditampilkan.");
const QString RefusedOnPageTwo =
    RefusedOnPageTwoKept.chopped(1) + QStringLiteral(", buku dikembalikan ke rak.");

// Reaching a page the engine refuses returns the book as the return button does, without the question:
// the page read and both documents go to the service, the member is told once, and the page is freed.
// A second report while the return is on its way does nothing.
TEST_F(Reader, APageTheEngineRefusesReturnsTheBookWithItsDocumentsOnce) {
    ASSERT_EQ(borrowBookFile("bertanda-tangan.pdf", QByteArray::fromStdString(buildBookSignedOnPageTwo())),
              0);
    EXPECT_TRUE(boxes.shown.empty());
    settings(0).AnnotationObject["data"].push_back({{"page", 0}, {"type", "note"}, {"text", "sebelum"}});
    requestsBefore = lastRequestId();

    reader.btnNextClick();
    EXPECT_TRUE(boxes.shown.empty()) << "no box from inside the page turn";
    view(0)->OnUnsupportedFeature(view(0), 1, QStringLiteral("Function Digital_Signature not supported"));
    EXPECT_TRUE(settings(0).Returning);
    EXPECT_FALSE(view(0)->isEnabled());
    processUntil([&] { return !panel->PageControl1->isTabVisible(0); });
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();

    EXPECT_EQ(texts(), std::vector<QString>{RefusedOnPageTwo});
    EXPECT_EQ(boxes.shown.front().kind, MsgKind::Error);
    EXPECT_EQ(paths(), ReturnWithDocuments);
    const auto sent = calls();
    // The last page read is the one before the refused page, so the next loan does not resume there.
    EXPECT_NE(sent[0].second.find("page_index=0"), std::string::npos) << sent[0].second;
    EXPECT_EQ(Json::parse(sent[1].second)["data"][0]["text"], "sebelum");
    EXPECT_EQ(program.readCount, 0);
    EXPECT_TRUE(reader.readDict.empty());
    EXPECT_EQ(db.queryOne("SELECT COUNT(*) FROM loans WHERE ended IS NULL")->integer(0), 0);
    EXPECT_EQ(borrow(ShortBook), 0) << "the page is free for the next book";
}

TEST_F(Reader, AnnotationsThatCannotBeFetchedAreNeverOverwritten) {
    ASSERT_EQ(borrow(ShortBook), 0);
    returnActive();
    const std::string stored = R"({"id_konten":"1001","data":[{"page":3,"type":"NOTES"}]})";
    db.run("UPDATE annotations SET document = ?", {stored});
    // The stored document disappears between the loan and its fetch.
    db.run("CREATE TEMP TRIGGER lose_annotations AFTER INSERT ON requests "
           "WHEN NEW.path LIKE '/api/wl/fileAnotasi/%' BEGIN DELETE FROM annotations; END");
    const long long before = lastRequestId();
    ASSERT_EQ(borrow(ShortBook), 0);
    db.run("DROP TRIGGER lose_annotations");
    db.run("INSERT INTO annotations (id_user, book_id, document) SELECT id_user, '1001', ? FROM members "
           "WHERE username = ?",
           {stored, devserver::sampleMembers().at(0).username});
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].kind, MsgKind::Warning);
    EXPECT_EQ(boxes.shown[1].text, "Anotasi dari peminjaman sebelumnya tidak dapat dimuat : Refused: Anotasi "
                                   "tidak ditemukan");
    EXPECT_EQ(settings(0).AnnotationObject.dump(), R"({"id_konten":"1001","data":[]})");

    requestsBefore = before;
    returnActive();
    const auto sent = paths();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "/api/wl/saveAnotasi"), 0);
    EXPECT_EQ(sent.back(), "/api/wl/copyText");
    EXPECT_EQ(db.queryOne("SELECT document FROM annotations")->text(0), stored);
}

TEST_F(Reader, AnnotationsMadeInOneLoanComeBackInTheNext) {
    TAnnotationTools tools{reader, *panel, &areas};
    ASSERT_EQ(borrow(ShortBook), 0);
    const QPoint start = drawRectangle(tools, reader, *panel);
    const JsonDocument made = settings(0).AnnotationObject;
    ASSERT_EQ(made["data"].size(), 1u);

    returnActive();
    panel->AnnotView->setChecked(true); // shown when the next loan opens
    ASSERT_EQ(borrow(ShortBook), 0);
    EXPECT_EQ(settings(0).AnnotationObject, made);
    QApplication::processEvents();
    EXPECT_EQ(view(0)->grab().toImage().pixelColor(QPoint(start.x() + 50, start.y())), QColor(Qt::red));
}

// A return after a refusal that the service cannot take keeps the book, as a manual return does; the
// refused page is not told again, and the member's own return later reports the last page read.
TEST_F(Reader, ARefusalWhoseReturnFailsKeepsTheBookForAReturnByHand) {
    ASSERT_EQ(borrowBookFile("bertanda-tangan.pdf", QByteArray::fromStdString(buildBookSignedOnPageTwo())),
              0);
    devserver::setFault(db, "/api/wl/bookReturn", "500", "Layanan sedang sibuk");
    reader.btnNextClick();
    processUntil([&] { return boxes.shown.size() >= 2; });
    EXPECT_EQ(texts(),
              (std::vector<QString>{RefusedOnPageTwoKept,
                                    "Buku gagal dikembalikan : Layanan sedang sibuk\nBuku dan anotasinya "
                                    "tetap terbuka, silakan kembalikan lagi."}));
    EXPECT_EQ(program.readCount, 1);
    ASSERT_NE(view(0), nullptr);
    EXPECT_TRUE(view(0)->isEnabled());
    EXPECT_FALSE(settings(0).Returning);

    reader.btnPreviousClick();
    reader.btnNextClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.shown.size(), 2u);

    devserver::clearFaults(db);
    requestsBefore = lastRequestId();
    returnActive();
    EXPECT_EQ(program.readCount, 0);
    EXPECT_EQ(paths(), ReturnWithDocuments);
    EXPECT_NE(calls()[0].second.find("page_index=0"), std::string::npos) << calls()[0].second;
}

class InBookSearch : public Reader {
protected:
    void search(const QString &phrase, bool next) {
        panel->edSearch->setText(phrase);
        next ? reader.btnSearchNextClick() : reader.btnSearchPreviousClick();
        for (int walk = 0; walk < 2; ++walk) { // a walk from the other end follows the member's yes
            BackgroundTask::waitForAll();
            processUntil([this] { return !program.isSearchRunning; });
            QCoreApplication::processEvents();
        }
    }
    MsgKind lastKind() const { return boxes.shown.back().kind; }
};

const QString NotFoundGoOnFromStart = QStringLiteral("Tidak Ditemukan. Lanjutkan pencarian dari awal buku?");
const QString NotFoundGoOnFromEnd = QStringLiteral("Tidak Ditemukan. Lanjutkan pencarian dari akhir buku?");

TEST_F(InBookSearch, NextAndPreviousTurnToThePagesOfThePhrase) {
    ASSERT_EQ(borrow(ShortBook), 0);
    search("KUNANG-kunang menerangi", true);
    EXPECT_EQ(view(0)->PageIndex(), 2);
    EXPECT_FALSE(view(0)->HighlightRects().empty());
    EXPECT_EQ(panel->edPage->text(), QStringLiteral("3/%1").arg(total(ShortBook)));
    EXPECT_EQ(settings(0).CurrentSearchKeyWord, "KUNANG-kunang menerangi");
    search("KUNANG-kunang menerangi", true);
    EXPECT_EQ(view(0)->PageIndex(), 9);
    search("KUNANG-kunang menerangi", false);
    EXPECT_EQ(view(0)->PageIndex(), 2);
    EXPECT_TRUE(boxes.shown.empty());

    boxes.answers = {MsgAnswer::No};
    search("kunang-kunang menerangi", false); // only pages after this one hold it
    EXPECT_EQ(view(0)->PageIndex(), 2);
    EXPECT_EQ(texts(), (std::vector<QString>{NotFoundGoOnFromEnd}));
    EXPECT_EQ(lastKind(), MsgKind::Confirmation);
    EXPECT_FALSE(view(0)->HighlightRects().empty()); // the same phrase stays marked

    boxes.answers = {MsgAnswer::Yes};
    search("kunang-kunang menerangi", false); // on from the last page backwards: the later hit
    EXPECT_EQ(view(0)->PageIndex(), 9);
    EXPECT_EQ(boxes.shown.size(), 2u);

    panel->edSearch->clear();
    EXPECT_TRUE(view(0)->HighlightRects().empty());
}

TEST_F(InBookSearch, TheLastPageAlwaysAnswersAndOffersTheStartOfTheBook) {
    ASSERT_EQ(borrow(ShortBook), 0);
    search("kunang-kunang menerangi", true);
    ASSERT_EQ(view(0)->PageIndex(), 2);
    const int last = total(ShortBook) - 1;
    view(0)->SetPageIndex(last);

    boxes.answers = {MsgAnswer::No};
    search("tidak ada di buku mana pun", true);
    EXPECT_EQ(texts(), (std::vector<QString>{NotFoundGoOnFromStart}));
    EXPECT_EQ(view(0)->PageIndex(), last);
    EXPECT_TRUE(view(0)->HighlightedText().isEmpty()); // the earlier phrase's marks are gone

    boxes.answers = {MsgAnswer::Yes};
    search("kunang-kunang menerangi", true);
    EXPECT_EQ(view(0)->PageIndex(), 2);
    EXPECT_FALSE(view(0)->HighlightRects().empty());

    boxes.shown.clear();
    boxes.answers = {MsgAnswer::Yes};
    search("tidak ada di buku mana pun", true); // the whole book, then the plain answer
    EXPECT_EQ(texts(), (std::vector<QString>{NotFoundGoOnFromStart, "Tidak Ditemukan"}));
    EXPECT_EQ(lastKind(), MsgKind::Information);
    EXPECT_EQ(view(0)->PageIndex(), 2);
    EXPECT_TRUE(view(0)->HighlightRects().empty());
}

TEST_F(InBookSearch, FromTheOtherEndThePageShownIsSearchedLast) {
    ASSERT_EQ(borrow(ShortBook), 0);
    view(0)->SetPageIndex(9); // the last page that holds the phrase
    boxes.answers = {MsgAnswer::Yes};
    search("kunang-kunang menerangi", true);
    EXPECT_EQ(view(0)->PageIndex(), 2);
    view(0)->SetPageIndex(2);
    boxes.answers = {MsgAnswer::Yes};
    search("kunang-kunang menerangi", false);
    EXPECT_EQ(view(0)->PageIndex(), 9);
    // Only the page shown (the title page) holds it: found there and marked, not reported missing.
    view(0)->SetPageIndex(0);
    boxes.shown.clear();
    boxes.answers = {MsgAnswer::Yes};
    search("Diterbitkan oleh", true);
    EXPECT_EQ(texts(), (std::vector<QString>{NotFoundGoOnFromStart}));
    EXPECT_EQ(view(0)->PageIndex(), 0);
    EXPECT_FALSE(view(0)->HighlightRects().empty());
}

TEST_F(InBookSearch, EdgesEmptyBoxAndARunningSearchStartNothing) {
    ASSERT_EQ(borrow(LongBook), 0);
    boxes.answers = {MsgAnswer::No};
    search("kunang-kunang", false); // backwards from the first page: nothing searched, the question asked
    EXPECT_EQ(texts(), (std::vector<QString>{NotFoundGoOnFromEnd}));
    boxes.shown.clear();
    panel->edSearch->clear();
    reader.edSearchKeyPress(13);
    search("", true);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(view(0)->PageIndex(), 0);

    view(0)->SetPageIndex(41);
    panel->edSearch->setText("kunang-kunang");
    reader.btnSearchNextClick();     // walks to page 400
    reader.btnSearchPreviousClick(); // would find page 40
    BackgroundTask::waitForAll();
    processUntil([this] { return !program.isSearchRunning; });
    QCoreApplication::processEvents();
    EXPECT_EQ(view(0)->PageIndex(), 400) << (texts().empty() ? std::string() : texts().back().toStdString());
}

// A walk that meets the refused page turns the view to it, which returns the book as any page reached
// does: one message, no box of the search's own.
TEST_F(InBookSearch, AWalkThatMeetsARefusedPageReturnsTheBookWithOneMessage) {
    ASSERT_EQ(borrowBookFile("bertanda-tangan.pdf", QByteArray::fromStdString(buildBookSignedOnPageTwo())),
              0);
    search(QStringLiteral("kunang-kunang"), true);
    processUntil([&] { return !panel->PageControl1->isTabVisible(0); });
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(texts(), std::vector<QString>{RefusedOnPageTwo});
    EXPECT_EQ(program.readCount, 0);
    EXPECT_EQ(db.queryOne("SELECT COUNT(*) FROM loans WHERE ended IS NULL")->integer(0), 0);
}

TEST_F(InBookSearch, AResultForAReturnedBookChangesNothing) {
    ASSERT_EQ(borrow(LongBook), 0);
    ASSERT_EQ(borrow(ShortBook), 1);
    show(0);
    view(0)->SetPageIndex(41);
    panel->edSearch->setText("kunang-kunang menerangi");
    reader.btnSearchNextClick();
    returnActive(); // while the search walks the book
    EXPECT_EQ(view(1)->PageIndex(), 0);
    EXPECT_EQ(texts(), (std::vector<QString>{"Selesai dan kembalikan Buku Ini?"}));
    EXPECT_FALSE(program.isSearchRunning);
}

} // namespace

// The page box takes a typed page number or a front-matter label; Enter goes there, and a page the book
// does not have is refused with a warning and the box shows the page again.
TEST_F(Reader, ATypedPageOrFrontMatterLabelGoesThereAndAnImpossibleOneIsRefused) {
    ASSERT_EQ(borrow(ShortBook), 0);
    reader.readDict.at(ShortBook)->halaman_romawi = 2;
    const int pages = view(0)->GetPageCount();
    const QString totalText = QString::number(total(ShortBook));
    struct Case {
        QString typed;
        int page; // -1: refused, the view stays
    };
    const Case cases[] = {
        {QStringLiteral("3"), 2},
        {QStringLiteral("ii"), 1},
        {QString::number(pages), pages - 1},
        {QStringLiteral("1/") + totalText, 0},
        {QString::number(pages + 1), -1},
        {QStringLiteral("iii"), -1},
        {QStringLiteral("0"), -1},
        {QStringLiteral("abc"), -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        view(0)->SetPageIndex(4);
        const std::size_t before = boxes.shown.size();
        panel->edPage->setFocus();
        panel->edPage->setText(c.typed);
        QTest::keyClick(panel->edPage, Qt::Key_Return);
        const int expected = c.page < 0 ? 4 : c.page;
        EXPECT_EQ(view(0)->PageIndex(), expected);
        EXPECT_EQ(panel->edPage->text(), QStringLiteral("%1/%2").arg(expected + 1).arg(totalText));
        ASSERT_EQ(boxes.shown.size(), before + (c.page < 0 ? 1 : 0));
        if (c.page < 0) {
            EXPECT_EQ(boxes.shown.back().text,
                      QStringLiteral("Halaman \"%1\" tidak ada di buku ini").arg(c.typed));
        }
    }
}

// With no book open the reader says so and its toolbar is disabled; returning the last book brings that
// state back, with nothing of the book left in the toolbar.
TEST_F(Reader, WithoutABookTheReaderSaysSoAndItsToolbarIsDisabled) {
    std::vector<QWidget *> controls = {
        panel->btnReturn,         panel->btnInfo,          panel->cmbZoom,           panel->CheckAutoPage,
        panel->btnPrevious,       panel->edPage,           panel->btnNext,           panel->btnTextSelect,
        panel->AnnotView,         panel->btnAnnotSettings, panel->btnAnnotHighlight, panel->btnAnnotRect,
        panel->btnAnnotPen,       panel->btnAnnotText,     panel->btnAnnotDelete,    panel->edSearch,
        panel->btnSearchPrevious, panel->btnSearchNext};
    auto expectEmpty = [&] {
        EXPECT_TRUE(panel->lblNoBook->isVisible());
        EXPECT_EQ(panel->lblNoBook->text(), "Tidak ada buku yang sedang dibaca");
        for (QWidget *control : controls)
            EXPECT_FALSE(control->isEnabled()) << control->toolTip().toStdString();
        EXPECT_TRUE(panel->edPage->text().isEmpty());
        EXPECT_TRUE(panel->edSearch->text().isEmpty());
        EXPECT_FALSE(panel->AnnotView->isChecked());
        EXPECT_FALSE(panel->CheckAutoPage->isChecked());
    };
    areas.setCurrentWidget(panel);
    expectEmpty();
    ASSERT_EQ(borrow(ShortBook), 0);
    ASSERT_EQ(borrow(LongBook), 1);
    EXPECT_FALSE(panel->lblNoBook->isVisible());
    for (QWidget *control : controls)
        EXPECT_TRUE(control->isEnabled()) << control->toolTip().toStdString();
    panel->edSearch->setText(QStringLiteral("kata"));
    panel->AnnotView->setChecked(true);
    returnActive();
    EXPECT_FALSE(panel->lblNoBook->isVisible()) << "one book is still open";
    EXPECT_TRUE(panel->btnReturn->isEnabled());
    show(0);
    returnActive();
    ASSERT_EQ(program.readCount, 0);
    expectEmpty();
}

// Asking to read a book already open brings its page to the front, at a sentence hit when there is one;
// nothing is downloaded or borrowed again.
TEST_F(Reader, AnOpenBookAskedForAgainComesToTheFrontWithoutAnotherLoan) {
    ASSERT_EQ(borrow(ShortBook), 0);
    ASSERT_EQ(borrow(LongBook), 1);
    areas.setCurrentWidget(libraryArea);
    const long long before = lastRequestId();
    EXPECT_TRUE(reader.showOpenBook(ShortBook, 0));
    EXPECT_EQ(panel->PageControl1->currentIndex(), 0);
    EXPECT_EQ(areas.currentWidget(), panel);
    program.KalimatPencarian = "kalimat";
    EXPECT_TRUE(reader.showOpenBook(LongBook, 40));
    EXPECT_EQ(panel->PageControl1->currentIndex(), 1);
    EXPECT_EQ(view(1)->PageIndex(), 40);
    EXPECT_EQ(view(1)->HighlightedText(), QStringLiteral("kalimat"));
    EXPECT_EQ(panel->edSearch->text(), QStringLiteral("kalimat"));
    EXPECT_FALSE(reader.showOpenBook(OtherBooks[0], 0));
    EXPECT_EQ(lastRequestId(), before);
    EXPECT_EQ(program.readCount, 2);
    EXPECT_TRUE(boxes.shown.empty());
}

// Every key of the reader, pressed where a member would press it, and what it does.
TEST_F(Reader, EveryReaderKeyDoesWhatItsTooltipSays) {
    ASSERT_EQ(borrow(ShortBook), 0);
    ASSERT_EQ(borrow(LongBook), 1);
    show(0);
    areas.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&areas));
    const QString phrase = QStringLiteral("kunang-kunang menerangi");
    auto zoom = [&](int index) {
        panel->cmbZoom->setCurrentIndex(index);
        reader.cmbZoomChange();
    };
    auto onPage = [&](int page) { return [&, page] { view(0)->SetPageIndex(page); }; };
    auto expectPage = [&](int page) { return [&, page] { EXPECT_EQ(view(0)->PageIndex(), page); }; };
    auto expectZoom = [&](int index, int percent) {
        return [&, index, percent] {
            EXPECT_EQ(panel->cmbZoom->currentIndex(), index);
            EXPECT_EQ(settings(0).CurrentZoomIndex, index);
            if (percent) {
                EXPECT_EQ(view(0)->ZoomPercentage(), percent);
            }
        };
    };
    auto expectFocus = [&](std::function<QWidget *()> widget) {
        return [widget] { EXPECT_TRUE(widget()->hasFocus()); };
    };
    std::function<QWidget *()> page = [&] { return static_cast<QWidget *>(view(0)); };
    std::function<QWidget *()> searchBox = [&] { return static_cast<QWidget *>(panel->edSearch); };
    struct Case {
        const char *label;
        std::function<QWidget *()> target; // where the key goes
        int key;
        Qt::KeyboardModifiers modifiers;
        std::function<void()> before;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"Space turns the screen", page, Qt::Key_Space, Qt::NoModifier, [&] { zoom(0), onPage(3)(); },
         expectPage(4)},
        {"Shift+Space back", page, Qt::Key_Space, Qt::ShiftModifier, onPage(3), expectPage(2)},
        {"Page Down", page, Qt::Key_PageDown, Qt::NoModifier, onPage(3), expectPage(4)},
        {"Page Up", page, Qt::Key_PageUp, Qt::NoModifier, onPage(3), expectPage(2)},
        {"Down at the page's end turns", page, Qt::Key_Down, Qt::NoModifier, onPage(3), expectPage(4)},
        {"Up at the page's top turns back", page, Qt::Key_Up, Qt::NoModifier, onPage(3), expectPage(2)},
        {"Right at the page's edge turns", page, Qt::Key_Right, Qt::NoModifier, onPage(3), expectPage(4)},
        {"Down without automatic page change stays", page, Qt::Key_Down, Qt::NoModifier,
         [&] {
             panel->CheckAutoPage->setChecked(false);
             onPage(3)();
         },
         [&] {
             EXPECT_EQ(view(0)->PageIndex(), 3);
             panel->CheckAutoPage->setChecked(true);
         }},
        {"Ctrl+End to the last page", page, Qt::Key_End, Qt::ControlModifier, onPage(3),
         [&] { EXPECT_EQ(view(0)->PageIndex(), view(0)->GetPageCount() - 1); }},
        {"Ctrl+Home to the first page", page, Qt::Key_Home, Qt::ControlModifier, onPage(3), expectPage(0)},
        {"Ctrl+Plus zooms in", page, Qt::Key_Plus, Qt::ControlModifier, [&] { zoom(2); }, expectZoom(3, 200)},
        {"Ctrl+Plus stops at the largest", page, Qt::Key_Plus, Qt::ControlModifier, [] {},
         expectZoom(3, 200)},
        {"Ctrl+Minus zooms out", page, Qt::Key_Minus, Qt::ControlModifier, [] {}, expectZoom(2, 100)},
        {"Ctrl+Minus again, the width", page, Qt::Key_Minus, Qt::ControlModifier, [] {},
         [&] {
             expectZoom(1, 0)();
             EXPECT_EQ(view(0)->ScaleMode(), TPdfControlScaleMode::smFitWidth);
         }},
        {"Ctrl+0 back to 100%", page, Qt::Key_0, Qt::ControlModifier, [] {}, expectZoom(2, 100)},
        {"Ctrl+F to the search box", page, Qt::Key_F, Qt::ControlModifier, [] {}, expectFocus(searchBox)},
        {"Escape leaves the search box", searchBox, Qt::Key_Escape, Qt::NoModifier, [] {}, expectFocus(page)},
        {"Ctrl+G to the page box", page, Qt::Key_G, Qt::ControlModifier, [] {},
         expectFocus([&] { return panel->edPage; })},
        {"F3 finds the next page", page, Qt::Key_F3, Qt::NoModifier,
         [&] {
             zoom(0);
             panel->edSearch->setText(phrase);
             onPage(0)();
         },
         [&] {
             BackgroundTask::waitForAll();
             processUntil([this] { return !program.isSearchRunning; });
             EXPECT_EQ(view(0)->PageIndex(), 2);
         }},
        {"Enter in the box finds the next", searchBox, Qt::Key_Return, Qt::NoModifier, [] {},
         [&] {
             BackgroundTask::waitForAll();
             processUntil([this] { return !program.isSearchRunning; });
             EXPECT_EQ(view(0)->PageIndex(), 9);
         }},
        {"Shift+Enter in the box finds the previous", searchBox, Qt::Key_Return, Qt::ShiftModifier, [] {},
         [&] {
             BackgroundTask::waitForAll();
             processUntil([this] { return !program.isSearchRunning; });
             EXPECT_EQ(view(0)->PageIndex(), 2);
         }},
        {"Shift+F3 finds the previous", page, Qt::Key_F3, Qt::ShiftModifier, onPage(9),
         [&] {
             BackgroundTask::waitForAll();
             processUntil([this] { return !program.isSearchRunning; });
             EXPECT_EQ(view(0)->PageIndex(), 2);
         }},
        {"Escape leaves the annotation tool", page, Qt::Key_Escape, Qt::NoModifier,
         [&] { panel->btnAnnotHighlight->click(); },
         [&] { EXPECT_FALSE(settings(0).CurrentHighlightAnnotState); }},
        {"F9 shows the side panel", page, Qt::Key_F9, Qt::NoModifier, [] {},
         [&] {
             EXPECT_TRUE(settings(0).SidePanelShown);
             EXPECT_TRUE(panel->sidePanel->isVisible());
             EXPECT_TRUE(panel->btnSidePanel->isChecked());
         }},
        {"F9 again hides it", page, Qt::Key_F9, Qt::NoModifier, [] {},
         [&] {
             EXPECT_FALSE(settings(0).SidePanelShown);
             EXPECT_FALSE(panel->sidePanel->isVisible());
         }},
        {"Ctrl+Tab to the next book", page, Qt::Key_Tab, Qt::ControlModifier, [] {},
         [&] { EXPECT_EQ(panel->PageControl1->currentIndex(), 1); }},
        {"Ctrl+Tab round to the first", [&] { return static_cast<QWidget *>(view(1)); }, Qt::Key_Tab,
         Qt::ControlModifier, [] {}, [&] { EXPECT_EQ(panel->PageControl1->currentIndex(), 0); }},
        {"Ctrl+Shift+Tab to the previous", page, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier,
         [] {}, [&] { EXPECT_EQ(panel->PageControl1->currentIndex(), 1); }},
        {"F11 full screen", [&] { return static_cast<QWidget *>(view(1)); }, Qt::Key_F11, Qt::NoModifier,
         [] {}, [&] { EXPECT_TRUE(areas.windowState() & Qt::WindowFullScreen); }},
        {"F11 again leaves it", [&] { return static_cast<QWidget *>(view(1)); }, Qt::Key_F11, Qt::NoModifier,
         [] {}, [&] { EXPECT_FALSE(areas.windowState() & Qt::WindowFullScreen); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        c.before();
        QWidget *target = c.target();
        target->setFocus();
        QTest::keyClick(target, static_cast<Qt::Key>(c.key), c.modifiers);
        c.check();
    }
    EXPECT_TRUE(boxes.shown.empty()) << texts().front().toStdString();
}

// Every control of the toolbar is reached by Tab, has an accessible name, and an Indonesian tooltip;
// those with a key name it.
TEST_F(Reader, ToolbarControlsAreReachedByTabAndNamed) {
    ASSERT_EQ(borrow(ShortBook), 0);
    const std::vector<std::pair<QWidget *, QString>> shortcuts = {
        {panel->btnPrevious, "Page Up"}, {panel->btnNext, "Page Down"},
        {panel->edPage, "Ctrl+G"},       {panel->edSearch, "Ctrl+F"},
        {panel->btnSearchNext, "(F3)"},  {panel->btnSearchPrevious, "Shift+F3"},
        {panel->cmbZoom, "Ctrl+0"},      {panel->btnAnnotHighlight, "Esc"},
        {panel->btnSidePanel, "(F9)"},
    };
    for (QWidget *control : panel->PanelToolbar->findChildren<QWidget *>()) {
        if (!qobject_cast<QAbstractButton *>(control) && !qobject_cast<QComboBox *>(control) &&
            !qobject_cast<QLineEdit *>(control))
            continue;
        if (qobject_cast<QLineEdit *>(control) && qobject_cast<QComboBox *>(control->parentWidget()))
            continue;
        SCOPED_TRACE(control->toolTip().toStdString());
        EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
        EXPECT_FALSE(control->accessibleName().isEmpty());
        EXPECT_FALSE(control->toolTip().isEmpty());
    }
    for (const auto &[control, key] : shortcuts)
        EXPECT_TRUE(control->toolTip().contains(key)) << control->toolTip().toStdString();
}

// A right-click on selected text offers the copy with citation; without a selection there is no menu.
TEST_F(Reader, TheRightClickMenuCopiesTheSelectionWithItsCitation) {
    TAnnotationTools tools(reader, *panel, &areas);
    ASSERT_EQ(borrow(ShortBook), 0);
    EXPECT_EQ(tools.selectionMenu(*view(0)), nullptr);
    view(0)->SelectText(0, 20);
    std::unique_ptr<QMenu> menu(tools.selectionMenu(*view(0)));
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Salin Teks Beserta Kutipan"));
    QGuiApplication::clipboard()->clear();
    menu->actions()[0]->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("Judul : ")));
    EXPECT_EQ(settings(0).TextCopyObject["data"].size(), 1u);
}

// The member sees the minutes left before the automatic return; at 25 idle minutes a notice (no box)
// says five are left, and movement over the page resets both. The clock is the idle rule's own ticks.
TEST_F(Reader, TheIdleClockAndItsNoticeFollowTheIdleTicks) {
    ASSERT_EQ(borrow(ShortBook), 0);
    ASSERT_EQ(borrow(LongBook), 1);
    for (int slot : {0, 1})
        holdClock(settings(slot));
    show(0);
    const QString title = panel->PageControl1->tabText(0);
    auto clockSays = [&](int minutes) {
        return QStringLiteral("Kembali otomatis ke rak dalam %1 menit").arg(minutes);
    };
    EXPECT_TRUE(panel->lblIdleClock->isVisible());
    EXPECT_EQ(panel->lblIdleClock->text(), clockSays(30));
    struct Step {
        int ticks; // of the first book's idle timer, on top of the steps before
        int clock;
        bool notice;
    };
    const Step steps[] = {{1, 30, false}, {59, 29, false}, {1, 29, false}, {1380, 6, false},
                          {58, 6, false}, {1, 5, true},    {240, 1, true}, {59, 1, true}};
    for (const Step &s : steps) {
        tick(reader, settings(0).TimerIdle, s.ticks);
        SCOPED_TRACE(settings(0).IdleTime);
        EXPECT_EQ(panel->lblIdleClock->text(), clockSays(s.clock));
        EXPECT_EQ(panel->lblIdleNotice->isVisible(), s.notice);
    }
    EXPECT_TRUE(panel->lblIdleNotice->text().contains(title));
    EXPECT_TRUE(panel->lblIdleNotice->text().contains(QStringLiteral("dalam 5 menit")));
    EXPECT_TRUE(boxes.shown.empty()) << "the notice is no box";

    // The other book's ticks neither move this clock nor hide the notice; its own tab shows its clock.
    tick(reader, settings(1).TimerIdle, 600);
    EXPECT_EQ(panel->lblIdleClock->text(), clockSays(1));
    reader.PDFViewMouseMove(view(1));
    EXPECT_TRUE(panel->lblIdleNotice->isVisible());
    show(1);
    EXPECT_EQ(panel->lblIdleClock->text(), clockSays(30));
    show(0);

    reader.PDFViewMouseMove(view(0));
    EXPECT_EQ(settings(0).IdleTime, 0);
    EXPECT_EQ(panel->lblIdleClock->text(), clockSays(30));
    EXPECT_FALSE(panel->lblIdleNotice->isVisible());

    // Past the limit movement no longer helps, and the clock says so.
    tick(reader, settings(0).TimerIdle, 1801);
    EXPECT_EQ(settings(0).ReadStatus, 0);
    EXPECT_EQ(panel->lblIdleClock->text(), QStringLiteral("Waktu idle habis, buku segera kembali ke rak"));
}

// Undo and redo, by key and by button, act on the annotation changes of the book in front only, stop at
// the state at borrowing, and the return sends the document as the member sees it.
TEST_F(Reader, AnnotationChangesAreUndoneAndRedonePerBookAndTheReturnSendsWhatIsShown) {
    TAnnotationTools tools{reader, *panel, &areas};
    ASSERT_EQ(borrow(ShortBook), 0);
    ASSERT_EQ(borrow(LongBook), 1);
    show(0);
    areas.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&areas));
    auto drawRectangle = [&](int slot) {
        tools.ButtonAnnotClick(panel->btnAnnotRect);
        const QPoint start = view(slot)->GetPageRect().center(), end = start + QPoint(40, 30);
        auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at), QPointF(view(slot)->mapToGlobal(at)), button, held,
                              Qt::NoModifier);
            QApplication::sendEvent(view(slot), &event);
        };
        mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    };
    auto entries = [&](int slot) { return settings(slot).AnnotationObject["data"].size(); };
    auto key = [&](int slot, Qt::Key which, Qt::KeyboardModifiers modifiers) {
        view(slot)->setFocus();
        QTest::keyClick(view(slot), which, modifiers);
    };
    EXPECT_FALSE(panel->btnAnnotUndo->isEnabled());
    drawRectangle(0);
    drawRectangle(0);
    ASSERT_EQ(entries(0), 2u);
    EXPECT_TRUE(panel->btnAnnotUndo->isEnabled());
    EXPECT_FALSE(panel->btnAnnotRedo->isEnabled());

    show(1); // the other book has its own history, empty
    EXPECT_FALSE(panel->btnAnnotUndo->isEnabled());
    key(1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(entries(0), 2u);
    show(0);

    struct Step {
        const char *label;
        std::function<void()> press;
        std::size_t entries;
        bool undo, redo; // the buttons' state afterwards
    };
    const Step steps[] = {
        {"Ctrl+Z", [&] { key(0, Qt::Key_Z, Qt::ControlModifier); }, 1, true, true},
        {"Ctrl+Y", [&] { key(0, Qt::Key_Y, Qt::ControlModifier); }, 2, true, false},
        {"Ctrl+Shift+Z with nothing to redo",
         [&] { key(0, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }, 2, true, false},
        {"undo button", [&] { panel->btnAnnotUndo->click(); }, 1, true, true},
        {"undo button to the state at borrowing", [&] { panel->btnAnnotUndo->click(); }, 0, false, true},
        {"Ctrl+Z past borrowing is refused", [&] { key(0, Qt::Key_Z, Qt::ControlModifier); }, 0, false, true},
        {"Ctrl+Shift+Z", [&] { key(0, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }, 1, true, true},
        {"a new rectangle clears the redo", [&] { drawRectangle(0); }, 2, true, false},
        {"redo button with nothing to redo", [&] { panel->btnAnnotRedo->click(); }, 2, true, false},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.label);
        s.press();
        EXPECT_EQ(entries(0), s.entries);
        EXPECT_EQ(panel->btnAnnotUndo->isEnabled(), s.undo);
        EXPECT_EQ(panel->btnAnnotRedo->isEnabled(), s.redo);
    }
    key(0, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(entries(0), 1u);
    const Json shown = Json::parse(settings(0).AnnotationObject.dump());
    returnActive();
    const auto sent = lastPaths(3);
    ASSERT_EQ(sent, ReturnWithDocuments);
    EXPECT_EQ(Json::parse(calls()[calls().size() - 2].second), shown);
}

// The side panel: the book's outline and its page thumbnails, shown per book.
class SidePanel : public Reader {
protected:
    BookSidePanel &side() const { return *panel->sidePanel; }
    QTreeWidgetItem *outlineItem(const std::vector<int> &path) const {
        QTreeWidgetItem *item = nullptr;
        for (int child : path)
            item = item ? item->child(child) : side().outlineTree->topLevelItem(child);
        return item;
    }
    PageThumbnails &thumbnails(int slot) const { return *settings(slot).SidePanel->thumbnails; }
};

TEST_F(SidePanel, HiddenUntilAskedForThenRememberedForEachBook) {
    ASSERT_EQ(borrow(ShortBook), 0);
    ASSERT_EQ(borrow(LongBook), 1);
    auto expectShown = [&](bool shown) {
        EXPECT_EQ(side().isVisible(), shown);
        EXPECT_EQ(panel->btnSidePanel->isChecked(), shown);
    };
    expectShown(false);
    EXPECT_EQ(settings(1).SidePanel, nullptr); // nothing is made before it is asked for
    panel->btnSidePanel->click();
    expectShown(true);
    EXPECT_EQ(side().shownBook(), settings(1).SidePanel.get());
    show(0);
    expectShown(false);
    EXPECT_EQ(side().shownBook(), nullptr);
    show(1);
    expectShown(true);
    EXPECT_EQ(side().shownBook(), settings(1).SidePanel.get());
    panel->btnSidePanel->click();
    show(0);
    show(1);
    expectShown(false);
}

// A turn's marks follow from the event loop; a switch to another book before then marks that book's page.
TEST_F(SidePanel, ASwitchRightAfterATurnMarksThePageOfTheBookInFront) {
    ASSERT_EQ(borrow(ShortBook), 0);
    ASSERT_EQ(borrow(LongBook), 1);
    panel->btnSidePanel->click();
    show(0);
    panel->btnSidePanel->click();
    show(1);
    view(1)->SetPageIndex(5);
    show(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(side().shownBook(), settings(0).SidePanel.get());
    EXPECT_EQ(side().thumbnailStrip->currentIndex().row(), view(0)->PageIndex());
}

TEST_F(SidePanel, TheOutlineIsTheBooksOwnAndMarksThePageShownAsPagesTurn) {
    ASSERT_EQ(borrow(LongBook), 0);
    panel->btnSidePanel->click();
    QTreeWidget *tree = side().outlineTree;
    ASSERT_TRUE(tree->isVisible());
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(outlineItem({0})->text(0), "Bagian Awal");
    EXPECT_EQ(outlineItem({0, 1})->text(0), "Kata Pengantar");
    EXPECT_EQ(outlineItem({1})->text(0), "Isi Buku");
    ASSERT_EQ(outlineItem({1})->childCount(), 52); // a chapter every eight pages after twelve of front matter
    EXPECT_TRUE(outlineItem({1, 2})->text(0).startsWith("Bab 3: "));

    const struct {
        int page;
        std::vector<int> marked;
    } cases[] = {
        {0, {0, 0}}, // the title page's entry rather than the front matter it opens
        {1, {0, 1}}, {11, {0, 1}}, {12, {1, 0}}, {19, {1, 0}}, {20, {1, 1}}, {423, {1, 51}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        view(0)->SetPageIndex(c.page);
        QCoreApplication::processEvents(); // the marks follow the painted page
        EXPECT_EQ(tree->currentItem(), outlineItem(c.marked));
        EXPECT_EQ(side().thumbnailStrip->currentIndex().row(), c.page);
    }
    view(0)->SetPageIndex(27);
    reader.btnNextClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(tree->currentItem(), outlineItem({1, 2}));
}

TEST_F(SidePanel, AnOutlineEntryOrAThumbnailGoesToItsPage) {
    ASSERT_EQ(borrow(LongBook), 0);
    panel->btnSidePanel->click();
    QTreeWidget *tree = side().outlineTree;
    QTreeWidgetItem *chapter = outlineItem({1, 4});
    tree->scrollToItem(chapter);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(chapter).center());
    EXPECT_EQ(view(0)->PageIndex(), 12 + 4 * 8);

    ThumbnailStrip *strip = side().thumbnailStrip;
    const QModelIndex thumbnail = strip->model()->index(37, 0);
    strip->scrollTo(thumbnail);
    QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, strip->visualRect(thumbnail).center());
    EXPECT_EQ(view(0)->PageIndex(), 37);
    QCoreApplication::processEvents();
    EXPECT_EQ(tree->currentItem(), outlineItem({1, 3}));
}

TEST_F(SidePanel, TheStripAsksForThePagesInViewAndThoseAroundNotTheWholeBook) {
    ASSERT_EQ(borrow(LongBook), 0);
    view(0)->SetPageIndex(200);
    panel->btnSidePanel->click();
    QCoreApplication::processEvents();
    const auto [first, last] = side().thumbnailStrip->pagesInView();
    ASSERT_LE(first, 200);
    ASSERT_GE(last, 200);
    thumbnails(0).waitUntilIdle();
    for (int page = first; page <= last; ++page)
        EXPECT_FALSE(thumbnails(0).thumbnail(page).isNull()) << page;
    EXPECT_FALSE(thumbnails(0).thumbnail(last + 1).isNull());
    EXPECT_TRUE(thumbnails(0).thumbnail(0).isNull());
    EXPECT_TRUE(thumbnails(0).thumbnail(423).isNull());
    EXPECT_LE(thumbnails(0).heldBytes(), ThumbnailStrip::thumbnailByteCap());
    // What arrives is shown in the strip in place of the blank frame.
    QCoreApplication::processEvents();
    const QImage shown =
        side().thumbnailStrip->model()->index(200, 0).data(Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(shown, thumbnails(0).thumbnail(200));
}

TEST_F(SidePanel, ABookWithoutAnOutlineShowsItsThumbnailsAlone) {
    ASSERT_EQ(borrow(ShortBook), 0);
    panel->btnSidePanel->click();
    EXPECT_FALSE(side().outlineTree->isVisible());
    EXPECT_TRUE(side().thumbnailStrip->isVisible());
    EXPECT_EQ(side().thumbnailStrip->model()->rowCount(), view(0)->GetPageCount());
    EXPECT_TRUE(processUntil([&] { return !thumbnails(0).thumbnail(0).isNull(); }));
}

TEST_F(SidePanel, ReturningABookDropsItsQueuedThumbnailsAndFreesThem) {
    ASSERT_EQ(borrow(LongBook), 0);
    ASSERT_EQ(borrow(ShortBook), 1);
    show(0);
    panel->btnSidePanel->click();
    std::weak_ptr<SidePanelBook> kept = settings(0).SidePanel;
    std::vector<int> everyPage(424);
    std::iota(everyPage.begin(), everyPage.end(), 0);
    thumbnails(0).request(everyPage); // plenty still waiting when the book goes
    returnActive();
    EXPECT_TRUE(kept.expired());
    EXPECT_EQ(side().shownBook(), nullptr);
    EXPECT_EQ(side().thumbnailStrip->model()->rowCount(), 0);
    // The news of thumbnails made before the return is dropped with the book.
    QCoreApplication::processEvents();
    EXPECT_EQ(side().thumbnailStrip->model()->rowCount(), 0);
    // The other book's panel is as it was left: hidden.
    EXPECT_EQ(panel->PageControl1->currentIndex(), 1);
    EXPECT_FALSE(side().isVisible());
}
