#include "app/FormMain.h"

#include "annotation_tools/AnnotationTools.h"
#include "app/AppGlobals.h"
#include "app/FormAbout.h"
#include "app/FormSplash.h"
#include "bridge/ProgramState.h"
#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"
#include "dialogs/FormForgotPass.h"
#include "dialogs/FormInfoBuku.h"
#include "dialogs/FormRegistrasi.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

#include <QCloseEvent>
#include <QFile>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Covers, logos and banners come from the service the client talks to, so the views trust what it trusts.
ServiceCertificatePolicy certificatesOf(const ServiceEndpoint &endpoint) {
    return ServiceCertificatePolicy(QUrl(QString::fromStdString(endpoint.baseUrl)),
                                    QString::fromStdString(endpoint.caFile));
}

void closeLater(QWidget *window) {
    QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
}

// Shows a window beside the main window, or brings it to the front when it is already shown.
void bringUp(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

TFormMain::TFormMain(TRuvasaLib &lib, UpdaterLauncher launchUpdater)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      lib(lib), launchUpdater(std::move(launchUpdater)),
      clientJsonFetch(std::async(std::launch::async, [&lib] { return lib.getClientJson(); })),
      host(std::make_unique<BrowserHost>(QString::fromStdString(lib.FPath),
                                         certificatesOf(lib.serviceEndpoint()), systemBrowserOpener())),
      controller(*this, lib, state) {
    setWindowTitle(QStringLiteral("PERPUS KELVARA"));
    QFont windowFont(QStringLiteral("Segoe UI"));
    windowFont.setPixelSize(14);
    setFont(windowFont);
    setWindowState(Qt::WindowMaximized);

    buildHeader();
    areas = new QStackedWidget(this);
    buildLibraryArea();
    buildReaderArea();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelHeader);
    layout->addWidget(areas, 1);
    readerController = std::make_unique<TReaderController>(*this, controller, *PanelReader, lib);
    connect(readerController.get(), &TReaderController::downloadProgress, this,
            &TFormMain::showDownloadProgress);
    connect(readerController.get(), &TReaderController::downloadEnded, DownloadProgress, &QWidget::hide);
    annotations = std::make_unique<TAnnotationTools>(*readerController, *PanelReader, this);
    FormInfoBuku = new TFormInfoBuku(this);
    annotations->showBookInfo = [this](const TDetailBook &book) { FormInfoBuku->ShowBook(book); };
    FormAbout = new TFormAbout(this);
    FormRegistrasi = new TFormRegistrasi(lib, this);
    FormForgotPass = new TFormForgotPass(lib, this);
    connect(this, &TFormMain::registrationRequested, FormRegistrasi, [this] { bringUp(FormRegistrasi); });
    connect(this, &TFormMain::forgotPasswordRequested, FormForgotPass, [this] { bringUp(FormForgotPass); });
    FormCreate();
}

TFormMain::~TFormMain() {
    annotations.reset();
    readerController.reset();
    // The views go before the engine profile they use.
    delete areas;
}

void TFormMain::FormCreate() {
    for (ChromiumView *browser : Chromium)
        connect(browser, &ChromiumView::processMessageReceived, this,
                [this](ChromiumView *source, const ProcessMessage &message) {
                    controller.ProcessMessageReceived(*source, message);
                });
    try {
        lib.FClientJson.store(clientJsonFetch.get());
        controller.loadLoadingPage(LibraryView::Chromium1);
    } catch (const std::exception &error) {
        showWarning(QStringLiteral("Startup Error : ") + QString::fromUtf8(error.what()));
        createFailed = true;
    }
}

void TFormMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (shownOnce)
        return;
    shownOnce = true;
    FormShow();
}

void TFormMain::FormShow() {
    if (SignalUpdate) {
        launchUpdater(UpdateURL);
        closeLater(this);
        return;
    }
    bringBrowserToFront(LibraryView::Chromium1);
    view(LibraryView::Chromium1)->setFocus();
    if (QFile::exists(QString::fromStdString(lib.FPath) + QStringLiteral("/loading.html"))) {
        showLoadingPageOnce(LibraryView::Chromium1);
        startLoginPageTask();
    } else if (messageBoxes().show(MsgKind::Confirmation, QStringLiteral("Harap mulai ulang aplikasi ini"),
                                   MsgButtons::OkCancel) == MsgAnswer::Ok) {
        closeLater(this);
    }
}

