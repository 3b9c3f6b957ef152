#include "dialogs/FormForgotPass.h"

#include "dialogs/InputPatterns.h"
#include "prompts/MessageBoxes.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "tasks/BackgroundTask.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFormForgotPass::TFormForgotPass(TRuvasaLib &lib, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), lib(lib) {
    setWindowTitle(QStringLiteral("Lupa Kata Sandi"));
    setFixedSize(436, 266);
    Label1 = new QLabel(QStringLiteral("Lupa Kata Sandi?"), this);
    QFont heading = Label1->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    heading.setBold(true);
    Label1->setFont(heading);
    Label2 = new QLabel(
        QStringLiteral("Masukkan email login Anda di bawah ini.\nKami akan mengirimkan pesan email "
                       "beserta tautan untuk reset kata sandi Anda."),
        this);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Edit1 = new QLineEdit(this);
    Button1 = new QPushButton(QStringLiteral("Reset Kata Sandi"), this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 24);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addWidget(Label2);
    layout->addStretch();
    layout->addWidget(Edit1);
    layout->addWidget(Button1);
    connect(Button1, &QPushButton::clicked, this, &TFormForgotPass::Button1Click);
    // Enter in the field presses the button (which does nothing while it is disabled).
    connect(Edit1, &QLineEdit::returnPressed, Button1, &QPushButton::click);
}

void TFormForgotPass::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && screen())
        move(screen()->availableGeometry().center() - rect().center());
}

void TFormForgotPass::closeEvent(QCloseEvent *event) {
    ++showing;
    Button1->setEnabled(true);
    event->accept();
}

void TFormForgotPass::Button1Click() {
    if (Edit1->text().isEmpty()) {
        showWarning(QStringLiteral("Alamat E-mail wajib diisi"));
        Edit1->setFocus();
        return;
    }
    if (!isEmailAddress(Edit1->text())) {
        showWarning(QStringLiteral("Format E-mail salah"));
        Edit1->setFocus();
        return;
    }
    Button1->setEnabled(false);
    auto reply = std::make_shared<JsonPtr>();
    TRuvasaLib &client = lib;
    BackgroundTask::start(
        QStringLiteral("RequestReset"), this,
        [&client, username = Edit1->text().toStdString(), reply](TaskContext &) {
            *reply = client.ForgotPasswordRequest(username);
        },
        [this, reply, started = showing] {
            if (started == showing)
                RequestResetTerminated(*reply);
        });
}

void TFormForgotPass::RequestResetTerminated(const JsonPtr &JS) {
    Button1->setEnabled(true);
    if (replyText(JS, "code") != "200") {
        showError(QStringLiteral("Error : ") + replyMessage(JS));
        Edit1->clear();
        Edit1->setFocus();
        return;
    }
    showInformation(QStringLiteral("Silahkan cek e-mail anda untuk langkah selanjutnya"));
    close();
}
