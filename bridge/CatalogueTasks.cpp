// The catalogue requests: bodies on pool threads, completions on the UI thread.
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "prompts/MessageBoxes.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

#include <algorithm>
#include <limits>

namespace {
// The running count of home sections, held within int's range however large the replies' totals.
int sectionsDelivered(int sum, int total) {
    const long long next = static_cast<long long>(sum) + total;
    return static_cast<int>(
        std::clamp<long long>(next, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

const char *const AuthTextElsewhere = "Authentication Error : Akun Anda Digunakan Pada Perangkat Lain";
const char *const AuthTextOther = "Authentication Error : Akun Anda Digunakan Di Perangkat Lain";
} // namespace

std::string TLibraryController::localPageUrl(const char *name) const {
    return pageUrl(pagePath(lib.FPath, name));
}

void TLibraryController::loadLoginPage() {
    window.chromium(LibraryView::Chromium1).navigate(localPageUrl("login.html"));
}

void TLibraryController::loadLoadingPage(LibraryView view) {
    window.chromium(view).navigate(localPageUrl("loading.html"));
}

TaskHandle TLibraryController::startTask(const QString &name, BackgroundTask::Body body,
                                         BackgroundTask::Completion completion) {
    state.FTaskControl = BackgroundTask::start(name, this, std::move(body), std::move(completion));
    return state.FTaskControl;
}

// The common body: the previous reply is released and the new one stored by pointer swap, so an
// overlapping task of the same member never frees a document another still reads.
// The completion gets the reply its own body received, even when a later task has stored another
// in the field since.
void TLibraryController::startStoring(const QString &name, ReplyField &field,
                                      std::function<JsonPtr()> request, ReplyCompletion completion) {
    auto received = std::make_shared<JsonPtr>();
    startTask(
        name,
        [&field, request = std::move(request), received](TaskContext &) {
            field.reset();
            *received = request();
            field.store(*received);
        },
        [received, completion = std::move(completion)] { completion(*received); });
}

// ---- Home chain ----

void TLibraryController::startBannerRequest() {
    startStoring(
        QStringLiteral("BannerRequest"), lib.FBannerJson, [&lib = lib] { return lib.BannerRequest(); },
        [this](const JsonPtr &) { BannerRequestTerminated(); });
}

void TLibraryController::startCategoryRequest() {
    startStoring(
        QStringLiteral("CategoryRequest"), lib.FCategoryJson, [&lib = lib] { return lib.CategoryRequest(); },
        [this](const JsonPtr &) { CategoryRequestTerminated(); });
}

void TLibraryController::startHomeRequest(const QString &name, int page) {
    startStoring(
        name, lib.FHomeContentJson, [&lib = lib, page] { return lib.HomeRequest(page); },
        [this](const JsonPtr &) { HomeRequestTerminated(); });
}

void TLibraryController::BannerRequestTerminated() {
    state.FTaskControl.reset();
    if (state.RequestCancelled)
        return;
    JsonPtr reply = lib.FBannerJson.load();
    if (!replyHasCode(reply))
        return;
    if (replyText(reply, "code") != "200") {
        showWarning(replyMessage(reply));
        loadLoginPage();
        return;
    }
    startCategoryRequest();
}

void TLibraryController::CategoryRequestTerminated() {
    state.FTaskControl.reset();
    if (state.RequestCancelled)
        return;
    JsonPtr reply = lib.FCategoryJson.load();
    if (!replyHasCode(reply))
        return;
    if (replyText(reply, "code") != "200") {
        showWarning(replyMessage(reply));
        loadLoginPage();
        return;
    }
    // A new chain counts its sections afresh, so a second login in one run starts from zero.
    state.PageHome = 1;
    state.TotalHomeContent = 0;
    startHomeRequest(QStringLiteral("HomeRequest"), state.PageHome);
}

void TLibraryController::HomeRequestTerminated() {
    state.FTaskControl.reset();
    if (state.RequestCancelled)
        return;
    JsonPtr reply = lib.FHomeContentJson.load();
    if (!replyHasCode(reply) || replyText(reply, "code") != "200")
        return;
    state.CountHomeContent = replyInt(reply, "count");
    state.TotalHomeContent = sectionsDelivered(state.TotalHomeContent, replyInt(reply, "total"));
    lib.renderHomeHtmlFile(window.chromium(LibraryView::Chromium1), state.PageHome);
    window.runScriptAfterLoad(LibraryView::Chromium1, localPageUrl(PageFiles::Home),
                              state.TotalHomeContent == state.CountHomeContent ? "$(\"#btnMore\").hide();"
                                                                               : "$(\"#btnMore\").show();");
}

// ---- Content members ----

void TLibraryController::finishContent(const JsonPtr &reply, const ContentMember &member,
                                       const std::function<void()> &render) {
    state.FTaskControl.reset();
    if (state.RequestCancelled)
        return;
    if (replyText(reply, "code") == "200") {
        render();
        return;
    }
    if (isAuthFailed(reply)) {
        showSessionEnded(member.authText);
        return;
    }
    showError(replyMessage(reply));
    if (member.homeOnFailure)
        window.bringBrowserToFront(LibraryView::Chromium1);
}

void TLibraryController::showSessionEnded(const char *text) {
    showError(QString::fromUtf8(text));
    window.bringBrowserToFront(LibraryView::Chromium1);
    loadLoginPage();
}

void TLibraryController::startHomeDetail(const std::string &idHomepage, const std::string &judul) {
    startStoring(
        QStringLiteral("HomeDetail"), lib.FHomeDetailJson,
        [&lib = lib, idHomepage] { return lib.HomeDetailRequest(idHomepage); },
        [this, judul](const JsonPtr &reply) {
            BrowserView &view = window.chromium(LibraryView::Chromium2);
            finishContent(reply, {LibraryView::Chromium2, true, AuthTextElsewhere},
                          [&] { lib.renderHomeDetailHtmlFile(view, judul, reply); });
        });
}

void TLibraryController::startCategoryContent(const std::string &idDept, const std::string &idKategori,
                                              const std::string &nama) {
    startStoring(
        QStringLiteral("CategoryContentRequest"), lib.FCategoryContentJson,
        [&lib = lib, idDept, idKategori] { return lib.CategoryContentRequest(idDept, idKategori); },
        [this, nama](const JsonPtr &reply) {
            BrowserView &view = window.chromium(LibraryView::Chromium5);
            finishContent(reply, {LibraryView::Chromium5, true, AuthTextElsewhere},
                          [&] { lib.renderCategoryContent(view, nama, reply); });
        });
}

void TLibraryController::startSubCategoryContent(const std::string &idDept, const std::string &idSubKategori,
                                                 const std::string &nama) {
    startStoring(
        QStringLiteral("CategoryContentRequest"), lib.FSubCategoryContentJson,
        [&lib = lib, idDept, idSubKategori] { return lib.SubCategoryContentRequest(idDept, idSubKategori); },
        [this, nama](const JsonPtr &reply) {
            BrowserView &view = window.chromium(LibraryView::Chromium5);
            finishContent(reply, {LibraryView::Chromium5, true, AuthTextElsewhere},
                          [&] { lib.renderSubCategoryContent(view, nama, reply); });
        });
}

void TLibraryController::startChart(const std::string &type, int page) {
    startStoring(
        QStringLiteral("chartContentRequest"), lib.FChartContentJson,
        [&lib = lib, type, page] { return lib.ChartContentRequest(type, page); },
        [this, type, page](const JsonPtr &reply) { ChartContentRequestTerminated(type, page, reply); });
}

void TLibraryController::ChartContentRequestTerminated(const std::string &type, int page,
                                                       const JsonPtr &reply) {
    BrowserView &view = window.chromium(LibraryView::Chromium6);
    finishContent(reply, {LibraryView::Chromium6, true, AuthTextElsewhere}, [&] {
        if (type == "topRead")
            lib.renderTopChart(view, page, reply);
        else if (type == "lastRead")
            lib.renderLastRead(view, page, reply);
        else if (type == "lastView")
            lib.renderLastView(view, page, reply);
    });
}

void TLibraryController::startDetail(const std::string &idKonten, const std::string &from,
                                     std::optional<BorrowRequest> borrow) {
    startStoring(
        QStringLiteral("detail"), lib.FDetailContentJson,
        [&lib = lib, idKonten] { return lib.DetailContentRequest(idKonten); },
        [this, from, borrow](const JsonPtr &reply) {
            if (borrow) {
                detailForReadingTerminated(*borrow, reply);
                return;
            }
            BrowserView &view = window.chromium(LibraryView::Chromium3);
            finishContent(reply, {LibraryView::Chromium3, false, AuthTextOther},
                          [&] { lib.renderDetailContent(view, from, reply); });
        });
}

void TLibraryController::startSearch(const std::string &field, const std::string &keyword, int page) {
    state.isSearchRunning = true;
    startStoring(
        QStringLiteral("SearchRequest"), lib.FSearchContentJson,
        [&lib = lib, field, keyword, page] {
            return field == "Kalimat" ? lib.SearchKalimatRequest(keyword, page)
                                      : lib.SearchContentRequest(field, keyword, page);
        },
        [this, field, keyword, page](const JsonPtr &reply) {
            state.isSearchRunning = false;
            BrowserView &view = window.chromium(LibraryView::Chromium7);
            finishContent(reply, {LibraryView::Chromium7, false, AuthTextOther}, [&] {
                if (field == "Kalimat")
                    lib.renderSearchKalimatResult(view, page, keyword, reply);
                else
                    lib.renderSearchResult(view, page, keyword, field, reply);
            });
        });
}

// After a detail fetched for borrowing: the book's download starts, and the library returns to the
// list it came from once the book is open.
void TLibraryController::detailForReadingTerminated(BorrowRequest borrow, JsonPtr reply) {
    state.FTaskControl.reset();
    if (state.RequestCancelled) {
        showError(QStringLiteral("Request Detail Error. Check Your Connection"));
        return;
    }
    if (replyText(reply, "code") != "200") {
        if (isAuthFailed(reply))
            showSessionEnded(AuthTextOther);
        else
            showError(replyMessage(reply));
        return;
    }
    window.bringBrowserToFront(LibraryView::Chromium3);
    loadLoadingPage(LibraryView::Chromium3);
    borrow.detail = std::move(reply);
    window.startBookDownload(borrow);
}
