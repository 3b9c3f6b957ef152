#include "app/FormSplash.h"

#include "app/AppGlobals.h"
#include "app/Artwork.h"
#include "prompts/MessageBoxes.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "service/TransferCancel.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {
enum VersionMessage { MayNotRun = 2, UpdateOffered = 3 };
}

TFormSplash::TFormSplash(ServiceEndpoint endpoint)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), Image1(new QLabel(this)),
      endpoint(std::move(endpoint)) {
    setWindowTitle(QStringLiteral("PERPUS KELVARA"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0)); // silver
    setPalette(colours);
    Image1->setFixedSize(350, 350);
    Image1->setScaledContents(true);
    Image1->setPixmap(splashPicture(350));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Image1, 0, Qt::AlignCenter);
    setWindowState(Qt::WindowMaximized);
}

TFormSplash::~TFormSplash() {
    const CancelTransfers closing; // transfers in flight end now rather than being waited for
    // No body may still use the client when it goes (a closed window drops running tasks' handles).
    if (RequestTask)
        RequestTask->waitFor();
    BackgroundTask::waitForAll();
    delete RuvasaLib;
    RuvasaLib = nullptr;
    if (FormSplash == this)
        FormSplash = nullptr;
}

void TFormSplash::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (shownOnce)
        return;
    shownOnce = true;
    FormShow();
}

void TFormSplash::FormShow() {
    completed = false;
    RuvasaLib = new TRuvasaLib(endpoint);
    if (!RuvasaLib->FWorkspaceError.empty())
        showError(QString::fromStdString(RuvasaLib->FWorkspaceError));
    RequestTask = BackgroundTask::start(
        QStringLiteral("RequestTask"), this, &TFormSplash::HandleRequest, [this] { HandleTerminated(); },
        [this](int code, const QString &text) { HandleMessage(code, text); });
}

void TFormSplash::HandleRequest(TaskContext &task) {
    JsonPtr JS = RuvasaLib->checkAppVersionRequest();
    const std::string code = replyText(JS, "code");
    if (code == "200")
        return;
    SignalUpdate = false;
    if (code == "300") {
        UpdateURL = QString::fromStdString(replyText(JS, "url"));
        task.postMessage(UpdateOffered, QStringLiteral("Update baru telah tersedia, download sekarang?"));
    } else {
        task.postMessage(MayNotRun, replyMessage(JS));
    }
}

void TFormSplash::HandleMessage(int code, const QString &text) {
    if (code == MayNotRun) {
        showWarning(text);
        terminateRequested = true;
    } else if (code == UpdateOffered) {
        SignalUpdate =
            messageBoxes().show(MsgKind::Confirmation, text, MsgButtons::OkCancel) == MsgAnswer::Ok;
    }
}

void TFormSplash::HandleTerminated() {
    RequestTask.reset();
    completed = true;
}

void TFormSplash::closeEvent(QCloseEvent *event) {
    if (RequestTask) {
        RequestTask->terminate();
        RequestTask->waitFor();
        RequestTask.reset();
    }
    event->accept();
}
