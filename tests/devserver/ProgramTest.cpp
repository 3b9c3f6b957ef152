// The kelvara-devserver program: what it prints at start, its options and its clean shutdown.
#include "ServiceHarness.h"

#include "devserver/SampleContent.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

using namespace devserver;
using namespace devserver::testing;

namespace {

// Reads the program's output until it has printed its sign-in line (or gave up).
QString startupText(QProcess &process) {
    QString text;
    for (int i = 0; i < 600 && !text.contains("sign in"); ++i) {
        if (!process.waitForReadyRead(100) && process.state() != QProcess::Running)
            break;
        text += QString::fromUtf8(process.readAllStandardOutput());
    }
    return text;
}

} // namespace

TEST(DevServerProgram, PrintsWhereItServesAndStopsCleanlyOnSignals) {
    QTemporaryDir dir;
    for (int signal : {SIGTERM, SIGINT}) {
        QProcess process;
        process.start(KELVARA_DEVSERVER_PROGRAM, {"--port", "0", "--data", dir.path()});
        ASSERT_TRUE(process.waitForStarted());
        const QString text = startupText(process);

        const auto base = QRegularExpression("base URL : https://127\\.0\\.0\\.1:(\\d+)").match(text);
        ASSERT_TRUE(base.hasMatch()) << text.toStdString();
        EXPECT_GT(base.captured(1).toInt(), 0);
        EXPECT_TRUE(text.contains("CA file  : " + dir.filePath("ca.pem"))) << text.toStdString();
        const SampleMember &m = sampleMembers().front();
        EXPECT_TRUE(text.contains(QString::fromStdString("sign in  : " + m.username + " / " + m.password)));

        // The printed sign-in works against the printed address, trusting the printed CA.
        httplib::SSLClient client("127.0.0.1", base.captured(1).toInt());
        client.set_ca_cert_path(dir.filePath("ca.pem").toStdString().c_str());
        client.enable_server_certificate_verification(true);
        auto reply =
            client.Post("/api/wl/executeLogin", {{"CLIENTID", "338"}, {"OS", "WIN"}, {"UUID", "AB12CD34"}},
                        encodeForm({{"user", m.username}, {"pass", m.password}, {"uuid", "AB12CD34"}}),
                        "application/x-www-form-urlencoded");
        ASSERT_TRUE(reply);
        EXPECT_EQ(Json::parse(reply->body).value("code", ""), "200");

        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).contains("stopped"));
    }
}

TEST(DevServerProgram, RefusesUnknownOptionsWithItsUsage) {
    const QStringList cases[] = {
        {"--port", "abc"}, {"--port", "12abc"}, {"--port", "70000"}, {"--version-policy", "maybe"},
        {"--verbose"},     {"--data"},
    };
    for (const QStringList &args : cases) {
        QProcess process;
        process.start(KELVARA_DEVSERVER_PROGRAM, args);
        ASSERT_TRUE(process.waitForFinished(10000)) << args.join(' ').toStdString();
        EXPECT_EQ(process.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(process.readAllStandardError().contains("usage: kelvara-devserver"));
    }
}
