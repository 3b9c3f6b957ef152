#pragma once
#include "web/ProcessMessage.h"
#include <QJsonArray>
#include <QObject>
#include <functional>

// The client side of `app` on one page's web channel: checks each call again and turns it into a
// process message. Calls are ignored while the page may not use `app` (see mayCall).
class AppReceiver : public QObject {
    Q_OBJECT
public:
    AppReceiver(std::function<bool()> mayCall, QObject *parent = nullptr);

    Q_INVOKABLE void call(const QString &function, const QJsonArray &args);

signals:
    void messageReceived(const ProcessMessage &message);

private:
    std::function<bool()> mayCall;
};
