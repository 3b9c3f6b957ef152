#pragma once
// The client's main window as an end-to-end test drives it: which library view is in front, and clicks
// and marks made by script in a view's page.
#include "ClientHarness.h"
#include "app/FormMain.h"
#include "browser/ChromiumView.h"

#include <QStackedWidget>
#include <QString>

#include <memory>

namespace e2e {

class ClientWindowSteps {
protected:
    std::unique_ptr<TFormMain> window;

    ChromiumView *view(LibraryView which) const { return window->view(which); }
    bool inFront(LibraryView which) const {
        return window->areas->currentWidget() == window->panelBrowser &&
               window->panelBrowser->currentWidget() == view(which);
    }
    void click(LibraryView which, const QString &selector) {
        evaluate(view(which), QStringLiteral("document.querySelector(\"%1\").click()").arg(selector));
    }
    // Marks the document shown now, so that a wait can tell the page that replaces it.
    void markReplaced(LibraryView which) { evaluate(view(which), QStringLiteral("window.replaced = true")); }
};

} // namespace e2e
