#include "browser/HiddenPageDiscard.h"
#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"
#include "tests/support/PageScript.h"
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

using Lifecycle = QWebEnginePage::LifecycleState;

void writeFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A tall list page with the kinds of things a member sets in the catalogue's pages.
const QByteArray listPage = R"(<!DOCTYPE html><html><body style="height: 6000px">
<span id="search_concept">Semua</span><input type="hidden" id="search_param" value="all">
<input type="text" id="query"><select id="dept"><option value="1">A</option><option value="3">B</option></select>
<input type="checkbox" id="only">
<div id="box"></div><div id="late"></div>
</body></html>)";

// Two views in one stack, as the library area holds them; the first gives up its page when hidden.
class HiddenPageDiscardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = new QTemporaryDir;
        writeFile(root->filePath("list.html"), listPage);
        writeFile(root->filePath("other.html"), "<!DOCTYPE html><html><body>other</body></html>");
        host =
            new BrowserHost(root->path(), ServiceCertificatePolicy(QUrl("https://127.0.0.1:8443"), QString()),
                            [](const QUrl &) {});
        areas = new QStackedWidget;
        areas->resize(800, 600);
        stack = new QStackedWidget(areas);
        areas->addWidget(stack);
        areas->addWidget(new QWidget(areas)); // the reader's area
        for (auto *&view : views) {
            view = host->createView(stack);
            stack->addWidget(view);
        }
        areas->show();
    }
    static void TearDownTestSuite() {
        delete areas;
        delete host;
        delete root;
    }
    void SetUp() override {
        areas->setCurrentWidget(stack);
        stack->setCurrentWidget(views[0]);
        load(views[0], "list.html");
    }
    void TearDown() override { discard.reset(); }

    static QString url(const QString &name) { return QUrl::fromLocalFile(root->filePath(name)).toString(); }

    // Loads the page `name`; `meanwhile` runs once the load has been asked for.
    static void load(ChromiumView *view, const QString &name, const std::function<void()> &meanwhile = {}) {
        std::optional<bool> ok;
        const QMetaObject::Connection finished =
            QObject::connect(view, &QWebEngineView::loadFinished, [&](bool success) {
                if (view->url() == QUrl(url(name)))
                    ok = success;
            });
        view->navigate(url(name).toStdString());
        if (meanwhile)
            meanwhile();
        const bool arrived = QTest::qWaitFor([&] { return ok.has_value(); }, 20000);
        QObject::disconnect(finished);
        ASSERT_TRUE(arrived && *ok) << name.toStdString();
    }

    static QVariant evaluate(ChromiumView *view, const QString &script) {
        return evaluateInPage(view->page(), script);
    }

    void watchFirstView(std::chrono::milliseconds delay) {
        discard = std::make_unique<HiddenPageDiscard>(*views[0], delay);
    }

    // The other view to the front; true once the first view's page has been given up.
    static bool hideUntilDiscarded() {
        stack->setCurrentWidget(views[1]);
        return QTest::qWaitFor([] { return views[0]->page()->lifecycleState() == Lifecycle::Discarded; },
                               10000);
    }

    static inline QTemporaryDir *root = nullptr;
    static inline BrowserHost *host = nullptr;
    static inline QStackedWidget *areas = nullptr; // the library's views and the reader
    static inline QStackedWidget *stack = nullptr; // the library's views
    static inline ChromiumView *views[2] = {};
    std::unique_ptr<HiddenPageDiscard> discard;
};

