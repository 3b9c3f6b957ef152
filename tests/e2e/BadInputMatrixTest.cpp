// The member's side against a service that goes wrong: unreachable, answering with what is no reply,
// sending a broken book or a stored annotation document that cannot be read, a title full of markup, or
// never answering at all. Each row shows the member a message, leaves the window usable and leaves
// nothing half-done: no loan open at the service without its page, no annotation document lost, no
// file left half-written.
#include "ClientHarness.h"
#include "ClientWindowSteps.h"
#include "annotations/BookDocuments.h"
#include "app/AppGlobals.h"
#include "app/ClientStartup.h"
#include "app/FormMain.h"
#include "bridge/ProgramState.h"
#include "browser/ChromiumView.h"
#include "devserver/Database.h"
#include "devserver/Faults.h"
#include "devserver/SampleContent.h"
#include "dialogs/FormInfoBuku.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

#include <optional>

namespace {

using devserver::Delivery;
using devserver::RawReply;
using e2e::evaluate;
using e2e::processUntil;
using e2e::waitForPage;

// Calls that get no answer end by then; long enough for every local call that does get one.
constexpr long ShortDeadlineMs = 3000;

// The matrix's own service, which a row may take down and bring back on the same port.
class Service {
public:
    static Service &instance() {
        static Service service;
        return service;
    }
    e2e::RunningService &running() { return *current; }
    devserver::Database &db() { return current->server().database(); }
    void goDown() { current.reset(); }
    void comeBack() { current.emplace(e2e::serviceFolder(), devserver::VersionPolicy::Current, port); }
    ServiceEndpoint endpoint(long deadlineMs) const {
        ServiceEndpoint endpoint = current->endpoint();
        endpoint.deadlineMs = deadlineMs;
        return endpoint;
    }

private:
    Service() : current(std::in_place, e2e::serviceFolder(), devserver::VersionPolicy::Current) {
        port = current->server().port();
    }
    std::optional<e2e::RunningService> current;
    int port = 0;
};

class BadInputMatrix : public ::testing::Test, protected e2e::ClientWindowSteps {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    Service &service = Service::instance();

    void SetUp() override {
        service.running().server().clearRawFaults();
        devserver::clearFaults(service.db());
        // A row that failed earlier may have left a loan open; each test starts with none.
        service.db().run("UPDATE loans SET ended = datetime('now'), end_reason = 'test' WHERE ended IS NULL");
    }
    void TearDown() override {
        if (window) {
            window->reader().releaseAll();
            window->close();
            window.reset();
        }
        service.running().server().clearRawFaults();
    }

