// The main window on its own: its failure table, the header actions and the close rule. The service
// client points at a closed loopback port, so the institution profile is the client's failure reply.
#include "app/FormAbout.h"
#include "app/FormMain.h"
#include "bridge/ProgramState.h"
#include "browser/ChromiumView.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderPanel.h"
#include "service/RuvasaLib.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

bool processUntil(const std::function<bool()> &done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class MainWindow : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    TRuvasaLib lib{ServiceEndpoint{"https://127.0.0.1:9", ""}};
    std::unique_ptr<TFormMain> window =
        std::make_unique<TFormMain>(lib, [this](const QString &url) { updaterCalls.push_back(url); });
    std::vector<QString> updaterCalls;
    QString folder = QString::fromStdString(lib.FPath);

    void TearDown() override {
        if (window)
            window->close();
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
    }
    QUrl shownIn(LibraryView which) const { return window->view(which)->url(); }
};

TEST_F(MainWindow, ProfileNotGoodShowsItsMessageAndKeepsTheLoadingPage) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("PERPUS KELVARA"));
    window->show();
    ASSERT_TRUE(processUntil([&] { return !boxes.shown.empty(); }));
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Error : ")));
    EXPECT_GT(boxes.shown[0].text.size(), QStringLiteral("Error : ").size());
    ASSERT_TRUE(processUntil([&] { return !window->library().state.FTaskControl; }));
    EXPECT_EQ(shownIn(LibraryView::Chromium1).fileName(), QStringLiteral("loading.html"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/login.html")));
    EXPECT_FALSE(window->PanelHeader->isVisible());
    EXPECT_TRUE(updaterCalls.empty());
}

TEST_F(MainWindow, MissingLoadingPageAsksForARestart) {
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/loading.html")));
    boxes.answers.push_back(MsgAnswer::Cancel);
    window->show();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Harap mulai ulang aplikasi ini"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());               // Cancel stays on an empty library
    EXPECT_FALSE(window->PanelHeader->isVisible()); // and without the header: nobody has logged in
    EXPECT_FALSE(window->library().state.FTaskControl);
}

TEST_F(MainWindow, HeaderSwitchesAreasWithoutReloadingAndAboutHidesOnClick) {
    window->show();
    ASSERT_TRUE(processUntil([&] { return !window->library().state.FTaskControl; }));
    const QUrl before = shownIn(LibraryView::Chromium1);
    window->btnReader->click();
    EXPECT_EQ(window->areas->currentWidget(), window->PanelReader);
    window->btnLibrary->click();
    EXPECT_EQ(window->areas->currentWidget(), window->panelBrowser);
    EXPECT_EQ(window->panelBrowser->currentWidget(), window->view(LibraryView::Chromium1));
    EXPECT_EQ(shownIn(LibraryView::Chromium1), before);

    window->btnHelp->click(); // does nothing
    window->btnAbout->click();
    EXPECT_TRUE(window->FormAbout->isVisible());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window->FormAbout, &press);
    EXPECT_FALSE(window->FormAbout->isVisible());

    const std::vector<std::pair<QToolButton *, QString>> hints = {{window->btnLibrary, "Daftar Buku"},
                                                                  {window->btnReader, "Reader Buku"},
                                                                  {window->btnHelp, "Bantuan"},
                                                                  {window->btnAbout, "Tentang Aplikasi"}};
    for (const auto &[button, hint] : hints)
        EXPECT_EQ(button->toolTip(), hint);
}

TEST_F(MainWindow, ClosingIsRefusedWhileABookIsOpenAndAllowedAfter) {
    window->show();
    ASSERT_TRUE(processUntil([&] { return !window->library().state.FTaskControl; }));
    auto *book = new QLabel(window->PanelReader->TabSheet2);
    EXPECT_FALSE(window->close());
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().kind, MsgKind::Warning);
    EXPECT_EQ(boxes.shown.back().text,
              QStringLiteral("Harap kembalikan terlebih dahulu semua buku yang anda baca "
                             "sebelum menutup aplikasi ini"));
    EXPECT_FALSE(window->library().state.RequestCancelled);
    EXPECT_TRUE(QDir(folder).exists());

    delete book;
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->library().state.RequestCancelled);
}

