#pragma once
#include "bridge/BorrowRequest.h"
#include "bridge/LibraryWindow.h"
#include "bridge/ProgramState.h"
#include "service/JsonDocument.h"
#include "tasks/BackgroundTask.h"
#include "web/ProcessMessage.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

class BrowserView;
class ReplyField;
class TRuvasaLib;

// The library side of the main window: turns the pages' process messages into actions, runs the
// catalogue requests in the background and shows their pages, logs members in and out.
// Lives on the UI thread; its task completions are dropped once it is destroyed.
class TLibraryController : public QObject {
    Q_OBJECT
public:
    TLibraryController(LibraryWindow &window, TRuvasaLib &lib, ProgramState &state,
                       QObject *parent = nullptr);

    // The program-wide values, owned by the main window and shared with the reader.
    ProgramState &state;

    // One message from page script, received by any of the views (`source`).
    void ProcessMessageReceived(BrowserView &source, const ProcessMessage &message);

    // The data folder's "login.html" into the first view.
    void loadLoginPage();
    // The data folder's "loading.html" into `view`.
    void loadLoadingPage(LibraryView view);
    // file:// address of a file of the data folder.
    std::string localPageUrl(const char *name) const;

    // The session ended elsewhere: `text` as an error, then the login page in front.
    void showSessionEnded(const char *text);

    // First link of the home chain: banners, then the menu, then the first home page.
    void startBannerRequest();

private:
    using Row = std::function<void(BrowserView &source, const ProcessMessage &message)>;
    // The differences between the content members' completions.
    struct ContentMember {
        LibraryView view;
        bool homeOnFailure; // bring the home page to the front after a failure
        const char *authText;
    };

    std::unordered_map<std::string, Row> dispatchTable();

    // ---- Message rows that need more than one line ----
    void loginMessage(const ProcessMessage &message);
    void logoutMessage();
    void loadMoreMessage(BrowserView &source);
    void chartMessage(const std::string &type, bool stopPrevious);
    void loadMoreChartMessage(const std::string &type, int page);
    void detailMessage(const std::string &idKonten, const std::string &from, bool waitForPrevious);
    void searchingMessage(const ProcessMessage &message);
    void bacaMessage(const ProcessMessage &message);
    // The limit check of the three borrowing rows; true when the member may open another book.
    bool mayOpenAnotherBook() const;

    // ---- Tasks ----
    TaskHandle startTask(const QString &name, BackgroundTask::Body body,
                         BackgroundTask::Completion completion);
    // A completion that gets the reply its task's request received.
    using ReplyCompletion = std::function<void(const JsonPtr &reply)>;
    void startStoring(const QString &name, ReplyField &field, std::function<JsonPtr()> request,
                      ReplyCompletion completion);
    void startCategoryRequest();
    void startHomeRequest(const QString &name, int page);
    void startHomeDetail(const std::string &idHomepage, const std::string &judul);
    void startCategoryContent(const std::string &idDept, const std::string &idKategori,
                              const std::string &nama);
    void startSubCategoryContent(const std::string &idDept, const std::string &idSubKategori,
                                 const std::string &nama);
    void startChart(const std::string &type, int page);
    // With `borrow`, the detail is fetched for borrowing the book rather than for showing it.
    void startDetail(const std::string &idKonten, const std::string &from,
                     std::optional<BorrowRequest> borrow = std::nullopt);
    void startSearch(const std::string &field, const std::string &keyword, int page);
    void startLogin(const std::string &username, const std::string &password);
    void startLogout();

    // ---- Completions ----
    void BannerRequestTerminated();
    void CategoryRequestTerminated();
    void HomeRequestTerminated();
    void ChartContentRequestTerminated(const std::string &type, int page, const JsonPtr &reply);
    void finishContent(const JsonPtr &reply, const ContentMember &member,
                       const std::function<void()> &render);
    void detailForReadingTerminated(BorrowRequest borrow, JsonPtr reply);
    void LoginRequestTerminated(const JsonPtr &reply);
    void LogoutTaskTerminated();

    LibraryWindow &window;
    TRuvasaLib &lib;
    std::unordered_map<std::string, Row> rows;
};
