#include "TestCertificates.h"
#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QSslKey>
#include <QSslServer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <gtest/gtest.h>

#include <mutex>
#include <optional>

namespace {
using Out = std::vector<ProcessArgument>;

void writeFile(const QString &path, const QByteArray &content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A 1x1 PNG, to show that image tags of local pages still load.
const QByteArray onePixelPng = QByteArray::fromBase64(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg==");

// The console messages of the pages while it lives: the engine logs them under the category "js".
class PageConsole {
public:
    PageConsole() { previous = qInstallMessageHandler(record); }
    ~PageConsole() { qInstallMessageHandler(previous); }
    PageConsole(const PageConsole &) = delete;
    PageConsole &operator=(const PageConsole &) = delete;

    QStringList messages() const {
        std::lock_guard<std::mutex> guard(lock);
        return lines;
    }

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (context.category && QByteArray(context.category) == "js") {
            std::lock_guard<std::mutex> guard(lock);
            lines << text;
        }
        if (previous)
            previous(type, context, text);
    }
    static inline QtMessageHandler previous = nullptr;
    static inline std::mutex lock;
    static inline QStringList lines;
};

// One host and two views for the whole suite: starting the engine is the slow part.
class BrowserViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = new QTemporaryDir;
        data = root->filePath("data");
        writeFile(data + "/page.html", R"(<!DOCTYPE html><html><body>
<a id="external" href="https://books.example.org/synopsis">more</a>
<a id="blank" target="_blank" href="https://banner.example.org/promo">banner</a>
<a id="local" href="other.html">other</a>
<iframe src="https://player.example.org/embed"></iframe>
<a id="foreign" href=")" + QUrl::fromLocalFile(root->filePath("outside/x.html")).toEncoded() +
                                           R"(">outside</a>
</body></html>)");
        writeFile(data + "/other.html", "<!DOCTYPE html><html><body>other</body></html>");
        writeFile(data + "/menu.html", R"html(<!DOCTYPE html><html><body>
<a id="logout" href="" title="" class="list-item" onClick="app.logout()">Keluar</a>
</body></html>)html");
        // Calls made while the document is still being parsed, long before the channel is up.
        writeFile(data + "/early.html", R"(<!DOCTYPE html><html><head><script>
app.detail("first"); app.loadMoreChart(2); app.detail(); app.back(); app.kategoriKonten(41, "1", 7, "Fisika");
</script></head><body></body></html>)");
        writeFile(data + "/assets.html", R"(<!DOCTYPE html><html><head>
<link rel="stylesheet" href="css/a.css"><script src="js/a.js"></script></head><body>
<p id="styled">x</p><img id="pic" src="img/a.png">
</body></html>)");
        writeFile(data + "/css/a.css", "#styled { margin-left: 17px; }");
        writeFile(data + "/js/a.js", "window.scriptLoaded = true;");
        writeFile(data + "/img/a.png", onePixelPng);
        writeFile(data + "/secret.txt", "sibling secret");
        writeFile(root->filePath("outside/x.html"), "<!DOCTYPE html><html><body>outside</body></html>");
        writeFile(root->filePath("outside/secret.txt"), "outside secret");

        host = new BrowserHost(data, ServiceCertificatePolicy(QUrl("https://127.0.0.1:8443"), QString()),
                               [](const QUrl &url) { opened.push_back(url); });
        for (auto *&view : views) {
            view = host->createView();
            view->resize(800, 600);
            view->show();
            QObject::connect(view, &ChromiumView::processMessageReceived,
                             [](ChromiumView *browser, const ProcessMessage &message) {
                                 received.push_back({browser, message, QThread::currentThread()});
                             });
        }
    }
    static void TearDownTestSuite() {
        for (auto *&view : views)
            delete view;
        delete host;
        delete root;
    }
    void SetUp() override {
        received.clear();
        opened.clear();
    }

    static QString pageUrl(const QString &name) { return QUrl::fromLocalFile(data + "/" + name).toString(); }

