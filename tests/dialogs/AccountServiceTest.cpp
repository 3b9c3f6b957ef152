// The account windows against the local library service: the region cascade, a full registration
// after which the new member logs in, and the password-reset request.
#include "tests/devserver/ClientAgainstService.h"
#include "tests/dialogs/RegistrationEntries.h"
#include "tests/support/EventLoop.h"

#include "devserver/Database.h"
#include "devserver/SampleContent.h"
#include "dialogs/FormForgotPass.h"
#include "prompts/MessageBoxes.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

using devserver::testing::Json;
using namespace registration_testing;

class AccountWindows : public ::testing::Test, protected ClientAgainstService {
protected:
    long long requestsBefore = 0;

    void SetUp() override {
        lib.FClientJson.store(lib.getClientJson());
        const Json all = serviceClient.recorded(0);
        requestsBefore = all.empty() ? 0 : all.back().value("id", 0LL);
    }
    void TearDown() override {
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
    }
    // The paths called since the test began.
    std::vector<std::string> paths() {
        std::vector<std::string> out;
        for (const Json &request : serviceClient.recorded(requestsBefore))
            out.push_back(request.value("path", ""));
        return out;
    }
    // The service's place names below `path`, in the order a sorted list shows them.
    QStringList placesAt(const std::string &path) {
        QStringList names;
        const devserver::testing::Reply reply = serviceClient.get(path);
        for (const Json &place : reply.json["data"])
            names << QString::fromStdString(place["nama"].get<std::string>());
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(names.begin(), names.end(), collator);
        return names;
    }
    static std::string entries(QComboBox *box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out.join(QLatin1Char('|')).toStdString();
    }
};

class Registration : public AccountWindows {
protected:
    TFormRegistrasi form{lib};
    QTemporaryDir dir;

    void TearDown() override {
        processUntil([&] { return !form.RequestTask; });
        AccountWindows::TearDown();
    }
    bool cascadeSettled() {
        return processUntil([&] { return !form.RequestTask && form.cmbKelurahan->count() > 0; });
    }
    // Checks that each box lists the places under the choice above it, the first one chosen.
    void expectConsistentCascade() {
        std::string path = "/api/generic/provinsi";
        const std::pair<QComboBox *, RegionMap *> levels[] = {{form.cmbProvinsi, &form.provinsiDict},
                                                              {form.cmbKota, &form.kotaDict},
                                                              {form.cmbKecamatan, &form.kecamatanDict},
                                                              {form.cmbKelurahan, &form.kelurahanDict}};
        const char *below[] = {"kota", "kecamatan", "kelurahan", ""};
        for (int level = 0; level < 4; ++level) {
            auto [box, map] = levels[level];
            EXPECT_EQ(entries(box), placesAt(path).join(QLatin1Char('|')).toStdString()) << path;
            if (level > 0) { // a level below the province starts at its first place
                EXPECT_EQ(box->currentIndex(), 0) << path;
            }
            EXPECT_TRUE(box->isEnabled());
            const std::string id = map->at(box->currentText().toStdString());
            path = std::string("/api/generic/") + below[level] + "/" + id;
        }
    }
};

TEST_F(Registration, TheProvinceListLeadsToTheFirstVillageWithoutInput) {
    form.show();
    EXPECT_EQ(form.cmbPekerjaan->itemText(0), QStringLiteral("Pelajar"));
    EXPECT_EQ(form.cmbPekerjaan->currentIndex(), -1);
    ASSERT_TRUE(cascadeSettled());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(form.cmbProvinsi->currentIndex(), 0);
    for (QLabel *label : form.requestingLabels)
        EXPECT_FALSE(label->isVisible());
    const std::vector<std::string> called = paths();
    ASSERT_EQ(called.size(), 4u);
    EXPECT_EQ(called[0], "/api/generic/provinsi");
    EXPECT_EQ(called[1].rfind("/api/generic/kota/", 0), 0u);
    EXPECT_EQ(called[3].rfind("/api/generic/kelurahan/", 0), 0u);
    expectConsistentCascade();
}

TEST_F(Registration, AChoiceDuringALookupIsRefusedAndChangesNothing) {
    form.show();
    ASSERT_TRUE(cascadeSettled());
    ASSERT_GE(form.cmbProvinsi->count(), 3);
    form.cmbProvinsi->setCurrentIndex(1);
    emit form.cmbProvinsi->activated(1);
    ASSERT_TRUE(form.RequestTask);
    EXPECT_EQ(form.RequestTask->name(), QStringLiteral("kotaRequest"));
    EXPECT_FALSE(form.cmbProvinsi->isEnabled());
    for (QLabel *label : form.requestingLabels)
        EXPECT_TRUE(label->isVisible());

    form.cmbProvinsi->setCurrentIndex(2);
    emit form.cmbProvinsi->activated(2);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Harap Tunggu..."));
    EXPECT_EQ(form.cmbProvinsi->currentIndex(), 1);
    form.cmbKecamatan->setCurrentIndex(form.cmbKecamatan->count() - 1);
    emit form.cmbKecamatan->activated(form.cmbKecamatan->count() - 1); // ignored without a message
    EXPECT_EQ(boxes.shown.size(), 1u);

    ASSERT_TRUE(cascadeSettled());
    EXPECT_EQ(form.cmbProvinsi->currentIndex(), 1);
    expectConsistentCascade();
}

TEST_F(Registration, AClosingWindowDropsTheAnswerOfItsLookup) {
    form.show();
    EXPECT_FALSE(form.close());
    ASSERT_TRUE(processUntil([&] { return !form.RequestTask; }));
    EXPECT_EQ(form.cmbProvinsi->count(), 0);
    EXPECT_TRUE(form.provinsiDict.empty());
    EXPECT_EQ(paths().size(), 1u) << "no city look-up follows a dropped answer";
}

