// The dispatch of the pages' messages against a recording window. The service client points at a
// closed loopback port, so every request fails fast with the client's own failure reply.
#include "bridge/LibraryController.h"
#include "RecordingLibraryWindow.h"
#include "bridge/ProgramState.h"
#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"
#include "tests/service/ServiceTestBed.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <map>

namespace {

using Args = std::vector<ProcessArgument>;

template <typename Pred> bool processUntil(Pred done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// The controller against a recording window, talking to the service `Service` stands for.
template <typename Service> class ControllerTest : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    Service service;
    TRuvasaLib &lib = service.lib;
    RecordingLibraryWindow window;
    ProgramState state;
    TLibraryController controller{window, lib, state};

    void TearDown() override {
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
    }

    void send(const std::string &name, Args args = {}, LibraryView source = LibraryView::Chromium1) {
        controller.ProcessMessageReceived(window.at(source), ProcessMessage{name, std::move(args)});
    }
    // Waits until the running task's completion has run.
    bool settle() {
        return processUntil([this] { return !state.FTaskControl; });
    }
    std::string loading() const { return controller.localPageUrl("loading.html"); }
    std::string login() const { return controller.localPageUrl("login.html"); }
};

// A service client pointing at a closed loopback port: every request fails fast.
struct UnreachableService {
    TRuvasaLib lib{ServiceEndpoint{"https://127.0.0.1:9", ""}};
};

class LibraryController : public ControllerTest<UnreachableService> {};

struct RefusedInput {
    const char *label;
    std::string name;
    Args args;
    int openBooks;
    bool searchRunning;
    MsgKind kind;
    const char *text;
};

TEST_F(LibraryController, InputChecksShowTheirMessageAndChangeNothing) {
    const std::vector<RefusedInput> cases = {
        {"login without password",
         "login",
         {std::string("ani"), std::string()},
         0,
         false,
         MsgKind::Error,
         "Nama Pengguna Dan Kata Sandi Wajib Diisi"},
        {"login without user",
         "login",
         {std::string(), std::string("pw")},
         0,
         false,
         MsgKind::Error,
         "Nama Pengguna Dan Kata Sandi Wajib Diisi"},
        {"empty keyword, even while searching",
         "searching",
         {std::string(), std::string("Judul"), 1},
         0,
         true,
         MsgKind::Warning,
         "Kata Kunci Pencarian Wajib Diisi"},
        {"search already running",
         "searching",
         {std::string("fisika"), std::string("Judul"), 1},
         0,
         true,
         MsgKind::Information,
         "Harap Tunggu..Sedang Memproses Pencarian Sebelumnya"},
        {"sentence of two letters",
         "searching",
         {std::string("ab"), std::string("Kalimat"), 1},
         0,
         false,
         MsgKind::Warning,
         "Minimal masukkan 3-huruf"},
        {"baca over the limit",
         "baca",
         {std::string("7")},
         3,
         false,
         MsgKind::Warning,
         "Anda melebihi batas baca sebanyak 3 Buku"},
        {"bacaSection over the limit",
         "bacaSection",
         {std::string("7")},
         3,
         false,
         MsgKind::Warning,
         "Anda melebihi batas baca sebanyak 3 Buku"},
        {"bacaKalimat over the limit",
         "bacaKalimat",
         {std::string("7"), std::string("12")},
         3,
         false,
         MsgKind::Warning,
         "Anda melebihi batas baca sebanyak 3 Buku"},
    };
    for (const RefusedInput &c : cases) {
        SCOPED_TRACE(c.label);
        boxes.shown.clear();
        state.readCount = c.openBooks;
        state.isSearchRunning = c.searchRunning;
        send(c.name, c.args);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, c.kind);
        EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.text));
        EXPECT_FALSE(state.FTaskControl);
        EXPECT_EQ(window.navigationCount(), 0u);
        EXPECT_EQ(window.frontChanges, 0);
        EXPECT_TRUE(state.KalimatPencarian.empty());
    }
}

TEST_F(LibraryController, BackFamilyOnlySwitchesViews) {
    const std::vector<std::pair<std::string, LibraryView>> cases = {
        {"backToSection", LibraryView::Chromium2}, {"backToCategory", LibraryView::Chromium5},
        {"backKategori", LibraryView::Chromium4},  {"backToChart", LibraryView::Chromium6},
        {"backToSearch", LibraryView::Chromium7},  {"back", LibraryView::Chromium1},
    };
    for (const auto &[name, view] : cases) {
        send(name);
        EXPECT_EQ(window.front, view) << name;
    }
    EXPECT_EQ(window.navigationCount(), 0u);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(state.FTaskControl);
}

