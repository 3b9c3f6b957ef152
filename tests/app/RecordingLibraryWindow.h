#pragma once
#include "bridge/BorrowRequest.h"
#include "bridge/LibraryWindow.h"
#include "service/ReplyValues.h"
#include "web/BrowserView.h"

#include <array>
#include <set>
#include <string>
#include <vector>

// A browser view that records what it was asked to do.
struct RecordingView : BrowserView {
    std::vector<std::string> navigations;
    std::vector<std::string> scripts;
    std::vector<std::string> awaitedPages; // the page each script after a load waits for
    void navigate(const std::string &url) override { navigations.push_back(url); }
    void reload() override {}
    void runScript(const std::string &script) override { scripts.push_back(script); }
    std::string last() const { return navigations.empty() ? std::string() : navigations.back(); }
};

// The main window as the library controller sees it, recording every request.
struct RecordingLibraryWindow : LibraryWindow {
    std::array<RecordingView, 7> views;
    LibraryView front = LibraryView::Chromium1;
    int frontChanges = 0;
    bool headerVisible = false;
    int registrations = 0;
    int passwordResets = 0;
    std::vector<QString> opened;
    std::vector<std::string> downloads; // the books fetched, by "nama_pc_file"
    std::vector<BorrowRequest> borrows;
    std::set<std::string> openBooks;                     // books the reader holds
    std::vector<std::pair<std::string, int>> shownBooks; // open books brought to the front, with the page

    RecordingView &at(LibraryView view) { return views[static_cast<int>(view) - 1]; }
    BrowserView &chromium(LibraryView view) override { return at(view); }
    void bringBrowserToFront(LibraryView view) override {
        front = view;
        ++frontChanges;
    }
    void runScriptAfterLoad(LibraryView view, const std::string &url, const std::string &script) override {
        at(view).scripts.push_back(script);
        at(view).awaitedPages.push_back(url);
    }
    void setHeaderVisible(bool visible) override { headerVisible = visible; }
    void showRegistration() override { ++registrations; }
    void showForgotPassword() override { ++passwordResets; }
    void openExternal(const QString &url) override { opened.push_back(url); }
    void startBookDownload(const BorrowRequest &borrow) override {
        downloads.push_back(replyText(replyData(borrow.detail), "nama_pc_file"));
        borrows.push_back(borrow);
    }
    bool showOpenBook(const std::string &idKonten, int pageToJump) override {
        if (!openBooks.count(idKonten))
            return false;
        shownBooks.emplace_back(idKonten, pageToJump);
        return true;
    }

    std::size_t navigationCount() const {
        std::size_t count = 0;
        for (const RecordingView &view : views)
            count += view.navigations.size();
        return count;
    }
};
