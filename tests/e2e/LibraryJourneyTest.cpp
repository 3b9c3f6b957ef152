// The client end to end: start-up with each version policy, then a member's way through the
// library, against the local library service. Clicks are made by script in the views, so every
// step runs the whole path from page to message to task to page.
#include "ClientHarness.h"
#include "ClientWindowSteps.h"
#include "app/AppGlobals.h"
#include "app/ClientStartup.h"
#include "app/FormMain.h"
#include "bridge/ProgramState.h"
#include "browser/ChromiumView.h"
#include "devserver/SampleContent.h"
#include "dialogs/FormInfoBuku.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/HttpCall.h"
#include "service/RuvasaLib.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using e2e::evaluate;
using e2e::processUntil;
using e2e::waitForPage;

class LibraryJourney : public ::testing::Test, protected e2e::ClientWindowSteps {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    std::vector<QString> updaterCalls;
    QString dataFolder;

    void TearDown() override {
        if (window) {
            window->close();
            window.reset();
        }
    }

    ClientSetup setupFor(const ServiceEndpoint &endpoint) {
        return {endpoint, [this](const QString &url) { updaterCalls.push_back(url); }};
    }
    // Starts the client; true when it got as far as showing the main window.
    bool start(const ServiceEndpoint &endpoint) {
        window = startClient(setupFor(endpoint));
        if (!window)
            return false;
        dataFolder = QString::fromStdString(RuvasaLib->FPath);
        window->showMaximized();
        return true;
    }
    void submitLogin(const std::string &user, const std::string &password) {
        evaluate(view(LibraryView::Chromium1),
                 QStringLiteral("document.getElementById('email').value = '%1';"
                                "document.getElementById('kata_sandi').value = '%2';"
                                "$('#login_form').submit();")
                     .arg(QString::fromStdString(user), QString::fromStdString(password)));
    }
    bool waitForFreshLoginPage() {
        return waitForPage(view(LibraryView::Chromium1), QStringLiteral("login.html"),
                           QStringLiteral("document.getElementById('email') && "
                                          "document.getElementById('email').value === ''"));
    }
    bool waitForHome() {
        return waitForPage(
            view(LibraryView::Chromium1), QStringLiteral("index.html"),
            QStringLiteral("!window.replaced && document.querySelectorAll('.section-item').length > 0"));
    }
    // True once `which` is in front, shows `fileName` fully loaded and `condition` holds there.
    bool waitForView(LibraryView which, const QString &fileName, const QString &condition) {
        return waitForPage(view(which), fileName, condition) && processUntil([&] { return inFront(which); });
    }
    void loginAsSampleMember() {
        const devserver::SampleMember &member = devserver::sampleMembers().front();
        ASSERT_TRUE(waitForFreshLoginPage());
        submitLogin(member.username, member.password);
        ASSERT_TRUE(waitForHome());
    }
    // Clicks `selector` in `from`, waits for the detail page and goes back through `backCall`,
    // which must show `from` again without a request.
    void detailAndBack(const ServiceEndpoint &endpoint, LibraryView from, const QString &selector,
                       const QString &backCall) {
        markReplaced(LibraryView::Chromium3); // it may still show an earlier book's detail page
        click(from, selector);
        ASSERT_TRUE(waitForView(
            LibraryView::Chromium3, QStringLiteral("detail.html"),
            QStringLiteral("!window.replaced && document.querySelector(\"[onclick='%1']\")").arg(backCall)));
        const long long since = e2e::lastRequestId(endpoint);
        click(LibraryView::Chromium3, QStringLiteral("[onclick='%1']").arg(backCall));
        ASSERT_TRUE(processUntil([&] { return inFront(from); }));
        EXPECT_TRUE(apiPaths(endpoint, since).empty());
    }
    // The sample member logs in on another device, which ends the client's session.
    static void loginElsewhere(const ServiceEndpoint &endpoint) {
        const devserver::SampleMember &member = devserver::sampleMembers().front();
        HttpRequest elsewhere;
        elsewhere.method = "POST";
        elsewhere.url = endpoint.baseUrl + "/api/wl/executeLogin";
        elsewhere.caFile = endpoint.caFile;
        elsewhere.headers = {{"OS", "WIN"}, {"CLIENTID", "338"}, {"UUID", "0BADF00D"}};
        elsewhere.contentType = "application/x-www-form-urlencoded";
        elsewhere.body = "user=" + member.username + "&pass=" + member.password + "&uuid=0BADF00D";
        ASSERT_EQ(performHttp(elsewhere).status, 200);
    }
    // With KELVARA_SCREENSHOT_DIR set, keeps a picture of the window as `name` there (for the README).
    void screenshot(const QString &name) {
        const QString folder = qEnvironmentVariable("KELVARA_SCREENSHOT_DIR");
        if (folder.isEmpty())
            return;
        processUntil([] { return false; }, 1500); // lets covers and fonts arrive
        EXPECT_TRUE(window->grab().save(folder + '/' + name));
    }
    bool waitForBox(std::size_t count) {
        return processUntil([&] { return boxes.shown.size() >= count; });
    }
    static std::vector<std::string> apiPaths(const ServiceEndpoint &endpoint, long long since) {
        std::vector<std::string> paths = e2e::recordedPaths(endpoint, since);
        std::erase_if(paths, [](const std::string &path) { return path.rfind("/api/", 0) != 0; });
        return paths;
    }
};