TEST_F(LibraryController, MessagesWithoutTaskActAtOnce) {
    send("forgotPassRequest", {std::string("a@b.c")});
    send("noSuchMessage");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(window.frontChanges, 0);

    send("account");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Information);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Under Construction"));

    send("register");
    send("forgotPass", {std::string("forgotPass")});
    send("openBanner", {std::string("https://example.org/promo")});
    EXPECT_EQ(window.registrations, 1);
    EXPECT_EQ(window.passwordResets, 1);
    EXPECT_EQ(window.opened, std::vector<QString>{QStringLiteral("https://example.org/promo")});
    EXPECT_EQ(window.navigationCount(), 0u);
}

TEST_F(LibraryController, LoadMoreWhenAllSectionsAreShownOnlyHidesTheButton) {
    state.TotalHomeContent = 4;
    state.CountHomeContent = 4;
    state.PageHome = 2;
    send("loadMore", {}, LibraryView::Chromium2);
    EXPECT_EQ(window.at(LibraryView::Chromium2).scripts, std::vector<std::string>{"$(\"#btnMore\").hide()"});
    EXPECT_TRUE(window.at(LibraryView::Chromium1).scripts.empty());
    EXPECT_EQ(state.PageHome, 2);
    EXPECT_FALSE(state.FTaskControl);
}

TEST_F(LibraryController, LogoutCancelledDoesNothing) {
    boxes.answers.push_back(MsgAnswer::Cancel);
    send("logout");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Keluar dari akun anda?"));
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.navigationCount(), 0u);
}

TEST_F(LibraryController, LogoutShowsTheLoginPageEvenWhenTheCallFails) {
    window.headerVisible = true;
    window.front = LibraryView::Chromium5;
    send("logout");
    ASSERT_TRUE(processUntil([&] { return !window.at(LibraryView::Chromium1).navigations.empty(); }));
    EXPECT_EQ(window.at(LibraryView::Chromium1).last(), login());
    EXPECT_EQ(window.front, LibraryView::Chromium1);
    EXPECT_FALSE(window.headerVisible);
    EXPECT_EQ(boxes.shown.size(), 1u); // the confirmation only
}

TEST_F(LibraryController, BacaStartsTheDownloadOfTheHeldDetail) {
    lib.FDetailContentJson.store(std::make_shared<const JsonDocument>(
        JsonDocument::parse(R"({"code":"200","data":{"id_konten":"7","nama_pc_file":"buku-7.pdf"}})")));
    send("baca", {std::string("7")});
    EXPECT_EQ(window.downloads, std::vector<std::string>{"buku-7.pdf"});
    EXPECT_EQ(window.front, LibraryView::Chromium3);
    EXPECT_EQ(window.at(LibraryView::Chromium3).last(), loading());
}

// A book already open is brought to the front, even with three books out: nothing is downloaded, no
// view changes and no box is shown.
TEST_F(LibraryController, ReadingABookAlreadyOpenBringsItsPageToTheFront) {
    lib.FDetailContentJson.store(std::make_shared<const JsonDocument>(
        JsonDocument::parse(R"({"code":"200","data":{"id":"7","nama_pc_file":"buku-7.pdf"}})")));
    window.openBooks = {"7"};
    struct Case {
        const char *name;
        Args args;
        int page;
    };
    const Case cases[] = {
        {"baca", {std::string("7")}, 0},
        {"bacaSection", {std::string("7")}, 0},
        {"bacaKalimat", {std::string("7"), std::string("40")}, 40},
    };
    for (const int open : {1, 3}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + " with " + std::to_string(open) + " open");
            state.readCount = open;
            window.shownBooks.clear();
            send(c.name, c.args);
            EXPECT_EQ(window.shownBooks, (std::vector<std::pair<std::string, int>>{{"7", c.page}}));
        }
    }
    EXPECT_TRUE(window.downloads.empty());
    EXPECT_EQ(window.navigationCount(), 0u);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(state.FTaskControl);
}

TEST_F(LibraryController, BacaKalimatWithAPageThatIsNoNumberStartsNothing) {
    send("bacaKalimat", {std::string("7"), std::string("12a")});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_FALSE(state.FTaskControl);
    EXPECT_EQ(window.navigationCount(), 0u);
}

