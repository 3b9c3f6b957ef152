// The client of the memory benchmark: started as the program starts, logged in as the first sample
// member, led through the seven catalogue views by clicks made by script in its pages (as the
// end-to-end tests do), then given three books through the reader.
#include "app/AppGlobals.h"
#include "app/ClientStartup.h"
#include "app/FormMain.h"
#include "bench/BenchPages.h"
#include "bench/MemoryPrograms.h"
#include "bridge/ProgramState.h"
#include "browser/ChromiumView.h"
#include "browser/HiddenPageDiscard.h"
#include "devserver/SampleContent.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "tests/e2e/ClientHarness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QWebEnginePage>

#include <algorithm>

#include <memory>
#include <vector>

namespace memory {

namespace {

using e2e::evaluate;
using e2e::processUntil;
using e2e::waitForPage;

// The client's main window, with its books let go so that it closes.
struct ShownClient {
    std::unique_ptr<TFormMain> window;
    ~ShownClient() {
        if (!window)
            return;
        window->reader().releaseAll();
        window->close();
    }
    ChromiumView *view(LibraryView which) const { return window->view(which); }
};

QString click(const char *selector) {
    return QStringLiteral("document.querySelector(\"%1\").click()").arg(QLatin1String(selector));
}
QString present(const char *selector) {
    return QStringLiteral("document.querySelector(\"%1\")").arg(QLatin1String(selector));
}

// A script run in one view that ends with a page loaded in another.
struct Step {
    LibraryView from;
    QString script;
    LibraryView to;
    QString file;
    QString ready;
};

// From the home page, each further kind of catalogue page in its own view: a section, a detail, the
// categories, a category's books, the top chart and a title search.
std::vector<Step> sixViewSteps() {
    using enum LibraryView;
    return {
        {Chromium1, click(".link-see-all"), Chromium2, "index_detail.html", present(".breadcrumb a")},
        {Chromium1, click("[onclick^='app.detail(']"), Chromium3, "detail.html", present(".btn-baca")},
        {Chromium1, click("[onclick^='app.loadKategori(']"), Chromium4, "category.html",
         present("[onclick^='app.kategoriKonten(']")},
        {Chromium4, click("[onclick^='app.kategoriKonten(']"), Chromium5, "category_detail.html",
         present("[onclick^='app.detailFromCategory(']")},
        {Chromium1, click("[onclick='app.topChart()']"), Chromium6, "topChart.html",
         present("[onclick^='app.detailFromChart(']")},
        {Chromium1, QStringLiteral("$('#keyword').val('a'); $('#submitSearch').submit();"), Chromium7,
         "search_result.html", present("[onclick^='app.detailFromSearch(']")},
    };
}

bool showsLoginPage(const ShownClient &client) {
    return waitForPage(client.view(LibraryView::Chromium1), QStringLiteral("login.html"),
                       QStringLiteral("document.getElementById('email')"));
}

bool logIn(const ShownClient &client) {
    const devserver::SampleMember &member = devserver::sampleMembers().front();
    ChromiumView *view = client.view(LibraryView::Chromium1);
    evaluate(view,
             QStringLiteral("document.getElementById('email').value = '%1';"
                            "document.getElementById('kata_sandi').value = '%2';"
                            "$('#login_form').submit();")
                 .arg(QString::fromStdString(member.username), QString::fromStdString(member.password)));
    return waitForPage(view, QStringLiteral("index.html"),
                       QStringLiteral("document.querySelectorAll('.section-item').length > 0"));
}

bool loadOtherSixViews(const ShownClient &client) {
    for (const Step &step : sixViewSteps()) {
        evaluate(client.view(step.from), step.script);
        if (!waitForPage(client.view(step.to), step.file, step.ready))
            return false;
    }
    return true;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Brings `which` to the front and answers the milliseconds until its page has drawn a frame; a page
// given up while hidden is first loaded again and restored.
double showUntilFramed(const ShownClient &client, LibraryView which) {
    ChromiumView *view = client.view(which);
    const bool discarded = view->page()->lifecycleState() == QWebEnginePage::LifecycleState::Discarded;
    bool restored = false;
    const QMetaObject::Connection connection =
        discarded ? QObject::connect(view->findChild<HiddenPageDiscard *>(), &HiddenPageDiscard::restored,
                                     [&] { restored = true; })
                  : QMetaObject::Connection();
    QElapsedTimer clock;
    clock.start();
    client.window->bringBrowserToFront(which);
    if (discarded)
        processUntil([&] { return restored; });
    QObject::disconnect(connection);
    evaluate(view,
             QStringLiteral("window.framed = false; requestAnimationFrame(() => window.framed = true)"));
    processUntil([&] { return evaluate(view, QStringLiteral("window.framed")).toBool(); });
    return clock.nsecsElapsed() / 1e6;
}

// The median time to bring a catalogue view back to the front from the home page: while its page is
// still live (switch_ms), and once its page has been given up (return_ms, with the slowest).
void reportViewSwitching(const ShownClient &client) {
    std::vector<double> switches;
    std::vector<double> returns;
    for (int round = 0; round < 3; ++round) {
        for (int index = 1; index < static_cast<int>(client.window->Chromium.size()); ++index) {
            const auto which = static_cast<LibraryView>(index + 1);
            ChromiumView *view = client.view(which);
            showUntilFramed(client, LibraryView::Chromium1);
            processUntil(
                [&] { return view->page()->lifecycleState() == QWebEnginePage::LifecycleState::Discarded; });
            returns.push_back(showUntilFramed(client, which));
            showUntilFramed(client, LibraryView::Chromium1);
            switches.push_back(showUntilFramed(client, which));
        }
    }
    reportFigure("switch_ms", median(switches));
    reportFigure("return_ms", median(returns));
    reportFigure("return_max_ms", *std::max_element(returns.begin(), returns.end()));
}

// Scrolls the home page, with its covers and banners, for a second, a step per frame, and reports the
// frames drawn.
void reportScrolling(const ShownClient &client) {
    client.window->bringBrowserToFront(LibraryView::Chromium1);
    ChromiumView *home = client.view(LibraryView::Chromium1);
    evaluate(home, QStringLiteral(
                       "window.scrollFrames = 0; window.scrolled = false; window.scrollTo(0, 0);"
                       "requestAnimationFrame(start => (function step(now) {"
                       "  ++window.scrollFrames; window.scrollBy(0, 8);"
                       "  if (now - start < 1000) requestAnimationFrame(step); else window.scrolled = true;"
                       "})(start));"));
    processUntil([&] { return evaluate(home, QStringLiteral("window.scrolled")).toBool(); });
    reportFigure("scroll_fps", evaluate(home, QStringLiteral("window.scrollFrames")).toDouble());
}

// Copies the data folder below `pagesCopy` and names the page each view shows.
void reportPages(const ShownClient &client, const QString &pagesCopy) {
    const QDir data(QString::fromStdString(RuvasaLib->FPath));
    copyFolder(data.path(), pagesCopy);
    for (ChromiumView *view : client.window->Chromium)
        reportPage(data.relativeFilePath(view->url().toLocalFile()));
}

// The boxes that tell of a failure; a question (such as going on at the last page read, which the
// scripted boxes answer with Yes) is part of opening a book.
std::vector<QString> failureTexts(const ScriptedMessageBoxes &boxes) {
    std::vector<QString> texts;
    for (const ScriptedMessageBoxes::Shown &box : boxes.shown)
        if (box.kind != MsgKind::Confirmation)
            texts.push_back(box.text);
    return texts;
}

// Borrows book `id` as its detail page's "baca" does; true once it is open in the reader.
bool openBook(const ShownClient &client, const std::string &id, const ScriptedMessageBoxes &boxes) {
    TRuvasaLib &lib = *RuvasaLib;
    lib.FDetailContentJson.store(lib.DetailContentRequest(id));
    const int before = client.window->library().state.readCount;
    client.window->startBookDownload(BorrowRequest::from(lib.FDetailContentJson.load()));
    return processUntil([&] {
               return client.window->library().state.readCount > before || !failureTexts(boxes).empty();
           }) &&
           client.window->library().state.readCount > before;
}

// Says on standard error which step failed and what the boxes shown said; answers 1, the failure.
int failed(const std::string &step, const ScriptedMessageBoxes &boxes) {
    qWarning("memory_bench client: %s failed", step.c_str());
    for (const QString &text : failureTexts(boxes))
        qWarning("memory_bench client: a message box said %s", qPrintable(text));
    return 1;
}

} // namespace

int runClient(const ServiceEndpoint &endpoint, const QString &pagesCopy) {
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope(boxes);
    ShownClient client{startClient({endpoint, [](const QString &) {}})};
    if (!client.window)
        return failed("the start", boxes);
    client.window->showMaximized();
    if (!showsLoginPage(client))
        return failed("the login page", boxes);
    reportSettledTree("login");
    if (!logIn(client))
        return failed("the login", boxes);
    reportSettledTree("home");
    if (!loadOtherSixViews(client))
        return failed("the catalogue views", boxes);
    reportSettledTree("views");
    reportViewSwitching(client);
    reportScrolling(client);
    reportPages(client, pagesCopy);
    for (const std::string id : {devserver::kBookLong, "1001", "1002"})
        if (!openBook(client, id, boxes))
            return failed("borrowing " + id, boxes);
    reportSettledTree("books");
    return failureTexts(boxes).empty() ? 0 : failed("a step", boxes);
}

} // namespace memory
