// The registration window without a service: validation order and messages, a failed province
// look-up, closing while a task runs, a failed send, and the columns' wheel.
#include "tests/dialogs/RegistrationEntries.h"
#include "tests/support/EventLoop.h"

#include "prompts/FileDialogs.h"
#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace registration_testing;

class RegistrationForm : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes boxesScope{boxes};
    // Nothing listens there: every call fails at once.
    TRuvasaLib lib{ServiceEndpoint{"https://127.0.0.1:9", ""}};
    TFormRegistrasi form{lib};
    QTemporaryDir dir;

    void TearDown() override {
        processUntil([&] { return !form.RequestTask; });
        form.hide();
    }
    // A complete, valid form whose region boxes hold one place each.
    void fillValidForm() {
        const std::pair<QComboBox *, const char *> regions[] = {{form.cmbProvinsi, "Jawa Barat"},
                                                                {form.cmbKota, "Bandung"},
                                                                {form.cmbKecamatan, "Coblong"},
                                                                {form.cmbKelurahan, "Dago"}};
        for (const auto &[box, name] : regions) {
            box->clear();
            box->addItem(QString::fromLatin1(name));
        }
        fillEntries(form, QDir(dir.path()), QStringLiteral("rina@kelvara.id"));
    }
    QString lastMessage() const { return boxes.shown.empty() ? QString() : boxes.shown.back().text; }
};

TEST_F(RegistrationForm, TheFirstProblemInTheWindowsOrderIsReported) {
    const QString AllRequired = QStringLiteral("Semua Kolom Wajib Diisi");
    struct Case {
        const char *name;
        std::function<void()> spoil;
        QString message;
        QWidget *focus;
    };
    const Case cases[] = {
        {"different passwords before an empty phone",
         [&] {
             form.edPass2->setText(QStringLiteral("Rahasia124"));
             form.edTelepon->clear();
         },
         QStringLiteral("Ketik Ulang kata sandi anda"), form.edPass2},
        {"different passwords before a weak one",
         [&] {
             form.edPass1->setText(QStringLiteral("12345678"));
             form.edPass2->setText(QStringLiteral("1234567"));
         },
         QStringLiteral("Ketik Ulang kata sandi anda"), form.edPass2},
        {"repeated weak password",
         [&] {
             form.edPass1->setText(QStringLiteral("12345678"));
             form.edPass2->setText(QStringLiteral("12345678"));
         },
         QStringLiteral("Kata Sandi Minimal 8-Karakter dengan kombinasi huruf angka"), form.edPass1},
        {"empty birth place, not sent but required", [&] { form.edKotaLahir->clear(); }, AllRequired,
         nullptr},
        {"empty name before an empty address",
         [&] {
             form.edName->clear();
             form.edAlamat->clear();
         },
         AllRequired, nullptr},
        {"blank address", [&] { form.edAlamat->setPlainText(QStringLiteral(" \n ")); },
         QStringLiteral("Alamat Wajib Diisi"), form.edAlamat},
        {"empty district list before a bad e-mail",
         [&] {
             form.cmbKecamatan->clear();
             form.edEmail->setText(QStringLiteral("rina"));
         },
         AllRequired, nullptr},
        {"no occupation chosen", [&] { form.cmbPekerjaan->setCurrentIndex(-1); }, AllRequired, nullptr},
        {"no education chosen", [&] { form.cmbPendidikan->setCurrentIndex(-1); }, AllRequired, nullptr},
        {"e-mail with a space before a weak password",
         [&] {
             form.edEmail->setText(QStringLiteral("rina@kelvara.id "));
             form.edPass1->setText(QStringLiteral("abc"));
         },
         QStringLiteral("Format E-mail salah"), nullptr},
        {"identity photo not chosen", [&] { form.edFoto->clear(); }, AllRequired, nullptr},
        {"profile photo gone since it was chosen", [&] { QFile::remove(form.edFotoProfil->text()); },
         QStringLiteral("Foto Profil tidak dapat dibaca : ") + dir.filePath(QStringLiteral("saya.jpg")),
         nullptr},
        {"empty school", [&] { form.edInstansi->clear(); }, AllRequired, nullptr},
        {"empty phone", [&] { form.edTelepon->clear(); }, AllRequired, nullptr},
    };
    for (const Case &c : cases) {
        fillValidForm();
        form.edName->setFocus(); // so a focus move shows
        c.spoil();
        const std::size_t before = boxes.shown.size();
        form.btnKirim->click();
        ASSERT_EQ(boxes.shown.size(), before + 1) << c.name;
        EXPECT_EQ(boxes.shown.back().kind, MsgKind::Error) << c.name;
        EXPECT_EQ(lastMessage(), c.message) << c.name;
        if (c.focus) {
            EXPECT_EQ(form.focusWidget(), c.focus) << c.name;
        }
        EXPECT_FALSE(form.RequestTask) << c.name << ": nothing may be sent";
        EXPECT_TRUE(form.btnKirim->isEnabled()) << c.name;
    }
}