TEST_F(LibraryJourney, UnreachableServiceEndsTheProgramAfterTheWarning) {
    EXPECT_FALSE(start(ServiceEndpoint{"https://127.0.0.1:9", ""}));
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().kind, MsgKind::Warning);
    EXPECT_TRUE(boxes.shown.back().text.startsWith(QStringLiteral("#301 ")))
        << boxes.shown.back().text.toStdString();
    EXPECT_TRUE(updaterCalls.empty());
}

TEST_F(LibraryJourney, RefusedVersionShowsTheServiceTextAndEnds) {
    e2e::sharedService();
    e2e::RunningService refusing(e2e::serviceFolder(), devserver::VersionPolicy::Refuse);
    EXPECT_FALSE(start(refusing.endpoint()));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Warning);
    EXPECT_FALSE(boxes.shown[0].text.isEmpty());
    EXPECT_FALSE(boxes.shown[0].text.startsWith(QStringLiteral("#301")));
}

TEST_F(LibraryJourney, AcceptedUpdateHandsOverToTheUpdaterAndCloses) {
    e2e::sharedService();
    e2e::RunningService offering(e2e::serviceFolder(), devserver::VersionPolicy::Update);
    boxes.answers.push_back(MsgAnswer::Ok);
    ASSERT_TRUE(start(offering.endpoint()));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Update baru telah tersedia, download sekarang?"));
    ASSERT_TRUE(processUntil([&] { return !window->isVisible(); }));
    ASSERT_EQ(updaterCalls.size(), 1u);
    EXPECT_FALSE(updaterCalls[0].isEmpty());
    EXPECT_FALSE(QDir(dataFolder).exists());
}

