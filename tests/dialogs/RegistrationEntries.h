#pragma once
// Valid registration entries and photo files for the registration window's tests.
#include "dialogs/FormRegistrasi.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace registration_testing {

inline const QByteArray Png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
inline const QByteArray Jpeg("\xFF\xD8\xFF\xE0\0\x10JFIF", 10);

inline QString writeFile(const QDir &dir, const QString &name, const QByteArray &bytes) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return file.fileName();
}

// Fills every entry but the region boxes with a valid value; the photos are written into `dir`.
inline void fillEntries(TFormRegistrasi &form, const QDir &dir, const QString &email) {
    form.rdWanita->click();
    form.edKotaLahir->setText(QStringLiteral("Bandung"));
    form.edName->setText(QStringLiteral("Rina \"Ina\" O'Neil"));
    form.edNoIdent->setText(QStringLiteral("3201010101900001"));
    form.cmbKTP->setCurrentText(QStringLiteral("Kartu Pelajar"));
    form.edAlamat->setPlainText(QStringLiteral("Jl. Melati 5\nRT 01 / RW 02 \\ belakang"));
    if (form.cmbPekerjaan->count() == 0)
        form.cmbPekerjaan->addItem(QStringLiteral("Guru"));
    form.cmbPekerjaan->setCurrentIndex(0);
    form.cmbPendidikan->setCurrentText(QStringLiteral("Strata 1 "));
    form.edEmail->setText(email);
    form.edFoto->setText(writeFile(dir, QStringLiteral("ktp.png"), Png));
    form.edFotoProfil->setText(writeFile(dir, QStringLiteral("saya.jpg"), Jpeg));
    form.edInstansi->setText(QStringLiteral("SMA 1 Bandung"));
    form.edPass1->setText(QStringLiteral("Rahasia123"));
    form.edPass2->setText(QStringLiteral("Rahasia123"));
    form.edTelepon->setText(QStringLiteral("081234567890"));
}

} // namespace registration_testing