TEST_F(LibraryController, RefusedLoginWarnsAndBringsBackAFreshLoginPage) {
    send("login", {std::string("ani"), std::string("rahasia")});
    EXPECT_EQ(window.at(LibraryView::Chromium1).last(), loading());
    ASSERT_TRUE(state.FTaskControl);
    ASSERT_TRUE(settle());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Warning);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral(" #387 ")))
        << boxes.shown[0].text.toStdString();
    EXPECT_EQ(window.at(LibraryView::Chromium1).last(), login());
    EXPECT_FALSE(window.headerVisible);
    EXPECT_TRUE(lib.FToken.empty());
}

struct FailedFetch {
    std::string name;
    Args args;
    LibraryView view;
    LibraryView frontAfter; // the detail and search views keep their loading page in front
};

TEST_F(LibraryController, FailedFetchShowsTheMessageAndTheRightView) {
    const std::vector<FailedFetch> cases = {
        {"homeDetail",
         {std::string("3"), std::string("Terbaru")},
         LibraryView::Chromium2,
         LibraryView::Chromium1},
        {"kategoriKonten",
         {std::string("1"), std::string("2"), std::string("1"), std::string("Fisika")},
         LibraryView::Chromium5,
         LibraryView::Chromium1},
        {"subKategoriKonten",
         {std::string("1"), std::string("5"), std::string("1"), std::string("Optik")},
         LibraryView::Chromium5,
         LibraryView::Chromium1},
        {"topChart", {}, LibraryView::Chromium6, LibraryView::Chromium1},
        {"lastView", {}, LibraryView::Chromium6, LibraryView::Chromium1},
        {"detailFromChart", {std::string("7")}, LibraryView::Chromium3, LibraryView::Chromium3},
        {"searching",
         {std::string("fisika"), std::string("Judul"), 1},
         LibraryView::Chromium7,
         LibraryView::Chromium7},
    };
    for (const FailedFetch &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.shown.clear();
        send(c.name, c.args);
        EXPECT_EQ(window.front, c.view);
        EXPECT_EQ(window.at(c.view).last(), loading());
        ASSERT_TRUE(settle());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
        EXPECT_FALSE(boxes.shown[0].text.isEmpty());
        EXPECT_EQ(window.front, c.frontAfter);
        EXPECT_EQ(window.at(c.view).last(), loading());
    }
    EXPECT_FALSE(state.isSearchRunning); // a finished search lets the next one in
}

TEST_F(LibraryController, CompletionsAfterTheWindowBeganClosingDoNothing) {
    send("detail", {std::string("7")});
    state.RequestCancelled = true;
    ASSERT_TRUE(settle());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(window.at(LibraryView::Chromium3).navigations, std::vector<std::string>{loading()});
}

TEST_F(LibraryController, MessagesAndLogoutsThatArriveAfterTheWindowClosedDoNothing) {
    send("logout");
    state.RequestCancelled = true;
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();
    for (const std::string name : {"loadKategori", "logout", "detail", "back", "account"})
        send(name, {std::string("7")});
    EXPECT_EQ(boxes.shown.size(), 1u); // the confirmation of the first logout only
    EXPECT_EQ(window.navigationCount(), 0u);
    EXPECT_EQ(window.frontChanges, 0);
    EXPECT_FALSE(state.FTaskControl);
}