    void start(long deadlineMs = ShortDeadlineMs) {
        window = startClient({service.endpoint(deadlineMs), [](const QString &) {}});
        ASSERT_TRUE(window);
        window->showMaximized();
        ASSERT_TRUE(waitForFreshLoginPage());
    }
    bool waitForFreshLoginPage() {
        return waitForPage(view(LibraryView::Chromium1), QStringLiteral("login.html"),
                           QStringLiteral("!window.replaced && document.getElementById('email') && "
                                          "document.getElementById('email').value === ''"));
    }
    void submitLogin() {
        const devserver::SampleMember &member = devserver::sampleMembers().front();
        markReplaced(LibraryView::Chromium1);
        evaluate(view(LibraryView::Chromium1),
                 QStringLiteral("document.getElementById('email').value = '%1';"
                                "document.getElementById('kata_sandi').value = '%2';"
                                "$('#login_form').submit();")
                     .arg(QString::fromStdString(member.username), QString::fromStdString(member.password)));
    }
    void logIn() {
        submitLogin();
        ASSERT_TRUE(waitForPage(
            view(LibraryView::Chromium1), QStringLiteral("index.html"),
            QStringLiteral("!window.replaced && document.querySelectorAll('.section-item').length > 0")));
    }
    // The first book of the home page, its detail page in front.
    void openDetail() {
        markReplaced(LibraryView::Chromium3);
        click(LibraryView::Chromium1, "[onclick^='app.detail(']");
        ASSERT_TRUE(waitForDetailPage());
    }
    bool waitForDetailPage() {
        return waitForPage(view(LibraryView::Chromium3), QStringLiteral("detail.html"),
                           QStringLiteral("!window.replaced && document.querySelector('.btn-baca')")) &&
               processUntil([&] { return inFront(LibraryView::Chromium3); });
    }
    std::string detailValue(const char *key) const {
        return replyText(replyData(RuvasaLib->FDetailContentJson.load()), key);
    }
    void clickBaca() {
        markReplaced(LibraryView::Chromium3);
        click(LibraryView::Chromium3, ".btn-baca");
    }
    // Borrows the book whose detail page is shown; true once its page is in front.
    bool borrow() {
        clickBaca();
        return processUntil([&] {
            return window->reader().activeView() && window->areas->currentWidget() == window->PanelReader;
        });
    }
    void returnBook() {
        boxes.answers.push_back(MsgAnswer::Yes);
        window->PanelReader->btnReturn->click();
    }
    bool waitForBox(std::size_t count) {
        return processUntil([&] { return boxes.shown.size() >= count; });
    }
    long long openLoans() {
        return service.db().queryOne("SELECT COUNT(*) FROM loans WHERE ended IS NULL")->integer(0);
    }
    std::vector<std::string> apiPathsSince(long long since) {
        std::vector<std::string> paths = e2e::recordedPaths(service.running().endpoint(), since);
        std::erase_if(paths, [](const std::string &path) { return path.rfind("/api/", 0) != 0; });
        return paths;
    }
    bool noBookOpen() const {
        return window->library().state.readCount == 0 && !window->reader().anyBookOpen() &&
               !window->PanelReader->PageControl1->isTabVisible(0);
    }
    // The data folder holds no leftover of a borrowing: no annotation file, no half-written file.
    QStringList leftovers() const {
        QStringList found;
        for (const QString &name : QDir(QString::fromStdString(RuvasaLib->FPath)).entryList(QDir::Files))
            if (name.startsWith(QLatin1String("tempAnnot")) || name.contains(QLatin1String(".tmp")) ||
                name.contains(QLatin1String("XXXXXX")))
                found << name;
        return found;
    }
};

// A login that meets an unreachable service, an HTML page or silence is told so, and the login page
// comes back empty; the next login, once the service is itself again, opens the library.
TEST_F(BadInputMatrix, LoginThatFailsShowsWhyAndOffersTheLoginAgain) {
    start();
    struct Row {
        const char *name;
        std::function<void()> breakService;
        const char *messageHas;
    };
    const Row rows[] = {
        {"unreachable", [&] { service.goDown(); }, ""},
        {"HTML page with status 200",
         [&] {
             service.running().server().setRawFault(
                 "/api/wl/executeLogin",
                 {Delivery::Whole, 200, "text/html", "<html><body><h1>502 Bad Gateway</h1></body></html>"});
         },
         "not a JSON object"},
        {"nulls where text is expected",
         [&] {
             service.running().server().setRawFault(
                 "/api/wl/executeLogin",
                 {Delivery::Whole, 200, "application/json", R"({"code":null,"msg":null,"data":null})"});
         },
         "code"},
        {"never answers",
         [&] {
             service.running().server().setRawFault("/api/wl/executeLogin", {Delivery::Never, 200, "", ""});
         },
         "Timeout was reached"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        row.breakService();
        const std::size_t before = boxes.shown.size();
        submitLogin();
        ASSERT_TRUE(waitForBox(before + 1));
        EXPECT_EQ(boxes.shown.back().kind, MsgKind::Warning);
        EXPECT_TRUE(boxes.shown.back().text.startsWith(QStringLiteral(" #387 ")))
            << boxes.shown.back().text.toStdString();
        EXPECT_TRUE(boxes.shown.back().text.contains(QLatin1String(row.messageHas)))
            << boxes.shown.back().text.toStdString();
        EXPECT_TRUE(waitForFreshLoginPage());
        EXPECT_FALSE(window->PanelHeader->isVisible());
        EXPECT_FALSE(window->library().state.FTaskControl);
        if (std::string(row.name) == "unreachable")
            service.comeBack();
        service.running().server().clearRawFaults();
    }
    logIn();
    EXPECT_TRUE(window->PanelHeader->isVisible());
}

// A borrowing that fails at any step shows why and takes nothing: no page, no loan left open at the
// service; a book the engine refuses is given back at once. The same book then opens when all is well.
TEST_F(BadInputMatrix, ABorrowingThatFailsTakesNothingAndSaysWhy) {
    start();
    logIn();
    openDetail();
    const std::string bookPath = "/pc/rvs/" + detailValue("nama_pc_file");
    FixturePage signature;
    signature.content = fixtureText(72, 700, 12, "Halaman bertanda tangan");
    signature.annots = {FixtureSignatureField};
    FixturePage plain;
    plain.content = fixtureText(72, 700, 12, "Halaman dengan lampiran");
    const std::string withAttachment =
        buildFixturePdf({plain}, "/Names << /EmbeddedFiles << /Names [(a.txt) << /Type /Filespec >>] >> >>");
    const std::string book = buildBookPdf(3);

    struct Row {
        const char *name;
        std::function<void()> breakService;
        MsgKind kind;
        const char *messageStarts;
        bool loanGivenBack; // the service granted the loan and the client has to end it
    };
    auto bookAs = [&](RawReply reply) {
        return [&, reply] { service.running().server().setRawFault(bookPath, reply); };
    };
    const Row rows[] = {
        {"unreachable", [&] { service.goDown(); }, MsgKind::Error, "Request Error #671: ", false},
        {"download cut off halfway", bookAs({Delivery::Cut, 200, "application/pdf", book}), MsgKind::Error,
         "Request Error #671: ", false},
        {"0-byte book", bookAs({Delivery::Whole, 200, "application/pdf", ""}), MsgKind::Error,
         "Jaringan Error dengan Status : 200", false},
        {"download never answers", bookAs({Delivery::Never, 200, "", ""}), MsgKind::Error,
         "Request Error #671: Timeout was reached", false},
        {"not a PDF",
         bookAs({Delivery::Whole, 200, "application/pdf", "PK\x03\x04 ini arsip zip, bukan buku"}),
         MsgKind::Error, "Error Exception #1287 : ", true},
        {"embedded file", bookAs({Delivery::Whole, 200, "application/pdf", withAttachment}), MsgKind::Error,
         "Error Exception #1287 : Function Attachment not supported", true},
        {"signature field", bookAs({Delivery::Whole, 200, "application/pdf", buildFixturePdf({signature})}),
         MsgKind::Error, "Error Exception #1287 : Function Digital_Signature not supported", true},
        {"loan reply is an HTML page",
         [&] {
             service.running().server().setRawFault(
                 "/api/wl/requestBaca",
                 {Delivery::Whole, 200, "text/html; charset=utf-8", "<html>Maintenance</html>"});
         },
         MsgKind::Warning, "The service's reply is not a JSON object", false},
        {"loan request never answered",
         [&] {
             service.running().server().setRawFault("/api/wl/requestBaca", {Delivery::Never, 200, "", ""});
         },
         MsgKind::Warning, "Timeout was reached", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        row.breakService();
        const long long since =
            std::string(row.name) == "unreachable" ? 0 : e2e::lastRequestId(service.running().endpoint());
        const std::size_t before = boxes.shown.size();
        clickBaca();
        ASSERT_TRUE(waitForBox(before + 1));
        EXPECT_EQ(boxes.shown[before].kind, row.kind);
        EXPECT_TRUE(boxes.shown[before].text.startsWith(QLatin1String(row.messageStarts)))
            << boxes.shown[before].text.toStdString();
        if (std::string(row.name) == "unreachable")
            service.comeBack();
        EXPECT_TRUE(waitForDetailPage()); // the member can try again from where they were
        EXPECT_TRUE(noBookOpen());
        if (row.loanGivenBack) {
            EXPECT_TRUE(processUntil([&] {
                const std::vector<std::string> paths = apiPathsSince(since);
                return std::find(paths.begin(), paths.end(), "/api/wl/bookReturn") != paths.end();
            }));
        }
        EXPECT_TRUE(processUntil([&] { return openLoans() == 0; }));
        EXPECT_EQ(boxes.shown.size(), before + 1) << boxes.shown.back().text.toStdString();
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
        service.running().server().clearRawFaults();
    }
    ASSERT_TRUE(borrow());
    EXPECT_EQ(window->library().state.readCount, 1);
    EXPECT_EQ(openLoans(), 1);
    returnBook();
    EXPECT_TRUE(processUntil([&] { return noBookOpen() && openLoans() == 0; }));
}

// A signature field on a later page: the book opens, and the engine's refusal comes when the member
// reaches that page, by turning to it or by a search walking past it. Each time the member gets one
// message, the loan ends at the service with the annotations made so far, the page goes, and the window
// goes on working.
TEST_F(BadInputMatrix, ASignatureFieldOnALaterPageEndsTheLoanWithOneMessage) {
    start();
    logIn();
    openDetail();
    const std::string idKonten = detailValue("id");
    service.running().server().setRawFault(
        "/pc/rvs/" + detailValue("nama_pc_file"),
        {Delivery::Whole, 200, "application/pdf", buildBookSignedOnPageTwo()});
    ReaderPanel *panel = window->PanelReader;
    struct Row {
        const char *name;
        std::function<void()> reachPageTwo;
    };
    const Row rows[] = {
        {"turning the page", [&] { panel->btnNext->click(); }},
        {"searching a phrase of page 3",
         [&] {
             panel->edSearch->setText(QStringLiteral("kunang-kunang"));
             panel->btnSearchNext->click();
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        window->btnLibrary->click(); // back to the detail page, which the reader had covered
        ASSERT_TRUE(waitForDetailPage());
        const std::size_t before = boxes.shown.size();
        ASSERT_TRUE(borrow()) << (boxes.shown.empty() ? "" : boxes.shown.back().text.toStdString());
        EXPECT_EQ(boxes.shown.size(), before);
        TReaderSettings *settings = window->reader().activeSettings();
        ASSERT_TRUE(settings);
        settings->AnnotationObject["data"].push_back({{"page", 0}, {"type", "note"}, {"text", row.name}});
        const long long since = e2e::lastRequestId(service.running().endpoint());

        row.reachPageTwo();
        ASSERT_TRUE(waitForBox(before + 1));
        EXPECT_EQ(boxes.shown[before].kind, MsgKind::Error);
        EXPECT_TRUE(boxes.shown[before].text.startsWith(
            QStringLiteral("Error Exception #1287 : Function Digital_Signature not supported\n")))
            << boxes.shown[before].text.toStdString();
        EXPECT_TRUE(processUntil([&] { return noBookOpen() && openLoans() == 0; }));
        EXPECT_EQ(apiPathsSince(since), (std::vector<std::string>{"/api/wl/bookReturn", "/api/wl/saveAnotasi",
                                                                  "/api/wl/copyText"}));
        const std::string stored =
            service.db()
                .queryOne("SELECT document FROM annotations WHERE book_id = ? ORDER BY id DESC LIMIT 1",
                          {idKonten})
                ->text(0);
        EXPECT_NE(stored.find(row.name), std::string::npos) << stored;
        EXPECT_EQ(boxes.shown.size(), before + 1) << boxes.shown.back().text.toStdString();
    }
    service.running().server().clearRawFaults();
    window->btnLibrary->click();
    ASSERT_TRUE(waitForDetailPage());
    ASSERT_TRUE(borrow());
    EXPECT_EQ(openLoans(), 1);
    returnBook();
    EXPECT_TRUE(processUntil([&] { return noBookOpen() && openLoans() == 0; }));
    service.db().run("DELETE FROM annotations WHERE book_id = ?", {idKonten});
}

// A return that cannot reach the service keeps the book and its annotations open for another try.
TEST_F(BadInputMatrix, AReturnThatCannotReachTheServiceKeepsTheBook) {
    start();
    logIn();
    openDetail();
    ASSERT_TRUE(borrow());
    service.goDown();
    returnBook();
    ASSERT_TRUE(waitForBox(2)); // the question, then the failure
    EXPECT_EQ(boxes.shown[1].kind, MsgKind::Warning);
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("Buku gagal dikembalikan : ")))
        << boxes.shown[1].text.toStdString();
    EXPECT_EQ(window->library().state.readCount, 1);
    ASSERT_TRUE(window->reader().activeView());
    EXPECT_TRUE(window->reader().activeView()->isEnabled());
    service.comeBack();
    EXPECT_EQ(openLoans(), 1);
    returnBook();
    EXPECT_TRUE(processUntil([&] { return noBookOpen() && openLoans() == 0; }));
}

// The five-minute report: while reading, a failed report goes unnoticed and the cycle goes on; the last
// report of an idle book must reach the service before the page goes, or the loan would stay open there.
TEST_F(BadInputMatrix, TheIdleReturnWaitsUntilTheServiceHasTakenTheBook) {
    start();
    logIn();
    openDetail();
    ASSERT_TRUE(borrow());
    TReaderController &reader = window->reader();
    TReaderSettings *settings = reader.activeSettings();
    ASSERT_TRUE(settings);
    auto report = [&] {
        while (!settings->TimerTask)
            reader.readingTimeTick(settings->TimerChecking);
        return processUntil([&] { return !settings->TimerTask; });
    };

    service.goDown();
    ASSERT_TRUE(report()); // status "1", unanswered
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(settings->TimerChecking->isActive());

    while (settings->ReadStatus != 0)
        reader.readingTimeTick(settings->TimerIdle);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(report()); // status "0", unanswered: the book stays, the member is told once
        ASSERT_EQ(reader.activeSettings(), settings);
        EXPECT_EQ(window->library().state.readCount, 1);
        EXPECT_TRUE(settings->TimerChecking->isActive());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, MsgKind::Warning);
        EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Buku gagal dikembalikan : ")));
    }

    service.comeBack();
    ASSERT_TRUE(report());
    EXPECT_TRUE(noBookOpen());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(
        boxes.shown[1].text,
        QStringLiteral("Buku otomatis kembali ke rak , karena telah mencapai waktu idle selama 30-menit"));
    EXPECT_EQ(openLoans(), 0);
}

// Stored annotations that cannot be read (garbage, nested beyond any reader, or no place to put them in
// the data folder): the book opens without them, the member is told, and the return leaves the stored
// document as it was rather than replacing it with this loan's empty one.
TEST_F(BadInputMatrix, UnreadableStoredAnnotationsOpenTheBookAndStayStored) {
    start();
    logIn();
    openDetail();
    const std::string idKonten = detailValue("id");
    const QString folder = QString::fromStdString(RuvasaLib->FPath);
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    struct Row {
        const char *name;
        std::string document;
        bool folderBlocked; // "tempAnnot.json" is taken by a folder
    };
    const Row rows[] = {
        {"garbage", "{\"id_konten\": \"" + idKonten + "\", \"data\": [ \x01\xff garbage", false},
        {"nested 100,000 deep", "{\"id_konten\":\"" + idKonten + "\",\"data\":" + deep + "}", false},
        {"no place in the data folder", "{\"id_konten\":\"" + idKonten + "\",\"data\":[]}", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const long long id =
            service.db()
                .queryOne(
                    "INSERT INTO annotations (id_user, book_id, document) SELECT id_user, ?, ? FROM members "
                    "WHERE username = ? RETURNING id",
                    {idKonten, row.document, devserver::sampleMembers().front().username})
                ->integer(0);
        if (row.folderBlocked) {
            ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("tempAnnot.json/held")));
        }
        window->btnLibrary->click(); // back to the detail page, which the reader had covered
        ASSERT_TRUE(waitForDetailPage());
        const std::size_t before = boxes.shown.size();
        ASSERT_TRUE(borrow()) << (boxes.shown.empty() ? "" : boxes.shown.back().text.toStdString());
        ASSERT_TRUE(waitForBox(before + 1));
        EXPECT_EQ(boxes.shown[before].kind, MsgKind::Warning);
        EXPECT_TRUE(boxes.shown[before].text.startsWith(
            QStringLiteral("Anotasi dari peminjaman sebelumnya tidak dapat dimuat : ")))
            << boxes.shown[before].text.toStdString();
        const TReaderSettings *settings = window->reader().activeSettings();
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->AnnotationObject, emptyBookDocument(idKonten));
        EXPECT_TRUE(row.folderBlocked || leftovers().isEmpty()) << leftovers().join(' ').toStdString();