// In the catalogue, Alt+Left follows the page's last "back" breadcrumb and Escape closes the pop-up shown.
TEST_F(MainWindow, AltLeftGoesBackAsThePagesBackLinkAndEscapeClosesItsPopup) {
    window->show();
    ASSERT_TRUE(processUntil([&] { return !window->library().state.FTaskControl; }));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QFile page(folder + QStringLiteral("/keys.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write(R"html(<html><head><title>keys</title></head><body><ol class="breadcrumb">
<li class="breadcrumb-item"><a href="#" onClick="document.title='home';app.back()">Home</a></li>
<li class="breadcrumb-item"><a href="#" onClick="document.title='section';app.backToSection()">Section</a></li>
<li class="breadcrumb-item active">Buku</li></ol>
<div class="modal in"><button data-dismiss="modal" onclick="document.title='closed'">x</button></div>
</body></html>)html");
    page.close();
    ChromiumView *view = window->view(LibraryView::Chromium3);
    view->load(QUrl::fromLocalFile(page.fileName()));
    window->bringBrowserToFront(LibraryView::Chromium3);
    ASSERT_TRUE(processUntil([&] { return view->title() == "keys"; }));
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget *target = view->focusProxy() ? view->focusProxy() : view;
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
    };
    press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(processUntil([&] { return view->title() == "section"; })) << view->title().toStdString();
    window->bringBrowserToFront(LibraryView::Chromium3);
    press(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(processUntil([&] { return view->title() == "closed"; })) << view->title().toStdString();
}

// The home folder, and so the data folder, may hold characters that mean something in an address.
class UnusualHomeFolder : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString home = root.filePath(QStringLiteral("Data 100% #1 ?x \u00e9"));
    QByteArray previousHome = qgetenv("HOME");
    bool homeSet = QDir().mkpath(home) && qputenv("HOME", home.toLocal8Bit());
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};

    void TearDown() override { qputenv("HOME", previousHome); }
};

TEST_F(UnusualHomeFolder, EveryPageOfTheDataFolderIsShownFromItsOwnFile) {
    ASSERT_TRUE(homeSet);
    TRuvasaLib lib{ServiceEndpoint{"https://127.0.0.1:9", ""}};
    const QString folder = QString::fromStdString(lib.FPath);
    ASSERT_TRUE(folder.startsWith(home)) << folder.toStdString();
    TFormMain window(lib, [](const QString &) {});
    lib.FClientJson.store(std::make_shared<const JsonDocument>(
        JsonDocument::parse(R"({"code":"200","data":{"nama":"Pustaka Uji"}})")));
    TLibraryController &library = window.library();
    const struct {
        const char *label;
        std::function<void()> show;
        LibraryView view;
        const char *file;
        const char *title;
    } cases[] = {
        {"loading page", [&] { library.loadLoadingPage(LibraryView::Chromium2); }, LibraryView::Chromium2,
         "loading.html", "Loading"},
        {"rendered login page", [&] { lib.renderLoginHtmlFile(*window.view(LibraryView::Chromium3)); },
         LibraryView::Chromium3, "login.html", "Please Login"},
        {"login page again", [&] { library.loadLoginPage(); }, LibraryView::Chromium1, "login.html",
         "Please Login"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        c.show();
        ChromiumView *view = window.view(c.view);
        EXPECT_EQ(view->url().toLocalFile(), folder + '/' + QString::fromLatin1(c.file));
        EXPECT_TRUE(processUntil([&] { return view->title() == QString::fromLatin1(c.title); }))
            << view->title().toStdString();
    }
    EXPECT_TRUE(boxes.shown.empty());
    window.close();
}

} // namespace