TEST_F(Registration, ANewMemberCanLogInAfterRegistering) {
    const QString email = QStringLiteral("rina.jendela@kelvara.test");
    db.run("DELETE FROM members WHERE username = ?", {email.toStdString()});
    form.show();
    ASSERT_TRUE(cascadeSettled());
    fillEntries(form, QDir(dir.path()), email);
    const std::string village = form.kelurahanDict.at(form.cmbKelurahan->currentText().toStdString());
    form.btnKirim->click();
    ASSERT_TRUE(processUntil([&] { return !form.RequestTask; }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Information);
    EXPECT_EQ(
        boxes.shown[0].text,
        QStringLiteral("Pendaftaran Berhasil. Silahkan Cek e-mail yang anda masukan untuk diverifikasi"));
    EXPECT_FALSE(form.isVisible());

    const auto row =
        db.queryOne("SELECT nama, details FROM members WHERE username = ?", {email.toStdString()});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text(0), "Rina \"Ina\" O'Neil");
    const Json details = Json::parse(row->text(1));
    EXPECT_EQ(details["alamat"], "Jl. Melati 5\nRT 01 / RW 02 \\ belakang");
    EXPECT_EQ(details["id_kelurahan"], village);
    EXPECT_EQ(details["gender"], "P");
    EXPECT_EQ(details["pendidikan"], "Strata 1 ");
    EXPECT_EQ(details["tgl_lahir"], "1990-01-01");
    EXPECT_EQ(replyText(lib.LoginRequest(email.toStdString(), "Rahasia123"), "code"), "200");

    boxes.shown.clear(); // the same address a second time is refused by the service
    form.show();
    ASSERT_TRUE(cascadeSettled());
    EXPECT_EQ(form.edName->text(), QStringLiteral("Rina \"Ina\" O'Neil")) << "typed entries stay";
    form.cmbPekerjaan->setCurrentIndex(0); // the reloaded list has no choice
    form.btnKirim->click();
    ASSERT_TRUE(processUntil([&] { return !form.RequestTask; }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("E-mail sudah terdaftar"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.btnKirim->isEnabled());
    EXPECT_FALSE(form.cmbProvinsi->isEnabled());
}

class ForgotPassword : public AccountWindows {
protected:
    TFormForgotPass form{lib};
    std::size_t resetRequests() {
        const std::vector<std::string> called = paths();
        return static_cast<std::size_t>(std::count(called.begin(), called.end(), "/api/wl/forgotPassword"));
    }
    long long outboxFor(const std::string &recipient) {
        return db
            .queryOne("SELECT COUNT(*) FROM outbox WHERE recipient = ? AND subject = 'Reset Kata Sandi'",
                      {recipient})
            ->integer(0);
    }
};

TEST_F(ForgotPassword, AddressesAreCheckedBeforeAnythingIsSent) {
    form.show();
    const std::pair<const char *, const char *> cases[] = {
        {"", "Alamat E-mail wajib diisi"},
        {"tanpa-domain", "Format E-mail salah"},
        {"rina@", "Format E-mail salah"},
        {" rina@kelvara.test ", "Format E-mail salah"},
    };
    for (const auto &[address, message] : cases) {
        form.Edit1->setText(QString::fromUtf8(address));
        form.Button1->click();
        ASSERT_FALSE(boxes.shown.empty());
        EXPECT_EQ(boxes.shown.back().kind, MsgKind::Warning) << address;
        EXPECT_EQ(boxes.shown.back().text, QString::fromUtf8(message)) << address;
        EXPECT_TRUE(form.Button1->isEnabled()) << address;
    }
    processUntil([] { return false; }, 200);
    EXPECT_EQ(resetRequests(), 0u);
}

TEST_F(ForgotPassword, AnUnknownAddressEmptiesTheField) {
    form.show();
    form.Edit1->setText(QStringLiteral("tidak.ada@kelvara.test"));
    form.Button1->click();
    EXPECT_FALSE(form.Button1->isEnabled());
    ASSERT_TRUE(processUntil([&] { return form.Button1->isEnabled(); }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Error : E-mail tidak terdaftar"));
    EXPECT_EQ(form.Edit1->text(), QString());
    EXPECT_TRUE(form.isVisible());
    form.Button1->click();
    EXPECT_EQ(boxes.shown.back().text, QStringLiteral("Alamat E-mail wajib diisi"));
}

TEST_F(ForgotPassword, AMemberGetsTheResetMailOnceEvenWithEnterPressedAgain) {
    const std::string member = devserver::sampleMembers().at(1).username;
    const long long mailsBefore = outboxFor(member);
    form.show();
    form.activateWindow();
    form.Edit1->setText(QString::fromStdString(member));
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    EXPECT_FALSE(form.Button1->isEnabled());
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    ASSERT_TRUE(processUntil([&] { return !form.isVisible(); }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Information);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Silahkan cek e-mail anda untuk langkah selanjutnya"));
    BackgroundTask::waitForAll();
    EXPECT_EQ(resetRequests(), 1u);
    EXPECT_EQ(outboxFor(member), mailsBefore + 1);
}

TEST_F(ForgotPassword, AnAnswerAfterTheWindowClosedIsNotShown) {
    form.show();
    form.Edit1->setText(QString::fromStdString(devserver::sampleMembers().at(0).username));
    form.Button1->click();
    form.close();
    EXPECT_TRUE(form.Button1->isEnabled());
    BackgroundTask::waitForAll();
    processUntil([] { return false; }, 200);
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