TEST_F(LibraryJourney, DeclinedUpdateStartsNormally) {
    e2e::sharedService();
    e2e::RunningService offering(e2e::serviceFolder(), devserver::VersionPolicy::Update);
    boxes.answers.push_back(MsgAnswer::Cancel);
    ASSERT_TRUE(start(offering.endpoint()));
    EXPECT_TRUE(waitForFreshLoginPage());
    EXPECT_TRUE(updaterCalls.empty());
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(LibraryJourney, MemberLogsInBrowsesIsSentBackByALoginElsewhereAndLogsOut) {
    const ServiceEndpoint endpoint = e2e::sharedService().endpoint();
    const devserver::SampleMember &member = devserver::sampleMembers().front();
    ASSERT_TRUE(start(endpoint));
    EXPECT_TRUE(boxes.shown.empty()); // a current version asks nothing

    // The login page, with the header hidden.
    ASSERT_TRUE(waitForFreshLoginPage());
    EXPECT_FALSE(window->PanelHeader->isVisible());
    EXPECT_TRUE(inFront(LibraryView::Chromium1));
    screenshot(QStringLiteral("login-page.png"));

    // A refused login: the service's text, then an empty login form.
    submitLogin(member.username, "salah-sandi");
    ASSERT_TRUE(waitForBox(1));
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Warning);
    EXPECT_FALSE(boxes.shown[0].text.isEmpty());
    ASSERT_TRUE(waitForFreshLoginPage());
    EXPECT_FALSE(window->PanelHeader->isVisible());

    // An accepted login: banners, menu and the first home page, in that order, then the home page.
    long long since = e2e::lastRequestId(endpoint);
    submitLogin(member.username, member.password);
    ASSERT_TRUE(waitForHome());
    EXPECT_EQ(boxes.shown.size(), 1u);
    screenshot(QStringLiteral("home-page.png"));
    EXPECT_TRUE(window->PanelHeader->isVisible());
    EXPECT_EQ(apiPaths(endpoint, since),
              (std::vector<std::string>{"/api/wl/executeLogin", "/api/wl/listBanner", "/api/wl/menu",
                                        "/api/wl/listHomepage"}));
    nlohmann::json home;
    for (const nlohmann::json &row : e2e::recordedRequests(endpoint, since))
        if (row.value("path", std::string()) == "/api/wl/listHomepage")
            home = row;
    EXPECT_EQ(home["headers"].value("KEY", std::string("?")), RuvasaLib->FToken.str());
    EXPECT_FALSE(RuvasaLib->FToken.empty());
    // Covers come from the service, over its own certificate authority.
    EXPECT_TRUE(processUntil([&] {
        return evaluate(view(LibraryView::Chromium1),
                        QStringLiteral("[...document.querySelectorAll('img')].some(i => "
                                       "i.src.includes('/prod/img/cover/') && i.naturalWidth > 0)"))
            .toBool();
    }));

    // "Selebihnya" asks for further pages until every section is shown, then it is hidden.
    const int firstTotal = window->library().state.TotalHomeContent;
    EXPECT_LT(
        firstTotal,
        window->library().state.CountHomeContent); // the sample catalogue has more than one page of sections
    for (int round = 0;
         round < 10 && window->library().state.TotalHomeContent < window->library().state.CountHomeContent;
         ++round) {
        const int before = window->library().state.TotalHomeContent;
        markReplaced(LibraryView::Chromium1);
        click(LibraryView::Chromium1, "#loadMore");
        ASSERT_TRUE(processUntil([&] { return window->library().state.TotalHomeContent > before; }));
        ASSERT_TRUE(waitForHome());
    }
    EXPECT_EQ(window->library().state.TotalHomeContent, window->library().state.CountHomeContent);
    EXPECT_TRUE(processUntil([&] {
        return evaluate(view(LibraryView::Chromium1),
                        QStringLiteral("$('#btnMore').css('display') === 'none'"))
            .toBool();
    }));

    // One section with all its books, and back home without a request.
    click(LibraryView::Chromium1, ".link-see-all");
    ASSERT_TRUE(waitForPage(view(LibraryView::Chromium2), QStringLiteral("index_detail.html"),
                            QStringLiteral("document.querySelector('.breadcrumb a')")));
    EXPECT_TRUE(inFront(LibraryView::Chromium2));
    detailAndBack(endpoint, LibraryView::Chromium2, "[onclick^='app.detailFromSection(']",
                  "app.backToSection()");
    since = e2e::lastRequestId(endpoint);
    click(LibraryView::Chromium2, ".breadcrumb a");
    ASSERT_TRUE(processUntil([&] { return inFront(LibraryView::Chromium1); }));
    EXPECT_EQ(view(LibraryView::Chromium1)->url().fileName(), QStringLiteral("index.html"));

    // A book's detail from the home page, and back.
    markReplaced(LibraryView::Chromium3); // it still shows the section's book
    click(LibraryView::Chromium1, "[onclick^='app.detail(']");
    ASSERT_TRUE(waitForPage(
        view(LibraryView::Chromium3), QStringLiteral("detail.html"),
        QStringLiteral("!window.replaced && document.querySelector(\"[onclick='app.back()']\")")));
    EXPECT_TRUE(inFront(LibraryView::Chromium3));
    EXPECT_EQ(apiPaths(endpoint, since), std::vector<std::string>{"/api/wl/detailKonten"});
    since = e2e::lastRequestId(endpoint);
    click(LibraryView::Chromium3, "[onclick='app.back()']");
    ASSERT_TRUE(processUntil([&] { return inFront(LibraryView::Chromium1); }));
    EXPECT_TRUE(apiPaths(endpoint, since).empty());
    EXPECT_EQ(boxes.shown.size(), 1u);

    // The same member logs in on another device: the next request ends in the login page.
    loginElsewhere(endpoint);
    click(LibraryView::Chromium1, "[onclick^='app.detail(']");
    ASSERT_TRUE(waitForBox(2));
    EXPECT_EQ(boxes.shown[1].kind, MsgKind::Error);
    EXPECT_EQ(boxes.shown[1].text,
              QStringLiteral("Authentication Error : Akun Anda Digunakan Di Perangkat Lain"));
    ASSERT_TRUE(waitForFreshLoginPage());
    EXPECT_TRUE(inFront(LibraryView::Chromium1));

    // Back in (the section count starts afresh), then out through the account menu.
    submitLogin(member.username, member.password);
    ASSERT_TRUE(waitForHome());
    EXPECT_EQ(window->library().state.TotalHomeContent, firstTotal);
    EXPECT_EQ(boxes.shown.size(), 2u);
    since = e2e::lastRequestId(endpoint);
    // A real click: the item's empty address must not reload the home page over the login page.
    evaluate(view(LibraryView::Chromium1),
             QStringLiteral("document.querySelector(\"[onclick^='app.logout(']\").click()"));
    ASSERT_TRUE(waitForBox(3));
    EXPECT_EQ(boxes.shown[2].text, QStringLiteral("Keluar dari akun anda?"));
    ASSERT_TRUE(waitForFreshLoginPage());
    EXPECT_TRUE(processUntil([&] { return !window->PanelHeader->isVisible(); }));
    EXPECT_EQ(apiPaths(endpoint, since), std::vector<std::string>{"/api/wl/executeLogout"});

    // Closing with no book open ends the program and removes the data folder.
    EXPECT_TRUE(window->close());
    window.reset();
    EXPECT_FALSE(QDir(dataFolder).exists());
}

