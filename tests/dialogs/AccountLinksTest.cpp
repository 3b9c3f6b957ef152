// The login page's "register" and "forgotPass" messages open their windows beside the main window.
#include "app/FormMain.h"
#include "browser/ChromiumView.h"
#include "dialogs/FormForgotPass.h"
#include "dialogs/FormRegistrasi.h"
#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

TEST(AccountLinks, EachMessageOpensItsWindowOnceAndNotModal) {
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    TRuvasaLib lib{ServiceEndpoint{"https://127.0.0.1:9", ""}};
    TFormMain window(lib, [](const QString &) {});
    const std::pair<const char *, QWidget *> links[] = {{"register", window.FormRegistrasi},
                                                        {"forgotPass", window.FormForgotPass}};
    for (const auto &[name, opened] : links) {
        EXPECT_FALSE(opened->isVisible()) << name;
        window.library().ProcessMessageReceived(*window.view(LibraryView::Chromium1),
                                                ProcessMessage{name, {}});
        EXPECT_TRUE(opened->isVisible()) << name;
        EXPECT_EQ(opened->windowModality(), Qt::NonModal) << name;
    }
    // A second click on the link while the window is open does not start its look-ups afresh.
    const TaskHandle lookup = window.FormRegistrasi->RequestTask;
    ASSERT_TRUE(lookup);
    window.library().ProcessMessageReceived(*window.view(LibraryView::Chromium1),
                                            ProcessMessage{"register", {}});
    EXPECT_EQ(window.FormRegistrasi->RequestTask, lookup);

    for (QWidget *opened :
         {static_cast<QWidget *>(window.FormRegistrasi), static_cast<QWidget *>(window.FormForgotPass)})
        opened->hide();
    BackgroundTask::waitForAll();
    QCoreApplication::processEvents();
}

} // namespace
