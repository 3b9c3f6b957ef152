// The process messages of the pages, one row per message name.
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "prompts/MessageBoxes.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

#include <charconv>
#include <optional>

namespace {
QString qs(const std::string &text) {
    return QString::fromStdString(text);
}

bool confirmed(const QString &text) {
    return messageBoxes().show(MsgKind::Confirmation, text, MsgButtons::OkCancel) == MsgAnswer::Ok;
}

// The whole text as a decimal integer, or nothing.
std::optional<int> wholeNumber(const std::string &text) {
    int number = 0;
    const char *end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

const char *const HideMoreButton = "$(\"#btnMore\").hide()";
} // namespace

TLibraryController::TLibraryController(LibraryWindow &window, TRuvasaLib &lib, ProgramState &state,
                                       QObject *parent)
    : QObject(parent), state(state), window(window), lib(lib), rows(dispatchTable()) {
    lib.OnRenderError = [](const std::string &text) { showError(QString::fromStdString(text)); };
}

void TLibraryController::ProcessMessageReceived(BrowserView &source, const ProcessMessage &message) {
    if (state.RequestCancelled)
        return; // a message still queued when the window closed: the service client is gone
    auto row = rows.find(message.name);
    if (row == rows.end())
        return; // unknown names, such as "forgotPassRequest", are ignored
    try {
        row->second(source, message);
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error : ") + QString::fromUtf8(error.what()));
    }
}

std::unordered_map<std::string, TLibraryController::Row> TLibraryController::dispatchTable() {
    using M = const ProcessMessage &;
    auto front = [this](LibraryView view) {
        return [this, view](BrowserView &, M) { window.bringBrowserToFront(view); };
    };
    return {
        {"login", [this](BrowserView &, M m) { loginMessage(m); }},
        {"logout", [this](BrowserView &, M) { logoutMessage(); }},
        {"account", [](BrowserView &, M) { showInformation(QStringLiteral("Under Construction")); }},
        {"register", [this](BrowserView &, M) { window.showRegistration(); }},
        {"forgotPass", [this](BrowserView &, M) { window.showForgotPassword(); }},
        {"loadMore", [this](BrowserView &source, M) { loadMoreMessage(source); }},
        {"homeDetail",
         [this](BrowserView &, M m) {
             window.bringBrowserToFront(LibraryView::Chromium2);
             loadLoadingPage(LibraryView::Chromium2);
             state.FTaskControl.reset();
             startHomeDetail(m.text(0), m.text(1));
         }},
        {"loadKategori",
         [this](BrowserView &, M) {
             loadLoadingPage(LibraryView::Chromium4);
             window.bringBrowserToFront(LibraryView::Chromium4);
             lib.renderCategoryHtmlFile(window.chromium(LibraryView::Chromium4));
         }},
        {"changeDept",
         [this](BrowserView &, M m) { lib.renderDept(window.chromium(LibraryView::Chromium4), m.text(0)); }},
        {"kategoriKonten",
         [this](BrowserView &, M m) {
             window.bringBrowserToFront(LibraryView::Chromium5);
             loadLoadingPage(LibraryView::Chromium5);
             state.FTaskControl.reset();
             startCategoryContent(m.text(0), m.text(1), m.text(3));
         }},
        {"subKategoriKonten",
         [this](BrowserView &, M m) {
             loadLoadingPage(LibraryView::Chromium5);
             window.bringBrowserToFront(LibraryView::Chromium5);
             state.FTaskControl.reset();
             startSubCategoryContent(m.text(0), m.text(1), m.text(3));
         }},
        {"topChart", [this](BrowserView &, M) { chartMessage("topRead", true); }},
        {"loadMoreChart", [this](BrowserView &, M m) { loadMoreChartMessage("topRead", m.integer(0)); }},
        {"lastRead", [this](BrowserView &, M) { chartMessage("lastRead", false); }},
        {"loadMoreLastRead", [this](BrowserView &, M m) { loadMoreChartMessage("lastRead", m.integer(0)); }},
        {"lastView", [this](BrowserView &, M) { chartMessage("lastView", false); }},
        {"loadMoreLastView", [this](BrowserView &, M m) { loadMoreChartMessage("lastView", m.integer(0)); }},
        {"detail", [this](BrowserView &, M m) { detailMessage(m.text(0), "home", true); }},
        {"detailFromSection", [this](BrowserView &, M m) { detailMessage(m.text(0), "homeSection", false); }},
        {"detailFromCategory", [this](BrowserView &, M m) { detailMessage(m.text(0), "category", false); }},
        {"detailFromChart", [this](BrowserView &, M m) { detailMessage(m.text(0), "chart", false); }},
        {"detailFromSearch", [this](BrowserView &, M m) { detailMessage(m.text(0), "search", false); }},
        {"back", front(LibraryView::Chromium1)},
        {"backToSection", front(LibraryView::Chromium2)},
        {"backToCategory", front(LibraryView::Chromium5)},
        {"backKategori", front(LibraryView::Chromium4)},
        {"backToChart", front(LibraryView::Chromium6)},
        {"backToSearch", front(LibraryView::Chromium7)},
        {"searching", [this](BrowserView &, M m) { searchingMessage(m); }},
        {"openBanner", [this](BrowserView &, M m) { window.openExternal(qs(m.text(0))); }},
        {"baca", [this](BrowserView &, M m) { bacaMessage(m); }},
        {"bacaSection",
         [this](BrowserView &, M m) {
             if (window.showOpenBook(m.text(0), 0))
                 return;
             if (!mayOpenAnotherBook())
                 return;
             state.FTaskControl.reset();
             startDetail(m.text(0), "home", BorrowRequest::from(nullptr, LibraryView::Chromium6));
         }},
        {"bacaKalimat", [this](BrowserView &, M m) { bacaMessage(m); }},
    };
}

void TLibraryController::loginMessage(const ProcessMessage &message) {
    const std::string username = message.text(0);
    const std::string password = message.text(1);
    if (username.empty() || password.empty()) {
        showError(QStringLiteral("Nama Pengguna Dan Kata Sandi Wajib Diisi"));
        return;
    }
    window.bringBrowserToFront(LibraryView::Chromium1);
    loadLoadingPage(LibraryView::Chromium1);
    startLogin(username, password);
}

// A book still out would be stranded: without the header its page cannot be reached, its return and
// annotations would never reach the service, and the window would refuse to close.
void TLibraryController::logoutMessage() {
    if (state.readCount > 0) {
        showWarning(QStringLiteral("Harap kembalikan terlebih dahulu semua buku yang anda baca sebelum "
                                   "keluar dari akun anda"));
        return;
    }
    if (confirmed(QStringLiteral("Keluar dari akun anda?")))
        startLogout();
}

void TLibraryController::loadMoreMessage(BrowserView &source) {
    if (state.TotalHomeContent >= state.CountHomeContent) {
        source.runScript(HideMoreButton);
        return;
    }
    window.chromium(LibraryView::Chromium1).runScript("$(\"#btnMore\").hide();");
    ++state.PageHome;
    state.FTaskControl.reset();
    startHomeRequest(QStringLiteral("HomeContent"), state.PageHome);
}

void TLibraryController::chartMessage(const std::string &type, bool stopPrevious) {
    window.bringBrowserToFront(LibraryView::Chromium6);
    loadLoadingPage(LibraryView::Chromium6);
    if (stopPrevious && state.FTaskControl)
        state.FTaskControl->terminate();
    state.FTaskControl.reset();
    startChart(type, 1);
}

void TLibraryController::loadMoreChartMessage(const std::string &type, int page) {
    window.chromium(LibraryView::Chromium6).runScript(HideMoreButton);
    state.FTaskControl.reset();
    startChart(type, page);
}

void TLibraryController::detailMessage(const std::string &idKonten, const std::string &from,
                                       bool waitForPrevious) {
    window.bringBrowserToFront(LibraryView::Chromium3);
    loadLoadingPage(LibraryView::Chromium3);
    if (waitForPrevious && state.FTaskControl) {
        state.FTaskControl->terminate();
        state.FTaskControl->waitFor();
    }
    state.FTaskControl.reset();
    startDetail(idKonten, from);
}

void TLibraryController::searchingMessage(const ProcessMessage &message) {
    const std::string keyword = message.text(0);
    const std::string field = message.text(1);
    if (keyword.empty()) {
        showWarning(QStringLiteral("Kata Kunci Pencarian Wajib Diisi"));
        return;
    }
    if (state.isSearchRunning) {
        showInformation(QStringLiteral("Harap Tunggu..Sedang Memproses Pencarian Sebelumnya"));
        return;
    }
    const bool sentence = field == "Kalimat";
    if (sentence && qs(keyword).length() < 3) {
        showWarning(QStringLiteral("Minimal masukkan 3-huruf"));
        return;
    }
    if (sentence)
        state.KalimatPencarian = keyword;
    loadLoadingPage(LibraryView::Chromium7);
    window.bringBrowserToFront(LibraryView::Chromium7);
    state.FTaskControl.reset();
    startSearch(field, keyword, message.integer(2));
}

bool TLibraryController::mayOpenAnotherBook() const {
    if (state.readCount < MaxOpenBooks)
        return true;
    showWarning(QStringLiteral("Anda melebihi batas baca sebanyak 3 Buku"));
    return false;
}

// "baca" borrows the book whose detail is shown; "bacaKalimat" first fetches the detail of a
// sentence-search hit and opens the book at its page.
// A book already open is not borrowed again: its page comes to the front instead.
void TLibraryController::bacaMessage(const ProcessMessage &message) {
    const bool fromSentence = message.name == "bacaKalimat";
    const std::optional<int> page = fromSentence ? wholeNumber(message.text(1)) : std::optional<int>(0);
    const JsonPtr shown = fromSentence ? nullptr : lib.FDetailContentJson.load();
    const std::string id = fromSentence ? message.text(0) : replyText(replyData(shown), "id");
    if (page && window.showOpenBook(id, *page))
        return;
    if (!mayOpenAnotherBook())
        return;
    if (!page) {
        showError(QStringLiteral("'%1' is not a valid integer value").arg(qs(message.text(1))));
        return;
    }
    window.bringBrowserToFront(LibraryView::Chromium3);
    loadLoadingPage(LibraryView::Chromium3);
    if (!fromSentence) {
        window.startBookDownload(BorrowRequest::from(shown));
        return;
    }
    state.FTaskControl.reset();
    startDetail(id, "home", BorrowRequest::atHit(*page, state.KalimatPencarian, LibraryView::Chromium7));
}
