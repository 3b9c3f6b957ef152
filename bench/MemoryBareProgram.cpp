// The bare program of the memory benchmark: seven WebEngine views on one profile, each showing one of
// the client's pages, with nothing of the client around them. Each view is brought to the front for
// its page, as the client brings its views, so every one has been painted; the last stays in front.
#include "bench/BareSevenViews.h"
#include "bench/BenchPages.h"
#include "bench/MemoryPrograms.h"

#include <QFileInfo>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace memory {

namespace {

// The pages show covers from the local service, whose certificate the bare profile does not know:
// it is taken for the loopback address only, so the bare views load the same pictures as the client.
void acceptLoopbackCertificates(QWebEnginePage *page) {
    QObject::connect(page, &QWebEnginePage::certificateError, page, [](QWebEngineCertificateError error) {
        if (error.url().host() == QLatin1String("127.0.0.1"))
            error.acceptCertificate();
    });
}

} // namespace

int runBare(const QString &folder, const QStringList &pages) {
    BareSevenViews bare;
    bare.showMaximized();
    for (int i = 0; i < BareSevenViews::ViewCount; ++i) {
        QWebEngineView *view = bare.view(i);
        bare.bringToFront(i);
        acceptLoopbackCertificates(view->page());
        view->load(QUrl::fromLocalFile(folder + '/' + pages[i]));
        waitForLoad(view, QFileInfo(pages[i]).fileName());
    }
    reportSettledTree("bare");
    return 0;
}

} // namespace memory
