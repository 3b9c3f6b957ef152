#pragma once
// The reference program of the browser benchmarks: a window with seven WebEngine views on one profile,
// as many as the client's library area has, and nothing of the client.
#include <QStackedWidget>
#include <QWebEngineProfile>

#include <array>

class QWebEngineView;

class BareSevenViews {
public:
    static constexpr int ViewCount = 7;

    BareSevenViews();
    ~BareSevenViews();
    BareSevenViews(const BareSevenViews &) = delete;
    BareSevenViews &operator=(const BareSevenViews &) = delete;

    QWebEngineView *view(int index) const { return views[static_cast<std::size_t>(index)]; }
    void showMaximized() { window.showMaximized(); }
    void bringToFront(int index) { window.setCurrentIndex(index); }

private:
    QWebEngineProfile profile; // outlives the views' pages, which the destructor removes first
    QStackedWidget window;
    std::array<QWebEngineView *, ViewCount> views{};
};
