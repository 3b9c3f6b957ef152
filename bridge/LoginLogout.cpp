// Logging in and out.
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "prompts/MessageBoxes.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

void TLibraryController::startLogin(const std::string &username, const std::string &password) {
    startStoring(
        QStringLiteral("Login"), lib.FUserJson,
        [&lib = lib, username, password] { return lib.LoginRequest(username, password); },
        [this](const JsonPtr &reply) { LoginRequestTerminated(reply); });
}

void TLibraryController::LoginRequestTerminated(const JsonPtr &reply) {
    state.FTaskControl.reset();
    if (state.RequestCancelled)
        return;
    // A reply without a "code" is no answer to the login: the form comes back for another try, as after
    // a refusal, rather than leaving the member before a loading page with no way on.
    if (!replyHasCode(reply)) {
        showWarning(QStringLiteral(" #387 Balasan layanan tidak memuat \"code\""));
        loadLoginPage();
        return;
    }
    if (replyText(reply, "code") != "200") {
        showWarning(replyMessage(reply));
        loadLoginPage();
        return;
    }
    window.setHeaderVisible(true);
    lib.setSession(loginSession(reply));
    startBannerRequest();
}

// The logout task's handle is not kept: the current page stays until the call has ended, whatever
// its outcome.
void TLibraryController::startLogout() {
    BackgroundTask::start(
        QStringLiteral("logout"), this, [&lib = lib](TaskContext &) { lib.Logoutrequest(); },
        [this] { LogoutTaskTerminated(); });
}

void TLibraryController::LogoutTaskTerminated() {
    if (state.RequestCancelled)
        return; // the window has closed and the service client with it
    window.bringBrowserToFront(LibraryView::Chromium1);
    loadLoginPage();
    window.setHeaderVisible(false);
}