    // Waits for the load of this page itself: a view's earlier load (its blank start page) can still
    // finish after the navigation began.
    static void load(ChromiumView *view, const QString &name) {
        const QUrl target(pageUrl(name));
        std::optional<bool> ok;
        const QMetaObject::Connection finished =
            QObject::connect(view, &QWebEngineView::loadFinished, [&](bool success) {
                if (view->url() == target)
                    ok = success;
            });
        view->navigate(target.toString().toStdString());
        const bool arrived = QTest::qWaitFor([&] { return ok.has_value(); }, 20000);
        QObject::disconnect(finished);
        ASSERT_TRUE(arrived) << name.toStdString();
        ASSERT_TRUE(*ok) << name.toStdString();
    }

    static QVariant evaluate(ChromiumView *view, const QString &script) {
        return evaluate(view->page(), script);
    }
    static QVariant evaluate(QWebEnginePage *page, const QString &script) {
        QVariant result;
        bool done = false;
        page->runJavaScript(script, [&](const QVariant &value) {
            result = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)) << script.toStdString();
        return result;
    }

    // How many of assets.html's style sheet, script and image took effect.
    static int assetsLoaded(QWebEnginePage *page) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return evaluate(page, "document.getElementById('pic').complete").toBool(); }, 10000));
        return evaluate(page, "(getComputedStyle(document.getElementById('styled')).marginLeft === '17px') + "
                              "(window.scriptLoaded === true) + "
                              "(document.getElementById('pic').naturalWidth === 1)")
            .toInt();
    }

    // A sibling file of the data folder and a file outside it, read by fetch and by XMLHttpRequest:
    // each result is the text read or "blocked".
    static QVariantMap readFiles(QWebEnginePage *page) {
        const QString reads = QStringLiteral(R"(
window.reads = {};
const targets = {sibling: 'secret.txt', outside: '%1'};
for (const [name, url] of Object.entries(targets)) {
    fetch(url).then(r => r.text()).then(t => { window.reads['fetch ' + name] = t; },
                                         () => { window.reads['fetch ' + name] = 'blocked'; });
    const xhr = new XMLHttpRequest();
    xhr.onload = () => { window.reads['xhr ' + name] = xhr.responseText; };
    xhr.onerror = () => { window.reads['xhr ' + name] = 'blocked'; };
    try { xhr.open('GET', url); xhr.send(); } catch (e) { window.reads['xhr ' + name] = 'blocked'; }
}
)")
                                  .arg(QUrl::fromLocalFile(root->filePath("outside/secret.txt")).toString());
        evaluate(page, reads);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return evaluate(page, "Object.keys(window.reads).length").toInt() == 4; }, 10000));
        return evaluate(page, "window.reads").toMap();
    }

    // Runs script in the page, then waits until the expected number of messages has arrived and a
    // little longer, so that a stray extra message would be seen too.
    static void runAndCollect(ChromiumView *view, const QString &script, std::size_t expected) {
        view->runScript(script.toStdString());
        EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= expected; }, 10000));
        settle();
    }

    // Round trip through the page and the channel: anything sent before it has arrived after it.
    static void settle() {
        const std::size_t before = received.size();
        views[1]->runScript("app.account()");
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return received.size() > before && received.back().message.name == "account"; }, 10000));
        received.pop_back();
    }

    static std::vector<ProcessMessage> messages() {
        std::vector<ProcessMessage> result;
        for (const auto &r : received)
            result.push_back(r.message);
        return result;
    }

    struct Received {
        ChromiumView *browser;
        ProcessMessage message;
        QThread *thread;
    };
    static inline QTemporaryDir *root = nullptr;
    static inline QString data;
    static inline BrowserHost *host = nullptr;
    static inline ChromiumView *views[2] = {};
    static inline std::vector<Received> received;
    static inline std::vector<QUrl> opened;
};

