#include "web/AppReceiver.h"
#include "web/AppFunctions.h"

namespace {
AppCallValue callValue(const QJsonValue &value) {
    if (value.isString())
        return value.toString().toStdString();
    if (value.isDouble())
        return value.toDouble();
    return {};
}
} // namespace

AppReceiver::AppReceiver(std::function<bool()> mayCall, QObject *parent)
    : QObject(parent), mayCall(std::move(mayCall)) {}

void AppReceiver::call(const QString &function, const QJsonArray &args) {
    if (!mayCall())
        return;
    std::vector<AppCallValue> values;
    for (const QJsonValue &arg : args)
        values.push_back(callValue(arg));
    if (auto message = appCallMessage(function.toStdString(), values))
        emit messageReceived(*message);
}
