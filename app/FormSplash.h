#pragma once
#include "service/ServiceEndpoint.h"
#include "tasks/BackgroundTask.h"

#include <QWidget>

class QLabel;

// The splash: shown while the service client is created and the version check runs. It owns the
// service client (RuvasaLib) for the whole run; destroying it destroys the client and with it the
// data folder.
class TFormSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplash(ServiceEndpoint endpoint = ServiceEndpoint::builtIn());
    ~TFormSplash() override;

    QLabel *Image1;
    TaskHandle RequestTask;          // the running version check, empty when none
    bool completed = false;          // true once the check's completion has run
    bool terminateRequested = false; // the member was told the client may not run

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    static void HandleRequest(TaskContext &task);
    void HandleMessage(int code, const QString &text);
    void HandleTerminated();

    ServiceEndpoint endpoint;
    bool shownOnce = false;
};