TEST_F(BrowserViewTest, CallsBecomeMessagesWithTheirArgumentsOnTheUiThread) {
    load(views[1], "other.html");
    load(views[0], "page.html");
    struct Case {
        const char *script;
        std::optional<ProcessMessage> expected;
    };
    const Case cases[] = {
        {"app.executeLogin('ani@x.id', 'rahasia')", ProcessMessage{"login", Out{"ani@x.id", "rahasia"}}},
        {"app.kategoriKonten('41', '1', '7', 'Fisika')",
         ProcessMessage{"kategoriKonten", Out{"7", "41", "1", "Fisika"}}},
        {"app.subKategoriKonten(88, '1', 7, 'Optik')",
         ProcessMessage{"subKategoriKonten", Out{"7", "88", "1", "Optik"}}},
        {"app.searching('cahaya', 'Kalimat')", ProcessMessage{"searching", Out{"cahaya", "Kalimat", 1}}},
        {"app.searchResult('cahaya', 'Kalimat', 1)",
         ProcessMessage{"searching", Out{"cahaya", "Kalimat", 1}}},
        {"app.loadMoreChart(2)", ProcessMessage{"loadMoreChart", Out{2}}},
        {"app.bacaKalimat(12, 3.5)", ProcessMessage{"bacaKalimat", Out{"12", "3.5"}}},
        {"app.forgotPass()", ProcessMessage{"forgotPass", Out{"forgotPass"}}},
        {"app.registerPage()", ProcessMessage{"register", Out{}}},
        {"app.detail()", std::nullopt},
        {"app.detail('1', '2')", std::nullopt},
        {"app.detail(null)", std::nullopt},
        {"app.detail(true)", std::nullopt},
        {"app.detail(NaN)", std::nullopt},
        {"app.detail({})", std::nullopt},
        {"app.loadMoreChart('2')", std::nullopt},
        {"app.loadMoreChart(2.5)", std::nullopt},
        {"app.loadMoreChart(4294967296)", std::nullopt},
    };
    for (const Case &c : cases) {
        received.clear();
        runAndCollect(views[0], c.script, c.expected ? 1 : 0);
        ASSERT_EQ(received.size(), c.expected ? 1u : 0u) << c.script;
        if (c.expected) {
            EXPECT_EQ(received[0].message, *c.expected) << c.script;
            EXPECT_EQ(received[0].browser, views[0]);
            EXPECT_EQ(received[0].thread, qApp->thread());
        }
    }
    // `app` cannot be replaced or extended by a page.
    EXPECT_EQ(evaluate(views[0], "app = 1; app.x = 2; typeof app.detail + typeof app.x").toString(),
              "functionundefined");
}

TEST_F(BrowserViewTest, CallsMadeBeforeTheChannelIsUpArriveInOrder) {
    load(views[0], "early.html");
    EXPECT_TRUE(QTest::qWaitFor([] { return received.size() >= 4; }, 10000));
    settle();
    const std::vector<ProcessMessage> expected{{"detail", Out{"first"}},
                                               {"loadMoreChart", Out{2}},
                                               {"back", Out{}},
                                               {"kategoriKonten", Out{"7", "41", "1", "Fisika"}}};
    EXPECT_EQ(messages(), expected);
}

// A view's channel answers into whichever page the view shows. "Lihat Semua" shows the loading page
// and at once the section: answers to what the loading page asked can reach the section page. Such
// answers are played here by asking in the page's transport directly, as the page before did: its
// channel's start, numbered from 0 like every page's, and one tagged by another page.
TEST_F(BrowserViewTest, AnswersMeantForTheReplacedPageAreNoErrorInTheNextOne) {
    load(views[1], "other.html");
    load(views[0], "other.html");
    PageConsole console;
    for (const char *id : {"0", "1", "'k3x9:0'"})
        views[0]->runScript(QStringLiteral("qt.webChannelTransport.send(JSON.stringify({type: 3, id: %1}))")
                                .arg(id)
                                .toStdString());
    runAndCollect(views[0], "app.homeDetail('7', 'Terbaru')", 1);

    const std::vector<ProcessMessage> expected{{"homeDetail", Out{"7", "Terbaru"}}};
    EXPECT_EQ(messages(), expected);
    EXPECT_TRUE(console.messages().isEmpty()) << console.messages().join('\n').toStdString();
}

