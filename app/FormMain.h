#pragma once
#include "app/UpdaterLauncher.h"
#include "bridge/LibraryController.h"
#include "bridge/LibraryWindow.h"
#include "service/JsonDocument.h"

#include <QWidget>

#include <array>
#include <future>
#include <memory>

class BrowserHost;
class ChromiumView;
class QProgressBar;
class QStackedWidget;
class ReaderPanel;
class TAnnotationTools;
class TReaderController;
class QToolButton;
class TFormAbout;
class TFormForgotPass;
class TFormInfoBuku;
class TFormRegistrasi;
class TRuvasaLib;

// The main window: a header above two stacked areas, the library (seven browser views, one per
// kind of catalogue page) and the reader (a toolbar above three book pages).
class TFormMain : public QWidget, public LibraryWindow {
    Q_OBJECT
public:
    TFormMain(TRuvasaLib &lib, UpdaterLauncher launchUpdater = startUpdater);
    ~TFormMain() override;

    // ---- LibraryWindow ----
    BrowserView &chromium(LibraryView view) override;
    void bringBrowserToFront(LibraryView view) override;
    void runScriptAfterLoad(LibraryView view, const std::string &url, const std::string &script) override;
    void setHeaderVisible(bool visible) override;
    void showRegistration() override;
    void showForgotPassword() override;
    void openExternal(const QString &url) override;
    bool showOpenBook(const std::string &idKonten, int pageToJump) override;
    void startBookDownload(const BorrowRequest &borrow) override;

    ChromiumView *view(LibraryView which) const { return Chromium[static_cast<int>(which) - 1]; }
    TLibraryController &library() { return controller; }
    TReaderController &reader() { return *readerController; }
    TAnnotationTools &annotationTools() { return *annotations; }
    // True when creating the window failed; the start-up then closes it.
    bool createFailed = false;

    // ---- Header ----
    QWidget *PanelHeader;
    QToolButton *btnLibrary, *btnReader, *btnHelp, *btnAbout;
    // ---- Areas ----
    QStackedWidget *areas;
    QStackedWidget *panelBrowser;
    std::array<ChromiumView *, 7> Chromium{};
    ReaderPanel *PanelReader;
    // Shows how far a book's download has come; hidden otherwise.
    QProgressBar *DownloadProgress;

    TFormAbout *FormAbout;
    // The account windows of the login page's links; not modal.
    TFormRegistrasi *FormRegistrasi;
    TFormInfoBuku *FormInfoBuku;
    TFormForgotPass *FormForgotPass;

signals:
    // A window of the account dialogs is asked for.
    void registrationRequested();
    void forgotPasswordRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildHeader();
    void buildLibraryArea();
    void buildReaderArea();
    void showDownloadProgress(qint64 received, qint64 expected);

    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void btnLibraryClick();
    void btnReaderClick();
    void btnAboutClick();
    // The loading page into `which`, unless it already shows it.
    void showLoadingPageOnce(LibraryView which);
    // Generates the login page once the institution profile is known to be good.
    void startLoginPageTask();

    TRuvasaLib &lib;
    UpdaterLauncher launchUpdater;
    // The institution profile, fetched on a thread of its own while the engine profile and the views
    // are made; FormCreate waits for it.
    std::future<JsonPtr> clientJsonFetch;
    std::unique_ptr<BrowserHost> host;
    ProgramState state; // before the controllers that hold it
    TLibraryController controller;
    std::unique_ptr<TReaderController> readerController;
    std::unique_ptr<TAnnotationTools> annotations;
    bool shownOnce = false;
};