// The controller against a recording service whose replies are set per path.
class LibraryAgainstService : public ControllerTest<ServiceTestBed> {
protected:
    void SetUp() override {
        lib.FClientJson.store(std::make_shared<const JsonDocument>(
            JsonDocument::parse(R"({"code":"200","data":{"nama":"Pustaka Uji","warna_header":"#123456"}})")));
    }
    // Every path answers its body from `replies`, others an empty success.
    void answer(std::map<std::string, std::string> replies) {
        service.server.setResponder([replies = std::move(replies)](const RecordedRequest &request) {
            const auto found = replies.find(request.target);
            return found == replies.end() ? CannedReply{} : jsonReply(200, found->second);
        });
    }
    std::vector<std::string> pathsAfter(std::size_t since) const {
        std::vector<std::string> paths;
        for (const RecordedRequest &request : service.requestsAfter(since))
            paths.push_back(request.target);
        return paths;
    }
};

TEST_F(LibraryAgainstService, TheHomeChainStopsAtItsFirstFailureAsEachLinkSays) {
    const std::string ok = R"({"code":"200","msg":"OK","data":[]})";
    const struct {
        const char *label;
        std::string banner, menu, home;
        std::vector<std::string> paths;
        const char *warning; // nullptr: nothing is shown and the loading page stays
    } cases[] = {
        {"banners refused",
         R"({"code":"401","msg":"Banner ditolak"})",
         ok,
         ok,
         {"/api/wl/listBanner"},
         "Banner ditolak"},
        {"menu refused",
         ok,
         R"({"code":"500","msg":"Menu gagal"})",
         ok,
         {"/api/wl/listBanner", "/api/wl/menu"},
         "Menu gagal"},
        {"banners without code", R"({"msg":"tanpa kode"})", ok, ok, {"/api/wl/listBanner"}, nullptr},
        {"menu with a null code",
         ok,
         R"({"code":null,"msg":"x"})",
         ok,
         {"/api/wl/listBanner", "/api/wl/menu"},
         nullptr},
        {"home refused",
         ok,
         ok,
         R"({"code":"500","msg":"Beranda gagal"})",
         {"/api/wl/listBanner", "/api/wl/menu", "/api/wl/listHomepage"},
         nullptr},
        {"home without code",
         ok,
         ok,
         R"({"count":3,"total":3})",
         {"/api/wl/listBanner", "/api/wl/menu", "/api/wl/listHomepage"},
         nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        boxes.shown.clear();
        window = RecordingLibraryWindow();
        answer(
            {{"/api/wl/listBanner", c.banner}, {"/api/wl/menu", c.menu}, {"/api/wl/listHomepage", c.home}});
        const std::size_t since = service.server.requests().size();
        controller.startBannerRequest();
        ASSERT_TRUE(settle());
        EXPECT_EQ(pathsAfter(since), c.paths);
        EXPECT_EQ(window.navigationCount(), c.warning ? 1u : 0u);
        EXPECT_TRUE(window.at(LibraryView::Chromium1).scripts.empty());
        if (!c.warning) {
            EXPECT_TRUE(boxes.shown.empty());
            continue;
        }
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, MsgKind::Warning);
        EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.warning));
        EXPECT_EQ(window.at(LibraryView::Chromium1).last(), login());
    }
}

TEST_F(LibraryAgainstService, HomeSectionCountsBeyondIntKeepTheMoreButtonRight) {
    answer({{"/api/wl/listHomepage", R"({"code":"200","count":1e10,"total":2000000000,"data":[]})"}});
    controller.startBannerRequest();
    ASSERT_TRUE(settle());
    EXPECT_EQ(state.CountHomeContent, std::numeric_limits<int>::max());
    send("loadMore");
    ASSERT_TRUE(settle());
    EXPECT_EQ(state.TotalHomeContent,
              std::numeric_limits<int>::max()); // two totals of 2e9, held at the limit
    const RecordingView &home = window.at(LibraryView::Chromium1);
    EXPECT_EQ(home.scripts, (std::vector<std::string>{"$(\"#btnMore\").show();", "$(\"#btnMore\").hide();",
                                                      "$(\"#btnMore\").hide();"}));
    // Each show/hide waits for the home page itself.
    EXPECT_EQ(home.awaitedPages, std::vector<std::string>(2, controller.localPageUrl("index.html")));
    send("loadMore"); // every section is shown now: no further request
    EXPECT_FALSE(state.FTaskControl);
}

struct Member {
    std::string user;
    std::string reply;     // the service's answer to this member's login
    bool accepted;         // the home chain follows
    SessionValues session; // the session afterwards
};

TEST_F(LibraryAgainstService, ALoginReplacesTheWholeSessionAndTheNextCallsCarryIt) {
    const SessionValues ani{"Ani", "ani", "2", "2026-01-31", "tok-ani", "ani.jpg", "U1"};
    const SessionValues budi{"Budi", "budi", "1", "2027-02-28", "tok-budi", "", "U2"};
    const std::vector<Member> members = {
        {"ani",
         R"({"code":"200","data":{"nama":"Ani","username":"ani","level":"2","tgl_berakhir":"2026-01-31",)"
         R"("token":"tok-ani","photo":"ani.jpg","id_user":"U1"}})",
         true, ani},
        // No "photo": the second member's session holds none, not the first member's.
        {"budi",
         R"({"code":"200","data":{"id_user":"U2","token":"tok-budi","level":1,"nama":"Budi",)"
         R"("username":"budi","tgl_berakhir":"2027-02-28"}})",
         true, budi},
        // A refused login keeps the session it found.
        {"cici", R"({"code":"401","msg":"Kata sandi salah"})", false, budi},
    };
    std::map<std::string, std::string> logins;
    for (const Member &m : members)
        logins["user=" + m.user + "&pass=rahasia&uuid=" + lib.DevUUID] = m.reply;
    service.server.setResponder([logins](const RecordedRequest &request) {
        const auto found = logins.find(request.body);
        return found == logins.end() ? CannedReply{} : jsonReply(200, found->second);
    });
    for (const Member &m : members) {
        SCOPED_TRACE(m.user);
        const std::size_t since = service.server.requests().size();
        send("login", {m.user, std::string("rahasia")});
        ASSERT_TRUE(settle());
        EXPECT_EQ(lib.session(), m.session);
        const auto sent = service.requestsAfter(since);
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent[0].target, "/api/wl/executeLogin");
        EXPECT_EQ(sent.size(), m.accepted ? 4u : 1u);
        for (std::size_t i = 1; i < sent.size(); ++i) {
            SCOPED_TRACE(sent[i].target);
            EXPECT_EQ(sent[i].header("KEY"), m.session.token);
            EXPECT_EQ(sent[i].header("USERID"), m.session.userId);
            EXPECT_EQ(sent[i].header("USERLEVEL"), m.session.userLevel);
        }
    }
    EXPECT_TRUE(window.headerVisible);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Kata sandi salah"));
    EXPECT_EQ(window.at(LibraryView::Chromium1).last(), login());
}

} // namespace