TEST_F(BrowserViewTest, PagesOutsideTheDataFolderAreNotShownAndHaveNoApp) {
    load(views[0], "page.html");
    const QString outside = QUrl::fromLocalFile(root->filePath("outside/x.html")).toString();
    views[0]->navigate(outside.toStdString());
    evaluate(views[0], "document.getElementById('foreign').click()");
    QTest::qWait(300);
    EXPECT_EQ(views[0]->url(), QUrl(pageUrl("page.html")));
    EXPECT_TRUE(opened.empty()) << "a local file was handed to the system";

    // A blank page has no `app` at all.
    QSignalSpy finished(views[0], &QWebEngineView::loadFinished);
    views[0]->navigate("about:blank");
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(evaluate(views[0], "typeof app").toString(), "undefined");
}

TEST_F(BrowserViewTest, AddressesElsewhereOpenInTheSystemBrowserNeverInAView) {
    load(views[0], "page.html");
    evaluate(views[0], "document.getElementById('external').click()");
    ASSERT_TRUE(QTest::qWaitFor([] { return opened.size() >= 1; }, 10000));
    evaluate(views[0], "document.getElementById('blank').click()");
    ASSERT_TRUE(QTest::qWaitFor([] { return opened.size() >= 2; }, 10000));
    evaluate(views[0], "window.open('https://popup.example.org/x')");
    ASSERT_TRUE(QTest::qWaitFor([] { return opened.size() >= 3; }, 10000));
    evaluate(views[0], "location.href = 'http://plain.example.org/'");
    ASSERT_TRUE(QTest::qWaitFor([] { return opened.size() >= 4; }, 10000));

    const std::vector<QUrl> expected{QUrl("https://books.example.org/synopsis"),
                                     QUrl("https://banner.example.org/promo"),
                                     QUrl("https://popup.example.org/x"), QUrl("http://plain.example.org/")};
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(views[0]->url(), QUrl(pageUrl("page.html")));

    // A link to another page of the data folder stays in the view.
    QSignalSpy finished(views[0], &QWebEngineView::loadFinished);
    evaluate(views[0], "document.getElementById('local').click()");
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(views[0]->url(), QUrl(pageUrl("other.html")));
    EXPECT_EQ(opened.size(), 4u);
}

TEST_F(BrowserViewTest, OnlyWebAndMailAddressesAreHandedToTheSystem) {
    const std::vector<QUrl> handed{QUrl("https://a.example.org/"), QUrl("http://b.example.org/x?y=1"),
                                   QUrl("mailto:pustaka@example.org")};
    for (const QUrl &url : handed)
        host->openExternally(url);
    for (const char *url : {"file:///etc/passwd", "file:///usr/bin/xterm", "javascript:alert(1)",
                            "ftp://c.example.org/", "smb://server/share", "", "about:blank"})
        host->openExternally(QUrl(url));
    EXPECT_EQ(opened, handed);
}

TEST_F(BrowserViewTest, LocalPagesLoadTheirAssetsButCannotReadFilesByScript) {
    load(views[0], "assets.html");
    EXPECT_EQ(assetsLoaded(views[0]->page()), 3);
    const QVariantMap results = readFiles(views[0]->page());
    for (const char *key : {"fetch sibling", "xhr sibling", "fetch outside", "xhr outside"})
        EXPECT_EQ(results.value(key).toString(), "blocked") << key;
}

// What Qt offers without LocalFileGuard: with local file access off, a local page loses its own
// style sheets, scripts and images; with it on, its script reads any local file.
TEST_F(BrowserViewTest, QtAloneEitherBlocksAPagesAssetsOrLetsItsScriptReadAnyFile) {
    for (bool fileAccess : {false, true}) {
        QWebEngineProfile profile;
        profile.settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, fileAccess);
        QWebEnginePage page(&profile);
        QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
        page.load(QUrl::fromLocalFile(data + "/assets.html"));
        ASSERT_TRUE(finished.wait(20000));
        EXPECT_EQ(assetsLoaded(&page), fileAccess ? 3 : 0) << fileAccess;
        EXPECT_EQ(readFiles(&page).value("xhr outside").toString() == "outside secret", fileAccess)
            << fileAccess;
    }
}

