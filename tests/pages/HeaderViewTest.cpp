// The catalogue header in a real view, on every page that shows it, with the client's `app`: the
// member picks each filter item with the mouse and presses Enter, and the search sent carries that
// filter; hovering over the avatar opens the account menu.
#include "PagesFixture.h"
#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"
#include "pages/FirstRun.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "tests/support/PageScript.h"

#include <QTest>
#include <QWebEnginePage>

#include <cctype>
#include <functional>
#include <optional>
#include <ostream>

namespace {

// No service answers here: pictures fail at once instead of waiting for a name lookup.
constexpr const char *unreachableBase = "https://127.0.0.1:9";

struct HeaderPage {
    const char *name;
    const char *file;
    std::function<void(TRuvasaLib &, BrowserView &)> render;
};

const HeaderPage headerPages[] = {
    {"title search results", PageFiles::TitleSearch,
     [](TRuvasaLib &lib, BrowserView &view) { lib.renderSearchResult(view, 1, "kata", "Semua"); }},
    {"sentence search results", PageFiles::SentenceSearch,
     [](TRuvasaLib &lib, BrowserView &view) { lib.renderSearchKalimatResult(view, 1, "kata"); }},
    {"home", PageFiles::Home, [](TRuvasaLib &lib, BrowserView &view) { lib.renderHomeHtmlFile(view, 1); }},
    {"top-read list", PageFiles::Chart,
     [](TRuvasaLib &lib, BrowserView &view) { lib.renderTopChart(view, 1); }},
    {"last-read list", PageFiles::Chart,
     [](TRuvasaLib &lib, BrowserView &view) { lib.renderLastRead(view, 1); }},
    {"last-viewed list", PageFiles::Chart,
     [](TRuvasaLib &lib, BrowserView &view) { lib.renderLastView(view, 1); }},
};

void PrintTo(const HeaderPage &page, std::ostream *out) {
    *out << page.name;
}

class HeaderInView : public ::testing::TestWithParam<HeaderPage> {
protected:
    static void SetUpTestSuite() {
        lib = new TRuvasaLib(ServiceEndpoint{unreachableBase, ""});
        loadSampleCatalogue(*lib);
        host =
            new BrowserHost(QString::fromStdString(lib->FPath),
                            ServiceCertificatePolicy(QUrl(unreachableBase), QString()), [](const QUrl &) {});
        view = host->createView();
        view->resize(1280, 900);
        view->show();
        QObject::connect(view, &ChromiumView::processMessageReceived,
                         [](ChromiumView *, const ProcessMessage &message) { received.push_back(message); });
    }
    static void TearDownTestSuite() {
        delete host; // and the view with it
        delete lib;
    }

    // Renders the page into the view and waits until it has loaded with its scripts.
    static void show(const HeaderPage &page) {
        const QUrl target(QString::fromStdString(pageUrl(pagePath(lib->FPath, page.file))));
        std::optional<bool> ok;
        const QMetaObject::Connection finished =
            QObject::connect(view, &QWebEngineView::loadFinished, [&](bool success) {
                if (view->url() == target)
                    ok = success;
            });
        FirstRun = 2; // no introduction dialog over the home page
        page.render(*lib, *view);
        const bool arrived = QTest::qWaitFor([&] { return ok.has_value(); }, 30000);
        QObject::disconnect(finished);
        ASSERT_TRUE(arrived && *ok);
        ASSERT_TRUE(holds("typeof jQuery === 'function' && document.readyState === 'complete'"));
    }

    static bool holds(const QString &condition) {
        return QTest::qWaitFor([&] { return evaluateInPage(view->page(), condition).toBool(); }, 10000);
    }

    // The middle of the element that `finder` (a script expression) names, in view coordinates.
    static QPoint middleOf(const QString &finder) {
        const QVariantList xy =
            evaluateInPage(view->page(), "(function () { var r = (" + finder +
                                             ").getBoundingClientRect(); return [r.left + r.width / 2, "
                                             "r.top + r.height / 2]; })()")
                .toList();
        EXPECT_EQ(xy.size(), 2) << finder.toStdString();
        return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint();
    }

    static void click(const QString &finder) {
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, middleOf(finder));
    }

    static inline TRuvasaLib *lib = nullptr;
    static inline BrowserHost *host = nullptr;
    static inline ChromiumView *view = nullptr;
    static inline std::vector<ProcessMessage> received;
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
};

TEST_P(HeaderInView, EachFilterItemIsTheFieldOfTheNextSearch) {
    show(GetParam());
    ASSERT_NE(view->focusProxy(), nullptr);
    evaluateInPage(view->page(), "$('#keyword').val('cahaya')");
    for (const char *label : {"Penulis", "Penerbit", "ISBN", "Kalimat", "Semua"}) {
        SCOPED_TRACE(label);
        click("document.querySelector('#header .btn-filter')");
        ASSERT_TRUE(holds("$('#header .search-panel').hasClass('open')"));
        click(QStringLiteral("Array.from(document.querySelectorAll('#header .search-panel .dropdown-menu a'))"
                             ".find(function (a) { return a.textContent === '%1'; })")
                  .arg(label));
        click("document.getElementById('keyword')");
        received.clear();
        QTest::keyClick(view->focusProxy(), Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([] { return !received.empty(); }, 10000));
        const ProcessMessage expected{"searching", {std::string("cahaya"), std::string(label), 1}};
        EXPECT_EQ(received.front(), expected)
            << "sent " << received.front().name << " with the filter \"" << received.front().text(1) << "\"";
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_P(HeaderInView, AccountMenuOpensOverTheAvatar) {
    show(GetParam());
    ASSERT_NE(view->focusProxy(), nullptr);
    const QPoint away(640, 700);
    QTest::mouseMove(view->focusProxy(), away);
    EXPECT_FALSE(evaluateInPage(view->page(), "$('#header .login-inner').is(':visible')").toBool());
    QTest::mouseMove(view->focusProxy(), middleOf("document.querySelector('#header .login-wrap img')"));
    EXPECT_TRUE(holds("$('#header .login-wrap').hasClass('open') && $('#overlay').is(':visible') && "
                      "$('#header .login-inner').is(':visible')"));
    QTest::mouseMove(view->focusProxy(), away);
    EXPECT_TRUE(
        holds("!$('#header .login-wrap').hasClass('open') && !$('#header .login-inner').is(':visible')"));
}

INSTANTIATE_TEST_SUITE_P(EveryPageWithTheHeader, HeaderInView, ::testing::ValuesIn(headerPages),
                         [](const ::testing::TestParamInfo<HeaderPage> &info) {
                             std::string name;
                             for (const char c : std::string(info.param.name))
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name;
                         });

} // namespace