TEST_F(LibraryJourney, CategoriesChartsAndSearchesWithTheirWayBack) {
    const ServiceEndpoint endpoint = e2e::sharedService().endpoint();
    ASSERT_TRUE(start(endpoint));
    loginAsSampleMember();

    // The category page from the stored menu, without a request; a department switch in place.
    long long since = e2e::lastRequestId(endpoint);
    click(LibraryView::Chromium1, "[onclick^='app.loadKategori(']");
    ASSERT_TRUE(waitForView(LibraryView::Chromium4, QStringLiteral("category.html"),
                            QStringLiteral("document.querySelector(\"[onclick^='app.kategoriKonten(']\")")));
    EXPECT_TRUE(apiPaths(endpoint, since).empty());
    const QString otherDept =
        evaluate(view(LibraryView::Chromium4), QStringLiteral("$('select option').eq(1).val() || ''"))
            .toString();
    ASSERT_FALSE(otherDept.isEmpty());
    evaluate(view(LibraryView::Chromium4),
             QStringLiteral("$('select').val('%1').trigger('change')").arg(otherDept));
    EXPECT_TRUE(processUntil([&] {
        return evaluate(view(LibraryView::Chromium4),
                        QStringLiteral(
                            "Array.from(document.querySelectorAll(\"[onclick^='app.kategoriKonten(']\"))"
                            ".some(a => a.getAttribute('onclick').includes(\"'%1'\"))")
                            .arg(otherDept))
            .toBool();
    }));

    // A category's books, one book and back to the list.
    click(LibraryView::Chromium4, "[onclick^='app.kategoriKonten(']");
    ASSERT_TRUE(
        waitForView(LibraryView::Chromium5, QStringLiteral("category_detail.html"),
                    QStringLiteral("document.querySelector(\"[onclick^='app.detailFromCategory(']\")")));
    detailAndBack(endpoint, LibraryView::Chromium5, "[onclick^='app.detailFromCategory(']",
                  "app.backToCategory()");
    // Hidden for a while, the category page was given up; it comes back with the member's department
    // chosen in its box and that department's categories, which the client had put in.
    ASSERT_TRUE(processUntil([&] {
        return view(LibraryView::Chromium4)->page()->lifecycleState() ==
               QWebEnginePage::LifecycleState::Discarded;
    }));
    click(LibraryView::Chromium5, "[onclick='app.backKategori()']");
    ASSERT_TRUE(processUntil([&] { return inFront(LibraryView::Chromium4); }));
    EXPECT_TRUE(processUntil([&] {
        return evaluate(
                   view(LibraryView::Chromium4),
                   QStringLiteral(
                       "document.readyState === 'complete' && $('select').val() === '%1' && "
                       "$('.select2-selection__rendered').text() === $('select option:selected').text() && "
                       "Array.from(document.querySelectorAll(\"[onclick^='app.kategoriKonten(']\"))"
                       ".some(a => a.getAttribute('onclick').includes(\"'%1'\"))")
                       .arg(otherDept))
            .toBool();
    }));

    // The three lists; the top-read list grows by a further page.
    const std::vector<std::pair<QString, std::string>> lists = {
        {"app.topChart()", "topRead"}, {"app.lastRead()", "lastRead"}, {"app.lastView()", "lastView"}};
    for (const auto &[call, type] : lists) {
        SCOPED_TRACE(type);
        click(LibraryView::Chromium4, "[onclick='app.back()']");
        ASSERT_TRUE(processUntil([&] { return inFront(LibraryView::Chromium1); }));
        markReplaced(LibraryView::Chromium6);
        click(LibraryView::Chromium1, QStringLiteral("[onclick='%1']").arg(call));
        ASSERT_TRUE(waitForView(LibraryView::Chromium6, QStringLiteral("topChart.html"),
                                QStringLiteral("!window.replaced && document.getElementById('listChart')")));
        click(LibraryView::Chromium6, "[onclick^='app.back(']");
        ASSERT_TRUE(processUntil([&] { return inFront(LibraryView::Chromium1); }));
        markReplaced(LibraryView::Chromium4);
        click(LibraryView::Chromium1, "[onclick^='app.loadKategori(']");
        ASSERT_TRUE(waitForView(
            LibraryView::Chromium4, QStringLiteral("category.html"),
            QStringLiteral("!window.replaced && document.querySelector(\"[onclick='app.back()']\")")));
    }
    click(LibraryView::Chromium4, "[onclick='app.back()']");
    markReplaced(LibraryView::Chromium6); // the last list of the loop is also a "topChart.html"
    click(LibraryView::Chromium1, "[onclick='app.topChart()']");
    ASSERT_TRUE(waitForView(LibraryView::Chromium6, QStringLiteral("topChart.html"),
                            QStringLiteral("!window.replaced && "
                                           "document.querySelector(\"[onclick^='app.detailFromChart(']\")")));
    const int rowsBefore = evaluate(view(LibraryView::Chromium6),
                                    QStringLiteral("document.querySelectorAll('.list-chart-row').length"))
                               .toInt();
    ASSERT_TRUE(evaluate(view(LibraryView::Chromium6),
                         QStringLiteral("!!document.querySelector(\"[onclick^='app.loadMoreChart(']\")"))
                    .toBool());
    since = e2e::lastRequestId(endpoint);
    click(LibraryView::Chromium6, "[onclick^='app.loadMoreChart(']");
    EXPECT_TRUE(processUntil([&] {
        return evaluate(view(LibraryView::Chromium6),
                        QStringLiteral("document.querySelectorAll('.list-chart-row').length"))
                   .toInt() > rowsBefore;
    }));
    EXPECT_EQ(apiPaths(endpoint, since).size(), 1u);
    detailAndBack(endpoint, LibraryView::Chromium6, "[onclick^='app.detailFromChart(']", "app.backToChart()");

    // A title search with its page links, then a sentence search.
    click(LibraryView::Chromium6, "[onclick^='app.back(']");
    ASSERT_TRUE(processUntil([&] { return inFront(LibraryView::Chromium1); }));
    evaluate(view(LibraryView::Chromium1),
             QStringLiteral("$('#keyword').val('a'); $('#submitSearch').submit();"));
    ASSERT_TRUE(
        waitForView(LibraryView::Chromium7, QStringLiteral("search_result.html"),
                    QStringLiteral("document.querySelector(\"[onclick^='app.detailFromSearch(']\")")));
    EXPECT_FALSE(window->library().state.isSearchRunning);
    ASSERT_TRUE(evaluate(view(LibraryView::Chromium7),
                         QStringLiteral("!!document.querySelector(\"[onclick^='app.searchResult(']\")"))
                    .toBool());
    markReplaced(LibraryView::Chromium7);
    click(LibraryView::Chromium7, "[onclick^='app.searchResult(']");
    ASSERT_TRUE(waitForView(LibraryView::Chromium7, QStringLiteral("search_result.html"),
                            QStringLiteral("!window.replaced && document.querySelector('.pagination')")));
    detailAndBack(endpoint, LibraryView::Chromium7, "[onclick^='app.detailFromSearch(']",
                  "app.backToSearch()");
    const QString phrase = QString::fromUtf8(devserver::kSampleSentence).section(' ', 0, 1);
    evaluate(view(LibraryView::Chromium7),
             QStringLiteral("$('#search_concept').text('Kalimat'); $('#keyword').val('%1');"
                            "$('#submitSearch').submit();")
                 .arg(phrase));
    ASSERT_TRUE(waitForView(LibraryView::Chromium7, QStringLiteral("search_kalimat_result.html"),
                            QStringLiteral("document.querySelector(\"[onclick^='app.bacaKalimat(']\")")));
    EXPECT_EQ(window->library().state.KalimatPencarian, phrase.toStdString());
    EXPECT_TRUE(boxes.shown.empty());

    // A list asked for after a login elsewhere: the lists' own authentication text, then the login page.
    click(LibraryView::Chromium7, "[onclick^='app.back(']");
    ASSERT_TRUE(processUntil([&] { return inFront(LibraryView::Chromium1); }));
    loginElsewhere(endpoint);
    click(LibraryView::Chromium1, "[onclick='app.topChart()']");
    ASSERT_TRUE(waitForBox(1));
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(boxes.shown[0].text,
              QStringLiteral("Authentication Error : Akun Anda Digunakan Pada Perangkat Lain"));
    ASSERT_TRUE(waitForFreshLoginPage());
    EXPECT_TRUE(inFront(LibraryView::Chromium1));
}

