#include "web/AppScript.h"
#include "web/AppFunctions.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// {"executeLogin": "tt", "loadMoreChart": "i", ...}: one letter per parameter.
QString signatures() {
    QJsonObject table;
    for (const AppFunction &function : appFunctions()) {
        QString kinds;
        for (AppParam param : function.params)
            kinds += param == AppParam::Integer ? QLatin1Char('i') : QLatin1Char('t');
        table.insert(QString::fromUtf8(function.function.data(), function.function.size()), kinds);
    }
    return QString::fromUtf8(QJsonDocument(table).toJson(QJsonDocument::Compact));
}

QString webChannelClient() {
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("qwebchannel.js is missing from the Qt WebChannel resources");
    return QString::fromUtf8(file.readAll());
}

// Each function converts its arguments (text: text or a finite number written as text; integer: a
// whole number in 32-bit range) and sends nothing when the count or a conversion fails. Calls made
// before the channel is up wait in order and go out when it is. The channel talks through a tagging
// layer over the view's transport (see below).
const char *const shim = R"JS(
if (location.protocol === 'file:') {
    var pending = [];
    var receiver = null;
    var send = function (name, args) {
        if (receiver)
            receiver.call(name, args);
        else
            pending.push([name, args]);
    };
    var convert = function (kind, value) {
        if (kind === 'i')
            return (typeof value === 'number' && Number.isInteger(value) &&
                    value >= -2147483648 && value <= 2147483647) ? value : undefined;
        if (typeof value === 'string')
            return value;
        if (typeof value === 'number' && isFinite(value))
            return String(value);
        return undefined;
    };
    var app = {};
    Object.keys(signatures).forEach(function (name) {
        var kinds = signatures[name];
        app[name] = function () {
            if (arguments.length !== kinds.length)
                return;
            var args = [];
            for (var i = 0; i < kinds.length; ++i) {
                var value = convert(kinds[i], arguments[i]);
                if (value === undefined)
                    return;
                args.push(value);
            }
            send(name, args);
        };
    });
    Object.defineProperty(window, 'app', {value: Object.freeze(app), enumerable: true});
    // The view's transport serves each page it shows in turn, and the client answers into whichever
    // page is shown at the time; every page's channel numbers its requests from 0. An answer meant
    // for the page this one replaced (its channel's start, or a call it made just before the client
    // moved on) would be taken for this page's own, and this page's real answer then found no
    // request waiting. So this page tags what it asks and takes only answers with its tag.
    var tag = Math.random().toString(36).slice(2) + ':';
    var transport = {
        send: function (text) {
            var request = JSON.parse(text);
            if (request.hasOwnProperty('id'))
                request.id = tag + request.id;
            qt.webChannelTransport.send(JSON.stringify(request));
        }
    };
    qt.webChannelTransport.onmessage = function (event) {
        var message = typeof event.data === 'string' ? JSON.parse(event.data) : event.data;
        if (message.type === QWebChannelMessageTypes.response) {
            if (typeof message.id !== 'string' || message.id.indexOf(tag) !== 0)
                return;
            message.id = Number(message.id.slice(tag.length));
        }
        transport.onmessage({data: message});
    };
    new QWebChannel(transport, function (channel) {
        receiver = channel.objects[receiverName];
        pending.forEach(function (call) { receiver.call(call[0], call[1]); });
        pending = [];
    });
}
)JS";
} // namespace

QString appScriptSource() {
    return QStringLiteral("(function () {\n%1\nvar signatures = %2;\nvar receiverName = '%3';\n%4})();\n")
        .arg(webChannelClient(), signatures(), QLatin1String(AppReceiverObjectName), QLatin1String(shim));
}