TEST_F(BrowserViewTest, RightClickOpensNoContextMenu) {
    load(views[0], "other.html");
    evaluate(views[0], "window.menuAsked = false; "
                       "document.addEventListener('contextmenu', () => { window.menuAsked = true; });");
    QWidget *input = views[0]->focusProxy();
    ASSERT_NE(input, nullptr);
    const QPoint centre = input->rect().center();
    QTest::mousePress(input, Qt::RightButton, {}, centre);
    QTest::mouseRelease(input, Qt::RightButton, {}, centre);
    // The click reached the page, so the engine did ask for a menu.
    ASSERT_TRUE(QTest::qWaitFor([] { return evaluate(views[0], "window.menuAsked").toBool(); }, 10000));
    QTest::qWait(200);
    for (QWidget *widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QMenu *>(widget) && widget->isVisible());
}

TEST_F(BrowserViewTest, ReloadAndRunScriptActOnTheMainFrame) {
    load(views[0], "other.html");
    views[0]->runScript("window.mark = 'set';");
    EXPECT_EQ(evaluate(views[0], "window.mark").toString(), "set");
    QSignalSpy finished(views[0], &QWebEngineView::loadFinished);
    views[0]->reload();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(evaluate(views[0], "typeof window.mark").toString(), "undefined");
    EXPECT_EQ(views[0]->url(), QUrl(pageUrl("other.html")));
}

TEST_F(BrowserViewTest, AMenuLinkWithAnEmptyAddressCallsTheClientWithoutReloadingThePage) {
    load(views[0], "menu.html");
    views[0]->runScript("window.mark = 'set';");
    QSignalSpy started(views[0], &QWebEngineView::loadStarted);
    QSignalSpy finished(views[0], &QWebEngineView::loadFinished);
    runAndCollect(views[0], "document.getElementById('logout').click()", 1);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].name, "logout");
    // Whatever the engine began has ended, and the page is the one the script marked.
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() >= started.size(); }, 10000));
    EXPECT_EQ(evaluate(views[0], "window.mark").toString(), "set");
}

TEST_F(BrowserViewTest, AllViewsShareOneProfile) {
    EXPECT_EQ(views[0]->page()->profile(), host->profile());
    EXPECT_EQ(views[1]->page()->profile(), host->profile());
}

TEST_F(BrowserViewTest, AHostTakesItsRemainingViewsWithIt) {
    QWidget window;
    auto *second = new BrowserHost(data, ServiceCertificatePolicy(QUrl(), QString()), [](const QUrl &) {});
    QPointer<ChromiumView> view = second->createView(&window);
    delete second;
    EXPECT_TRUE(view.isNull());
}

TEST_F(BrowserViewTest, AScriptAfterALoadRunsOnTheAwaitedPageOnly) {
    const std::string mark = "window.mark = 'after load';";
    const QString marked = QStringLiteral("window.mark === 'after load'");
    // The awaited page cuts short the load of the page before it: the script runs on the awaited one.
    load(views[0], "menu.html");
    views[0]->navigate(pageUrl("page.html").toStdString());
    views[0]->navigate(pageUrl("other.html").toStdString());
    views[0]->runScriptAfterLoad(pageUrl("other.html").toStdString(), mark);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return views[0]->url() == QUrl(pageUrl("other.html")) && evaluate(views[0], marked).toBool(); },
        10000));

    // The awaited page never comes (its render failed): the next page does not get the script.
    views[0]->runScriptAfterLoad(pageUrl("other.html").toStdString(), mark);
    for (const char *next : {"menu.html", "other.html"}) {
        load(views[0], next);
        EXPECT_FALSE(evaluate(views[0], marked).toBool()) << next;
    }

    // The awaited page fails to load: a later, successful load of it does not get the script.
    const QString late = QStringLiteral("late.html");
    QSignalSpy finished(views[0], &QWebEngineView::loadFinished);
    views[0]->navigate(pageUrl(late).toStdString());
    views[0]->runScriptAfterLoad(pageUrl(late).toStdString(), mark);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(finished.first().first().toBool());
    writeFile(data + '/' + late, "<!DOCTYPE html><html><body>late</body></html>");
    load(views[0], late);
    EXPECT_FALSE(evaluate(views[0], marked).toBool());
}