TEST_F(HiddenPageDiscardTest, ADiscardedPageComesBackAsTheMemberAndTheClientLeftIt) {
    watchFirstView(std::chrono::milliseconds(50));
    ChromiumView *view = views[0];
    evaluate(view, "document.getElementById('query').value = 'laskar';"
                   "document.getElementById('dept').value = '3';"
                   "document.getElementById('only').checked = true;"
                   "document.getElementById('search_param').value = 'author';"
                   "document.getElementById('search_concept').textContent = 'Pengarang';"
                   "window.scrollTo(0, 1200); window.marker = 1;");
    view->runScript("document.getElementById('box').textContent = 'dept 7'");
    ASSERT_TRUE(hideUntilDiscarded());
    // The client's script for a page whose document is gone waits for the page to be back.
    view->runScript("document.getElementById('late').textContent = 'more rows'");

    QSignalSpy restored(discard.get(), &HiddenPageDiscard::restored);
    stack->setCurrentWidget(view);
    ASSERT_TRUE(restored.wait(10000));
    EXPECT_EQ(view->page()->lifecycleState(), Lifecycle::Active);
    EXPECT_EQ(evaluate(view, "typeof window.marker").toString(), "undefined")
        << "the page was not loaded again";
    const QVariantMap state =
        evaluate(view, "({query: document.getElementById('query').value,"
                       " dept: document.getElementById('dept').value,"
                       " only: document.getElementById('only').checked,"
                       " param: document.getElementById('search_param').value,"
                       " concept: document.getElementById('search_concept').textContent,"
                       " box: document.getElementById('box').textContent,"
                       " late: document.getElementById('late').textContent, y: window.scrollY})")
            .toMap();
    EXPECT_EQ(state["query"].toString(), "laskar");
    EXPECT_EQ(state["dept"].toString(), "3");
    EXPECT_TRUE(state["only"].toBool());
    EXPECT_EQ(state["param"].toString(), "author");
    EXPECT_EQ(state["concept"].toString(), "Pengarang");
    EXPECT_EQ(state["box"].toString(), "dept 7");
    EXPECT_EQ(state["late"].toString(), "more rows");
    EXPECT_EQ(state["y"].toInt(), 1200);
    EXPECT_EQ(evaluate(view, "typeof app").toString(), "object") << "the page lost its way to the client";

    // Hidden and shown again a second time: the client's scripts are still known.
    ASSERT_TRUE(hideUntilDiscarded());
    stack->setCurrentWidget(view);
    ASSERT_TRUE(restored.wait(10000));
    EXPECT_EQ(evaluate(view, "document.getElementById('box').textContent").toString(), "dept 7");
}

// A page the client shows anew while the old one is discarded, even at the same address (a list
// written again), starts from its file: nothing of the old page is put over it.
TEST_F(HiddenPageDiscardTest, WhatTheClientShowsMeanwhileStartsFresh) {
    watchFirstView(std::chrono::milliseconds(50));
    ChromiumView *view = views[0];
    const auto show = [view] { stack->setCurrentWidget(view); };
    struct Case {
        const char *next;
        bool shownAtOnce; // brought to the front right after the navigation, as a detail is
    };
    for (const auto &[next, shownAtOnce] : {Case{"other.html", false}, Case{"list.html", false},
                                            Case{"other.html", true}, Case{"list.html", true}}) {
        SCOPED_TRACE(std::string(next) + (shownAtOnce ? ", shown at once" : ", shown after its load"));
        evaluate(view, "window.scrollTo(0, 900)");
        view->runScript("document.body.setAttribute('data-client', 'old')");
        ASSERT_TRUE(hideUntilDiscarded());
        QSignalSpy restored(discard.get(), &HiddenPageDiscard::restored);
        load(view, next, shownAtOnce ? std::function<void()>(show) : std::function<void()>());
        show();
        QTest::qWait(300);
        EXPECT_EQ(restored.count(), 0);
        EXPECT_EQ(view->url(), QUrl(url(next)));
        EXPECT_EQ(evaluate(view, "window.scrollY").toInt(), 0);
        EXPECT_TRUE(evaluate(view, "document.body.getAttribute('data-client')").isNull());
        load(view, "list.html");
    }
}

TEST_F(HiddenPageDiscardTest, TheViewInFrontStaysWhileTheReaderIsInFront) {
    watchFirstView(std::chrono::milliseconds(50));
    ChromiumView *view = views[0];
    evaluate(view, "window.marker = 1");
    areas->setCurrentIndex(1);
    QTest::qWait(600);
    EXPECT_EQ(view->page()->lifecycleState(), Lifecycle::Active);
    areas->setCurrentWidget(stack);
    EXPECT_EQ(evaluate(view, "window.marker").toInt(), 1);
}

TEST_F(HiddenPageDiscardTest, AViewShownAgainInTimeKeepsItsPage) {
    watchFirstView(std::chrono::seconds(5));
    ChromiumView *view = views[0];
    evaluate(view, "window.marker = 1");
    stack->setCurrentWidget(views[1]);
    QTest::qWait(200);
    stack->setCurrentWidget(view);
    QTest::qWait(5200);
    EXPECT_EQ(view->page()->lifecycleState(), Lifecycle::Active);
    EXPECT_EQ(evaluate(view, "window.marker").toInt(), 1);
}

} // namespace
