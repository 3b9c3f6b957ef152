#include "bench/BareSevenViews.h"

#include <QWebEnginePage>
#include <QWebEngineView>

BareSevenViews::BareSevenViews() {
    for (QWebEngineView *&view : views) {
        view = new QWebEngineView(&window);
        view->setPage(new QWebEnginePage(&profile, view));
        window.addWidget(view);
    }
}

BareSevenViews::~BareSevenViews() {
    for (QWebEngineView *view : views)
        delete view;
}