// A service with a certificate from an authority the system does not know: its pictures load only
// when the client's built-in authority file vouches for that certificate.
class ServiceCertificateTest : public BrowserViewTest {
protected:
    static void SetUpTestSuite() {
        BrowserViewTest::SetUpTestSuite();
        certificates = new TestCertificates;
        ASSERT_TRUE(certificates->makeAuthority("service-ca"));
        ASSERT_TRUE(certificates->makeAuthority("other-ca"));
        ASSERT_TRUE(certificates->makeLeaf("service", "service-ca", "IP:127.0.0.1"));
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate::fromPath(certificates->path("service.pem")).first());
        QFile key(certificates->path("service.key"));
        ASSERT_TRUE(key.open(QIODevice::ReadOnly));
        tls.setPrivateKey(QSslKey(&key, QSsl::Ec));
        server = new QSslServer;
        server->setSslConfiguration(tls);
        ASSERT_TRUE(server->listen(QHostAddress::LocalHost));
        QObject::connect(server, &QTcpServer::pendingConnectionAvailable, [] {
            while (QTcpSocket *socket = server->nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\n"
                                  "Content-Length: " +
                                  QByteArray::number(onePixelPng.size()) + "\r\n\r\n" + onePixelPng);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    static void TearDownTestSuite() {
        delete server;
        delete certificates;
        BrowserViewTest::TearDownTestSuite();
    }

    struct PictureLoad {
        bool shown;
        int certificateErrors; // how often the engine asked the client about the service's certificate
    };
    // What a page of a host trusting caFile makes of the service's picture.
    static PictureLoad pictureLoad(const QString &caFile) {
        const QString base = QStringLiteral("https://127.0.0.1:%1").arg(server->serverPort());
        const QString page = root->filePath("data/cover.html");
        writeFile(page, "<!DOCTYPE html><html><body><img id='cover' src='" + base.toUtf8() +
                            "/prod/img/cover.png'></body></html>");
        BrowserHost serviceHost(data, ServiceCertificatePolicy(QUrl(base), caFile), [](const QUrl &) {});
        ChromiumView *view = serviceHost.createView();
        int certificateErrors = 0;
        QObject::connect(view->page(), &QWebEnginePage::certificateError,
                         [&](const QWebEngineCertificateError &) { ++certificateErrors; });
        QSignalSpy finished(view, &QWebEngineView::loadFinished);
        view->navigate(QUrl::fromLocalFile(page).toString().toStdString());
        EXPECT_TRUE(finished.wait(20000));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return evaluate(view, "document.getElementById('cover').complete").toBool(); }, 20000));
        return {evaluate(view, "document.getElementById('cover').naturalWidth").toInt() == 1,
                certificateErrors};
    }

    static inline TestCertificates *certificates = nullptr;
    static inline QSslServer *server = nullptr;
};

TEST_F(ServiceCertificateTest, PicturesFromTheServiceLoadOnlyWithItsOwnAuthority) {
    for (const QString &caFile : {QString(), certificates->path("other-ca.pem")}) {
        const PictureLoad refused = pictureLoad(caFile);
        EXPECT_FALSE(refused.shown) << caFile.toStdString();
        EXPECT_GT(refused.certificateErrors, 0) << caFile.toStdString();
    }
    // The engine itself trusts the service's authority: the first handshake succeeds, and the
    // client's certificate rule is never asked.
    const PictureLoad trusted = pictureLoad(certificates->path("service-ca.pem"));
    EXPECT_TRUE(trusted.shown);
    EXPECT_EQ(trusted.certificateErrors, 0);
}
} // namespace
