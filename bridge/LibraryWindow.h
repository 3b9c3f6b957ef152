#pragma once
#include <QString>

#include <string>

class BrowserView;
struct BorrowRequest;

// The seven browser views of the library area, by the page kind each keeps.
enum class LibraryView {
    Chromium1 = 1, // loading, login and home page
    Chromium2,     // one home section
    Chromium3,     // book detail
    Chromium4,     // departments and categories
    Chromium5,     // books of a category
    Chromium6,     // charts and reading history
    Chromium7,     // search results
};

// What the message dispatch and the catalogue tasks need of the main window.
class LibraryWindow {
public:
    virtual ~LibraryWindow() = default;
    virtual BrowserView &chromium(LibraryView view) = 0;
    // Library area in front of the reader, and `view` in front of the other views.
    virtual void bringBrowserToFront(LibraryView view) = 0;
    // Runs `script` in `view` once the page at `url`, just rendered there, has loaded, so that a
    // script meant for it reaches neither the page it replaces nor a later one; dropped when that
    // load fails or never comes.
    virtual void runScriptAfterLoad(LibraryView view, const std::string &url, const std::string &script) = 0;
    virtual void setHeaderVisible(bool visible) = 0;
    virtual void showRegistration() = 0;
    virtual void showForgotPassword() = 0;
    // Opens an address outside the client, in the system's web browser.
    virtual void openExternal(const QString &url) = 0;
    // When the book `idKonten` is open in the reader already, brings it to the front, at `pageToJump`
    // with the sentence-search phrase marked when that is not 0, and returns true; else false.
    virtual bool showOpenBook(const std::string &idKonten, int pageToJump) = 0;
    // Starts fetching the book of `borrow` (its detail's "nama_pc_file") for the reader.
    virtual void startBookDownload(const BorrowRequest &borrow) = 0;
};