TEST_F(RegistrationForm, ThePhoneTakesDigitsOnly) {
    form.edTelepon->clear();
    form.edTelepon->insert(QStringLiteral("0812-abc"));
    EXPECT_EQ(form.edTelepon->text(), QString());
    form.edTelepon->insert(QStringLiteral("0812"));
    EXPECT_EQ(form.edTelepon->text(), QStringLiteral("0812"));
}

TEST_F(RegistrationForm, AFailedProvinceLookupStopsTheCascadeWithItsMessage) {
    form.show();
    for (QLabel *label : form.requestingLabels)
        EXPECT_TRUE(label->isVisible());
    EXPECT_FALSE(form.cmbKota->isEnabled());
    ASSERT_TRUE(form.RequestTask);
    EXPECT_EQ(form.RequestTask->name(), QStringLiteral("provinsiRequest"));
    ASSERT_TRUE(processUntil([&] { return !form.RequestTask; }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Request Error #408: ")))
        << lastMessage().toStdString();
    EXPECT_GT(lastMessage().size(), QStringLiteral("Request Error #408: ").size());
    for (QComboBox *box : {form.cmbProvinsi, form.cmbKota, form.cmbKecamatan, form.cmbKelurahan}) {
        EXPECT_EQ(box->count(), 0);
        EXPECT_TRUE(box->isEnabled());
    }
    for (QLabel *label : form.requestingLabels)
        EXPECT_FALSE(label->isVisible());
    EXPECT_TRUE(form.provinsiDict.empty());
}

TEST_F(RegistrationForm, ClosingIsRefusedWhileATaskRunsAndItsAnswerIsDropped) {
    form.show();
    ASSERT_TRUE(form.RequestTask); // the province look-up
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(lastMessage(), QStringLiteral("Harap Tunggu..."));
    EXPECT_TRUE(form.SignalCancelled);
    ASSERT_TRUE(processUntil([&] { return !form.RequestTask; }));
    EXPECT_TRUE(form.close());

    form.show(); // a new showing clears the close request
    EXPECT_FALSE(form.SignalCancelled);
    processUntil([&] { return !form.RequestTask; });
    fillValidForm();
    boxes.shown.clear();
    form.btnKirim->click();
    ASSERT_TRUE(form.RequestTask);
    EXPECT_EQ(form.RequestTask->name(), QStringLiteral("executeRegister"));
    EXPECT_FALSE(form.close());
    EXPECT_EQ(lastMessage(), QStringLiteral("Harap Tunggu... Proses Registrasi Sedang Berjalan"));
    form.btnKirim->setEnabled(true);
    form.btnKirim->click(); // a second send while the first runs
    EXPECT_EQ(lastMessage(), QStringLiteral("Harap Tunggu..."));
}

TEST_F(RegistrationForm, AFailedSendReportsTheErrorAndTheButtonWorksAgain) {
    fillValidForm();
    form.btnKirim->click();
    EXPECT_FALSE(form.btnKirim->isEnabled());
    for (QComboBox *box : {form.cmbProvinsi, form.cmbKota, form.cmbKecamatan, form.cmbKelurahan})
        EXPECT_FALSE(box->isEnabled());
    ASSERT_TRUE(processUntil([&] { return !form.RequestTask; }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_FALSE(lastMessage().isEmpty());
    EXPECT_TRUE(form.btnKirim->isEnabled());
    for (QComboBox *box : {form.cmbProvinsi, form.cmbKota, form.cmbKecamatan, form.cmbKelurahan})
        EXPECT_FALSE(box->isEnabled()) << "until the next look-up";
}

TEST_F(RegistrationForm, PhotosAreChosenFromJpgAndPngFiles) {
    ScriptedFileDialogs dialogs;
    ScopedFileDialogs scope(dialogs);
    dialogs.answers = {QStringLiteral("/tmp/ktp.png")};
    form.btnFoto->click();
    form.btnFotoProfil->click(); // cancelled
    EXPECT_EQ(form.edFoto->text(), QStringLiteral("/tmp/ktp.png"));
    EXPECT_EQ(form.edFotoProfil->text(), QString());
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_FALSE(dialogs.asked[0].save);
    EXPECT_EQ(dialogs.asked[0].filters,
              QStringList({QStringLiteral("JPG File (*.jpg)"), QStringLiteral("PNG File (*.png)")}));
}

TEST_F(RegistrationForm, TheWheelScrollsTheColumnAndLeavesItsListsAlone) {
    fillValidForm();
    form.cmbKTP->setCurrentIndex(0);
    form.resize(785, 496);
    form.show();
    QScrollBar *bar = form.ScrollBox1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), bar->singleStep()) << "the column must be longer than the window";
    auto turn = [](QWidget *target, int delta) {
        QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    };
    turn(form.cmbKTP, -120); // one step down, over a list
    EXPECT_EQ(bar->value(), bar->singleStep());
    EXPECT_EQ(form.cmbKTP->currentIndex(), 0);
    turn(form.ScrollBox1->viewport(), -240);
    EXPECT_EQ(bar->value(), 3 * bar->singleStep());
    turn(form.dateTglLahir, 120);
    EXPECT_EQ(bar->value(), 2 * bar->singleStep());
    EXPECT_EQ(form.dateTglLahir->date(), QDate(1990, 1, 1));
}

} // namespace