// Each borrowing row hands the reader one value: the detail it borrows from, where the book opens and
// the list the library goes back to.
TEST_F(LibraryAgainstService, EachBorrowingRowHandsTheReaderItsBorrowingAsOneValue) {
    answer({{"/api/wl/detailKonten", R"({"code":"200","data":{"id":"7","nama_pc_file":"buku-7.pdf"}})"}});
    lib.FDetailContentJson.store(std::make_shared<const JsonDocument>(
        JsonDocument::parse(R"({"code":"200","data":{"id":"5","nama_pc_file":"buku-5.pdf"}})")));
    state.KalimatPencarian = "kunang-kunang menerangi";
    const struct {
        const char *name;
        Args args;
        std::string file;
        int startPage;
        std::string phrase;
        std::optional<LibraryView> backTo;
    } cases[] = {
        {"baca", {std::string("5")}, "buku-5.pdf", 0, "", std::nullopt},
        {"bacaSection", {std::string("7")}, "buku-7.pdf", 0, "", LibraryView::Chromium6},
        {"bacaKalimat",
         {std::string("7"), std::string("12")},
         "buku-7.pdf",
         12,
         "kunang-kunang menerangi",
         LibraryView::Chromium7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        window.borrows.clear();
        send(c.name, c.args);
        ASSERT_TRUE(processUntil([&] { return !window.borrows.empty(); }));
        const BorrowRequest &borrow = window.borrows.front();
        EXPECT_EQ(replyText(replyData(borrow.detail), "nama_pc_file"), c.file);
        EXPECT_EQ(borrow.startPage, c.startPage);
        EXPECT_EQ(borrow.phrase, c.phrase);
        EXPECT_EQ(borrow.backTo, c.backTo);
        ASSERT_TRUE(settle());
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// A completion goes on with the reply its own request received, even when another reply of the kind
// has been stored since.
TEST_F(LibraryAgainstService, ACompletionUsesTheReplyItsRequestReceived) {
    answer({{"/api/wl/detailKonten", R"({"code":"200","data":{"id":"7","nama_pc_file":"buku-7.pdf"}})"}});
    send("bacaSection", {std::string("7")});
    BackgroundTask::waitForAll(); // the body has stored its reply; the completion still waits
    lib.FDetailContentJson.store(std::make_shared<const JsonDocument>(
        JsonDocument::parse(R"({"code":"500","msg":"lain","data":{"id":"9","nama_pc_file":"buku-9.pdf"}})")));
    ASSERT_TRUE(processUntil([&] { return !window.borrows.empty(); }));
    EXPECT_EQ(window.downloads, std::vector<std::string>{"buku-7.pdf"});
    EXPECT_TRUE(boxes.shown.empty());
}
