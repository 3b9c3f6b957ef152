#pragma once
#include "service/JsonDocument.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class TRuvasaLib;

// "Lupa Kata Sandi": asks the service to send a password-reset link to the member's address. Not
// modal; it lives as long as its owner.
class TFormForgotPass : public QWidget {
    Q_OBJECT
public:
    explicit TFormForgotPass(TRuvasaLib &lib, QWidget *parent = nullptr);

    QLabel *Label1, *Label2;
    QLineEdit *Edit1;
    QPushButton *Button1;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Button1Click();
    void RequestResetTerminated(const JsonPtr &JS);

    TRuvasaLib &lib;
    // Counts the window's closings: a request started before the last one reports to nobody.
    int showing = 0;
};