TEST_F(LibraryJourney, BacaOpensTheBookInTheReaderAndTheReturnFreesItsPage) {
    const ServiceEndpoint endpoint = e2e::sharedService().endpoint();
    ASSERT_TRUE(start(endpoint));
    loginAsSampleMember();
    TReaderController &reader = window->reader();
    ReaderPanel *panel = window->PanelReader;

    click(LibraryView::Chromium1, "[onclick^='app.detail(']");
    ASSERT_TRUE(waitForView(LibraryView::Chromium3, QStringLiteral("detail.html"),
                            QStringLiteral("document.querySelector('.btn-baca')")));
    markReplaced(LibraryView::Chromium3);
    click(LibraryView::Chromium3, ".btn-baca");
    ASSERT_TRUE(processUntil([&] { return reader.activeView() && window->areas->currentWidget() == panel; }));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(window->library().state.readCount, 1);
    EXPECT_TRUE(panel->PageControl1->isTabVisible(0));
    EXPECT_TRUE(panel->edPage->text().startsWith(QStringLiteral("1/")));
    EXPECT_TRUE(processUntil([&] { return window->DownloadProgress->isHidden(); }));
    // The detail page is shown again behind the reader.
    EXPECT_TRUE(waitForPage(view(LibraryView::Chromium3), QStringLiteral("detail.html"),
                            QStringLiteral("!window.replaced && document.querySelector('.btn-baca')")));
    screenshot(QStringLiteral("reader.png"));

    panel->btnInfo->click(); // the book's information window
    ASSERT_TRUE(window->FormInfoBuku->isVisible());
    EXPECT_TRUE(window->FormInfoBuku->panelJudul->text().contains(panel->PageControl1->tabText(0)));
    window->FormInfoBuku->close();

    // The header switches areas without reloading either.
    window->btnLibrary->click();
    EXPECT_TRUE(inFront(LibraryView::Chromium3));
    window->btnReader->click();
    EXPECT_EQ(window->areas->currentWidget(), panel);

    EXPECT_FALSE(window->close());
    EXPECT_EQ(boxes.shown.back().text,
              QStringLiteral("Harap kembalikan terlebih dahulu semua buku yang anda baca "
                             "sebelum menutup aplikasi ini"));
    const long long since = e2e::lastRequestId(endpoint);
    boxes.answers.push_back(MsgAnswer::Yes);
    panel->btnReturn->click(); // the page closes once the service has the book and its annotations
    EXPECT_TRUE(processUntil([this] { return window->library().state.readCount == 0; }));
    EXPECT_FALSE(panel->PageControl1->isTabVisible(0));
    EXPECT_TRUE(processUntil([&] {
        const auto paths = apiPaths(endpoint, since);
        return paths ==
               std::vector<std::string>{"/api/wl/bookReturn", "/api/wl/saveAnotasi", "/api/wl/copyText"};
    }));
    EXPECT_TRUE(window->close());
    window.reset();
    EXPECT_FALSE(QDir(dataFolder).exists());
}

} // namespace