        const long long since = e2e::lastRequestId(service.running().endpoint());
        returnBook();
        ASSERT_TRUE(processUntil([&] { return noBookOpen(); }));
        EXPECT_EQ(apiPathsSince(since), (std::vector<std::string>{"/api/wl/bookReturn", "/api/wl/copyText"}));
        const devserver::SqlRow latest = *service.db().queryOne(
            "SELECT id, document FROM annotations WHERE book_id = ? ORDER BY id DESC LIMIT 1", {idKonten});
        EXPECT_EQ(latest.integer(0), id);
        EXPECT_EQ(latest.text(1), row.document);
        if (row.folderBlocked) {
            ASSERT_TRUE(QDir(folder + QStringLiteral("/tempAnnot.json")).removeRecursively());
        }
        EXPECT_EQ(openLoans(), 0);
    }
    service.db().run("DELETE FROM annotations WHERE book_id = ?", {idKonten});
}

// A loan reply with nulls where text is expected: no address of stored annotations means none are
// stored, so the book opens without a warning and its annotations go back with it; the loan it could
// not name is refused by the service at the return, which closes the page all the same.
TEST_F(BadInputMatrix, ALoanReplyWithNullsOpensTheBookAsOneWithoutStoredAnnotations) {
    start();
    logIn();
    openDetail();
    service.running().server().setRawFault(
        "/api/wl/requestBaca",
        {Delivery::Whole, 200, "application/json",
         R"({"code":"200","msg":null,"id_baca":null,"page_index":null,"file_anotasi":null,"rate":null})"});
    ASSERT_TRUE(borrow());
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text.toStdString();
    ASSERT_TRUE(window->reader().activeSettings());
    EXPECT_FALSE(window->reader().activeSettings()->StoredAnnotationsMissing);
    const long long since = e2e::lastRequestId(service.running().endpoint());
    returnBook();
    EXPECT_TRUE(processUntil([&] { return noBookOpen(); }));
    EXPECT_EQ(apiPathsSince(since),
              (std::vector<std::string>{"/api/wl/bookReturn", "/api/wl/saveAnotasi", "/api/wl/copyText"}));
    EXPECT_EQ(openLoans(), 0);
}

