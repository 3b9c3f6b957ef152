// Sending a registration: the entries are checked in the window's order, then sent with the two
// photos in one background task.
#include "dialogs/FormRegistrasi.h"

#include "dialogs/InputPatterns.h"
#include "dialogs/PhotoFile.h"
#include "dialogs/RegistrationData.h"
#include "prompts/MessageBoxes.h"
#include "service/RegistrationRequests.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString AllRequired = QStringLiteral("Semua Kolom Wajib Diisi");

std::string utf8(const QString &text) {
    return text.toStdString();
}
} // namespace

void TFormRegistrasi::btnKirimClick() {
    if (!validateInput())
        return;
    const std::string data = dataJson();
    if (RequestTask) {
        showInformation(QStringLiteral("Harap Tunggu..."));
        return;
    }
    btnKirim->setEnabled(false);
    setRegionBoxesEnabled(false);
    auto reply = std::make_shared<JsonPtr>();
    RequestTask = BackgroundTask::start(
        QStringLiteral("executeRegister"), this,
        [endpoint = lib.serviceEndpoint(), data, identity = QFile::encodeName(edFoto->text()).toStdString(),
         photo = QFile::encodeName(edFotoProfil->text()).toStdString(),
         reply](TaskContext &) { *reply = executeRegister(endpoint, data, identity, photo); },
        [this, reply] { executeRegisterTerminated(*reply); });
}

void TFormRegistrasi::executeRegisterTerminated(const JsonPtr &JSONResult) {
    RequestTask.reset();
    btnKirim->setEnabled(true);
    if (!replyHasCode(JSONResult)) {
        showWarning(QStringLiteral("Registrasi Gagal, Cek Koneksi Internet anda"));
    } else if (replyText(JSONResult, "code") != "200") {
        showError(replyMessage(JSONResult));
    } else {
        showInformation(
            QStringLiteral("Pendaftaran Berhasil. Silahkan Cek e-mail yang anda masukan untuk diverifikasi"));
        close();
    }
}

bool TFormRegistrasi::validateInput() {
    QWidget *const order[] = {rdPria,       edKotaLahir,  edName,        edNoIdent,   cmbKecamatan,
                              cmbKelurahan, cmbKota,      cmbKTP,        cmbProvinsi, dateTglLahir,
                              edAlamat,     cmbPekerjaan, cmbPendidikan, edEmail,     edFoto,
                              edFotoProfil, edInstansi,   edPass1,       edPass2,     edTelepon};
    for (QWidget *control : order) {
        if (const std::optional<InputProblem> problem = problemAt(control)) {
            showError(problem->message);
            if (problem->focus)
                problem->focus->setFocus();
            return false;
        }
    }
    return true;
}

std::optional<TFormRegistrasi::InputProblem> TFormRegistrasi::problemAt(QWidget *control) const {
    if (control == rdPria && !rdPria->isChecked() && !rdWanita->isChecked())
        return InputProblem{AllRequired};
    if (control == edAlamat && edAlamat->toPlainText().trimmed().isEmpty())
        return InputProblem{QStringLiteral("Alamat Wajib Diisi"), edAlamat};
    if (auto *list = qobject_cast<QComboBox *>(control); list && list->currentText().isEmpty())
        return InputProblem{AllRequired};
    auto *edit = qobject_cast<QLineEdit *>(control);
    if (!edit)
        return std::nullopt; // the other kinds (and the date) have nothing more to check
    if (edit->text().trimmed().isEmpty())
        return InputProblem{AllRequired};
    if (edit == edEmail && !isEmailAddress(edit->text()))
        return InputProblem{QStringLiteral("Format E-mail salah")};
    if (edit == edFoto || edit == edFotoProfil) {
        const QString problem = photoProblem(edit == edFoto ? QStringLiteral("Foto Tanda Pengenal")
                                                            : QStringLiteral("Foto Profil"),
                                             edit->text());
        if (!problem.isEmpty())
            return InputProblem{problem};
    }
    return edit == edPass1 ? passwordProblem() : std::nullopt;
}

std::optional<TFormRegistrasi::InputProblem> TFormRegistrasi::passwordProblem() const {
    if (edPass1->text() != edPass2->text())
        return InputProblem{QStringLiteral("Ketik Ulang kata sandi anda"), edPass2};
    if (!isStrongPassword(edPass1->text()))
        return InputProblem{QStringLiteral("Kata Sandi Minimal 8-Karakter dengan kombinasi huruf angka"),
                            edPass1};
    return std::nullopt;
}

std::string TFormRegistrasi::dataJson() const {
    RegistrationData data;
    data.username = utf8(edEmail->text());
    data.password = utf8(edPass1->text());
    data.nama = utf8(edName->text());
    data.id_provinsi = chosenRegionId(RegionLevel::Provinsi);
    data.id_kota = chosenRegionId(RegionLevel::Kota);
    data.id_kecamatan = chosenRegionId(RegionLevel::Kecamatan);
    data.id_kelurahan = chosenRegionId(RegionLevel::Kelurahan);
    data.tgl_lahir = utf8(dateTglLahir->date().toString(QStringLiteral("yyyy-MM-dd")));
    data.gender = utf8(gender);
    data.nomor_identitas = utf8(edNoIdent->text());
    data.jenis_identitas = utf8(cmbKTP->currentText());
    data.pekerjaan = utf8(cmbPekerjaan->currentText());
    data.pendidikan = utf8(cmbPendidikan->currentText());
    data.alamat = utf8(edAlamat->toPlainText());
    data.kota = utf8(cmbKota->currentText());
    data.no_telepon = utf8(edTelepon->text());
    return registrationDataJson(data);
}
