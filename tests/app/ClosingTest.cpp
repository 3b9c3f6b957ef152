// Closing the main window while work is in flight: closing destroys the service client, so a task
// that ends later, or a page's message still queued, must find nothing to do. Run under
// AddressSanitizer, a use of the destroyed client is reported.
#include "app/AppGlobals.h"
#include "app/ClientStartup.h"
#include "app/FormMain.h"
#include "bridge/ProgramState.h"
#include "browser/ChromiumView.h"
#include "prompts/MessageBoxes.h"
#include "tests/service/ServiceTestBed.h"
#include "tests/support/EventLoop.h"
#include "web/AppReceiver.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QStackedWidget>
#include <gtest/gtest.h>

namespace {

class ClosingWindow : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    TestCertificate certificate;
    RecordingHttpsServer server{certificate};
    std::unique_ptr<TFormMain> window;

    void SetUp() override {
        server.setResponder([](const RecordedRequest &request) {
            if (request.target != "/api/wl/mitra")
                return CannedReply{};
            return jsonReply(200, R"({"code":"200","msg":"OK","data":{"nama":"Pustaka Uji",)"
                                  R"("warna_button_login":"#123456","warna_hover_button_login":"#654321"}})");
        });
    }
    void TearDown() override {
        window.reset();
        QCoreApplication::processEvents();
    }

    // The client started against the recording service, showing its login page.
    void start() {
        window = startClient(
            {ServiceEndpoint{server.baseUrl(), certificate.certificateFile()}, [](const QString &) {}});
        ASSERT_TRUE(window);
        window->show();
        ASSERT_TRUE(processUntil([&] {
            return !window->library().state.FTaskControl &&
                   window->view(LibraryView::Chromium1)->url().fileName() == "login.html";
        }));
    }
    QWidget *inFront() const { return window->panelBrowser->currentWidget(); }
    // Closes the window, then lets everything that was under way or queued arrive.
    void closeAndDrain() {
        ASSERT_TRUE(window->close());
        EXPECT_EQ(RuvasaLib, nullptr);
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

TEST_F(ClosingWindow, ALogoutStillRunningAtCloseEndsWithoutTouchingTheWindow) {
    start();
    window->bringBrowserToFront(LibraryView::Chromium5);
    window->library().ProcessMessageReceived(*window->view(LibraryView::Chromium1),
                                             ProcessMessage{"logout", {}});
    const QUrl shown = window->view(LibraryView::Chromium1)->url();
    closeAndDrain();
    EXPECT_EQ(inFront(), window->view(LibraryView::Chromium5));
    EXPECT_EQ(window->view(LibraryView::Chromium1)->url(), shown);
    EXPECT_EQ(boxes.shown.size(), 1u); // the confirmation only
}

TEST_F(ClosingWindow, MessagesQueuedAtCloseAreDropped) {
    const struct {
        const char *function;
        QJsonArray args;
    } cases[] = {{"loadKategori", {}}, {"detail", {QStringLiteral("7")}}, {"logout", {}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.function);
        start();
        auto *receiver = window->view(LibraryView::Chromium1)->findChild<AppReceiver *>();
        ASSERT_NE(receiver, nullptr);
        receiver->call(QString::fromLatin1(c.function), c.args); // queued for the next turn
        const std::size_t requests = server.requests().size();
        const std::size_t shownBoxes = boxes.shown.size();
        closeAndDrain();
        EXPECT_EQ(inFront(), window->view(LibraryView::Chromium1));
        EXPECT_EQ(server.requests().size(), requests);
        EXPECT_EQ(boxes.shown.size(), shownBoxes);
        EXPECT_FALSE(window->library().state.FTaskControl);
        window.reset();
    }
}

} // namespace