// A title made of markup, quotes and "&" is shown as it is: on the detail page, in the book's tab,
// in its information window, in the idle notice and in message boxes.
TEST_F(BadInputMatrix, ATitleFullOfMarkupIsShownAsItIs) {
    start();
    logIn();
    openDetail();
    const std::string idKonten = detailValue("id");
    const std::string oldTitle = detailValue("judul");
    const QString title =
        QStringLiteral("Tom & Jerry <b>\"tebal\"</b> <script>window.hacked=1</script> 'x' &amp;");
    service.db().run("UPDATE books SET judul = ? WHERE id = ?", {title.toStdString(), idKonten});
    click(LibraryView::Chromium3, "[onclick='app.back()']");
    ASSERT_TRUE(processUntil([&] { return inFront(LibraryView::Chromium1); }));
    openDetail();
    EXPECT_TRUE(evaluate(view(LibraryView::Chromium3),
                         QStringLiteral("document.body.innerText.includes(%1) && !window.hacked")
                             .arg(QStringLiteral("'%1'").arg(QString(title).replace("'", "\\'"))))
                    .toBool());

    ASSERT_TRUE(borrow());
    ReaderPanel *panel = window->PanelReader;
    EXPECT_EQ(panel->PageControl1->tabText(0),
              QString(title).replace(QStringLiteral("&"), QStringLiteral("&&")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("PERPUS KELVARA"));

    panel->btnInfo->click();
    ASSERT_TRUE(window->FormInfoBuku->isVisible());
    EXPECT_EQ(window->FormInfoBuku->panelJudul->text(), QStringLiteral("  ") + title);
    EXPECT_EQ(window->FormInfoBuku->panelJudul->textFormat(), Qt::PlainText);
    window->FormInfoBuku->close();

    TReaderSettings *settings = window->reader().activeSettings();
    ASSERT_TRUE(settings);
    while (!panel->lblIdleNotice->isVisibleTo(panel))
        window->reader().readingTimeTick(settings->TimerIdle);
    EXPECT_TRUE(panel->lblIdleNotice->text().contains(title)) << panel->lblIdleNotice->text().toStdString();
    EXPECT_EQ(panel->lblIdleNotice->textFormat(), Qt::PlainText);

    returnBook();
    EXPECT_TRUE(processUntil([&] { return noBookOpen(); }));
    service.db().run("UPDATE books SET judul = ? WHERE id = ?", {oldTitle, idKonten});
}

// A call the service never answers: with the real deadline far off, closing the window ends it at once,
// while the service still holds the request.
TEST_F(BadInputMatrix, ClosingIsNotHeldUpByACallThatNeverEnds) {
    start(ServiceEndpoint().deadlineMs);
    service.running().server().setRawFault("/api/wl/executeLogin", {Delivery::Never, 200, "", ""});
    const long long since = e2e::lastRequestId(service.running().endpoint());
    submitLogin();
    ASSERT_TRUE(processUntil([&] { return !apiPathsSince(since).empty(); }));
    EXPECT_TRUE(window->library().state.FTaskControl);
    const QString dataFolder = QString::fromStdString(RuvasaLib->FPath);
    EXPECT_TRUE(window->close());
    window.reset();
    EXPECT_FALSE(QDir(dataFolder).exists());
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
