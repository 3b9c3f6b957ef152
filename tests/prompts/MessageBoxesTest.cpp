#include "prompts/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtConcurrent>
#include <gtest/gtest.h>

namespace {

// Answers the next modal message box with `button` and records on which thread it was shown.
void answerNextBox(QMessageBox::StandardButton button, QString *text, bool *onUiThread,
                   QString *title = nullptr) {
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        *text = box->text();
        if (title)
            *title = box->windowTitle();
        *onUiThread = box->thread() == qApp->thread() && QThread::currentThread() == qApp->thread();
        box->button(button)->click();
        poll->deleteLater();
    });
    poll->start(5);
}

TEST(MessageBoxes, QtBoxesAnswerWithTheClickedButton) {
    const std::pair<QMessageBox::StandardButton, MsgAnswer> cases[] = {{QMessageBox::Yes, MsgAnswer::Yes},
                                                                       {QMessageBox::No, MsgAnswer::No}};
    for (const auto &[button, expected] : cases) {
        QString text;
        bool onUiThread = false;
        answerNextBox(button, &text, &onUiThread);
        QtMessageBoxes boxes;
        EXPECT_EQ(boxes.show(MsgKind::Confirmation, "Kembalikan buku?", MsgButtons::YesNo), expected);
        EXPECT_EQ(text, "Kembalikan buku?");
    }
}

TEST(MessageBoxes, QtBoxesCarryTheMainCaptionOrTheirOwn) {
    const std::pair<QString, QString> cases[] = {{QString(), QStringLiteral("PERPUS KELVARA")},
                                                 {QStringLiteral("Informasi"), QStringLiteral("Informasi")}};
    for (const auto &[own, expected] : cases) {
        QString text, title;
        bool onUiThread = false;
        answerNextBox(QMessageBox::Ok, &text, &onUiThread, &title);
        QtMessageBoxes boxes;
        if (own.isEmpty())
            boxes.show(MsgKind::Information, "Tersimpan", MsgButtons::Ok);
        else
            boxes.showTitled(MsgKind::Information, own, "Tersimpan", MsgButtons::Ok);
        EXPECT_EQ(title, expected);
    }
}

// The service's words and book titles reach boxes: markup in them shows as typed, not as formatting.
TEST(MessageBoxes, QtBoxesShowMarkupLiterally) {
    const QString text = QStringLiteral("Buku \"<b>Tom</b> & Jerry\" <i>tidak</i> tersedia");
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        format = box->textFormat();
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
        poll->deleteLater();
    });
    poll->start(5);
    QtMessageBoxes().show(MsgKind::Warning, text, MsgButtons::Ok);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, text);
}

TEST(MessageBoxes, ABoxFromABackgroundTaskIsShownByTheUiThread) {
    QString text;
    bool onUiThread = false;
    answerNextBox(QMessageBox::Ok, &text, &onUiThread);
    QtMessageBoxes boxes;
    QFuture<MsgAnswer> task = QtConcurrent::run(
        [&] { return boxes.show(MsgKind::Error, "Error Exception #798: x", MsgButtons::Ok); });
    while (!task.isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(task.result(), MsgAnswer::Ok);
    EXPECT_EQ(text, "Error Exception #798: x");
    EXPECT_TRUE(onUiThread);
}

TEST(MessageBoxes, ScriptedBoxesRecordAndAnswerFromTheQueue) {
    ScriptedMessageBoxes scripted;
    scripted.answers = {MsgAnswer::No};
    {
        ScopedMessageBoxes scope(scripted);
        EXPECT_FALSE(askYesNo("first"));
        EXPECT_TRUE(askYesNo("second")); // queue empty: Yes
        showError("third");
    }
    ASSERT_EQ(scripted.shown.size(), 3u);
    EXPECT_EQ(scripted.shown[2].kind, MsgKind::Error);
    EXPECT_EQ(scripted.shown[2].text, "third");
    EXPECT_NE(&messageBoxes(), &scripted); // the scope restored the previous seam
}

} // namespace