// The window was created on the loading page; loading it again would only restart that load.
void TFormMain::showLoadingPageOnce(LibraryView which) {
    if (view(which)->url() != QUrl(QString::fromStdString(controller.localPageUrl("loading.html"))))
        controller.loadLoadingPage(which);
}

// The profile was fetched while the window was created; the login page needs it to be good.
void TFormMain::startLoginPageTask() {
    TRuvasaLib &client = lib;
    state.FTaskControl = BackgroundTask::start(
        QStringLiteral("LoginPage"), this,
        [&client](TaskContext &task) {
            JsonPtr profile = client.FClientJson.load();
            if (replyText(profile, "code") != "200")
                task.postMessage(1, QStringLiteral("Error : ") + replyMessage(profile));
        },
        [this] {
            state.FTaskControl.reset();
            if (!state.RequestCancelled && replyText(lib.FClientJson.load(), "code") == "200")
                lib.renderLoginHtmlFile(chromium(LibraryView::Chromium1));
        },
        [](int, const QString &text) { showError(text); });
}

void TFormMain::closeEvent(QCloseEvent *event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TFormMain::FormCloseQuery() {
    if (readerController->anyBookOpen()) {
        showWarning(QStringLiteral("Harap kembalikan terlebih dahulu semua buku yang anda baca sebelum "
                                   "menutup aplikasi ini"));
        return false;
    }
    state.RequestCancelled = true;
    state.FTaskControl.reset();
    readerController->releaseAll();
    FormAbout->hide();
    delete FormSplash; // destroys the service client and with it the data folder
    return true;
}

BrowserView &TFormMain::chromium(LibraryView which) {
    return *view(which);
}

void TFormMain::bringBrowserToFront(LibraryView which) {
    areas->setCurrentWidget(panelBrowser);
    panelBrowser->setCurrentWidget(view(which));
}

void TFormMain::runScriptAfterLoad(LibraryView which, const std::string &url, const std::string &script) {
    view(which)->runScriptAfterLoad(url, script);
}

void TFormMain::setHeaderVisible(bool visible) {
    PanelHeader->setVisible(visible);
}
void TFormMain::showRegistration() {
    emit registrationRequested();
}
void TFormMain::showForgotPassword() {
    emit forgotPasswordRequested();
}
void TFormMain::openExternal(const QString &url) {
    host->openExternally(QUrl(url));
}
bool TFormMain::showOpenBook(const std::string &idKonten, int pageToJump) {
    return readerController->showOpenBook(idKonten, pageToJump);
}
void TFormMain::startBookDownload(const BorrowRequest &borrow) {
    DownloadProgress->setRange(0, 0); // busy until the size is known
    DownloadProgress->setFormat(QStringLiteral("Mengunduh buku..."));
    DownloadProgress->show();
    readerController->startBookDownload(borrow);
}

void TFormMain::showDownloadProgress(qint64 received, qint64 expected) {
    constexpr double MiB = 1024.0 * 1024.0;
    if (expected > 0) {
        DownloadProgress->setRange(0, 1000);
        DownloadProgress->setValue(static_cast<int>(std::min<qint64>(received, expected) * 1000 / expected));
        DownloadProgress->setFormat(QStringLiteral("Mengunduh buku... %1 / %2 MB")
                                        .arg(received / MiB, 0, 'f', 1)
                                        .arg(expected / MiB, 0, 'f', 1));
    } else {
        DownloadProgress->setFormat(QStringLiteral("Mengunduh buku... %1 MB").arg(received / MiB, 0, 'f', 1));
    }
}

void TFormMain::btnLibraryClick() {
    areas->setCurrentWidget(panelBrowser);
    panelBrowser->setFocus();
}

void TFormMain::btnReaderClick() {
    areas->setCurrentWidget(PanelReader);
}

void TFormMain::btnAboutClick() {
    FormAbout->show();
}
