#include "dialogs/FormRegistrasi.h"

#include "dialogs/ColumnWheelScroll.h"
#include "dialogs/DialogHeader.h"
#include "prompts/FileDialogs.h"
#include "prompts/MessageBoxes.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QStringList EducationLevels = {QStringLiteral("Sekolah Dasar / Sederajat"),
                                     QStringLiteral("Sekolah Menengah Pertama / Sederajat"),
                                     QStringLiteral("Sekolah Menengah Atas / Sederajat "),
                                     QStringLiteral("Diploma 1 "),
                                     QStringLiteral("Diploma 2"),
                                     QStringLiteral("Diploma 3"),
                                     QStringLiteral("Diploma 4"),
                                     QStringLiteral("Politeknik"),
                                     QStringLiteral("Strata 1 "),
                                     QStringLiteral("Strata 2"),
                                     QStringLiteral("Strata 3")};

const QStringList IdentityKinds = {QStringLiteral("KTP"), QStringLiteral("SIM"),
                                   QStringLiteral("Kartu Pelajar"), QStringLiteral("Lainnya")};

const QStringList PhotoFilters = {QStringLiteral("JPG File (*.jpg)"), QStringLiteral("PNG File (*.png)")};

const QString Notice = QStringLiteral(
    "Data - data yang anda isikan dihalaman ini akan digunakan untuk kepentingan analisa dan laporan data "
    "statistik terkait minat baca masyarakat, beserta bidang baca yang diminati oleh sebagian besar pembaca, "
    "sehingga kami dapat memberikan layanan yang lebih baik lagi untuk anda.");

void addField(QVBoxLayout *column, const QString &label, QWidget *control) {
    column->addWidget(new QLabel(label));
    column->addWidget(control);
}

QComboBox *listBox(const QStringList &items = {}) {
    auto *box = new QComboBox;
    box->addItems(items);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

QLineEdit *maskedEdit(const QString &hint) {
    auto *edit = new QLineEdit;
    edit->setEchoMode(QLineEdit::Password);
    edit->setToolTip(hint);
    return edit;
}

QScrollArea *column(QWidget *fields, QWidget *parent) {
    auto *area = new QScrollArea(parent);
    area->setWidget(fields);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFrameShape(QFrame::NoFrame);
    ColumnWheelScroll::attach(area);
    return area;
}

// A picture path, chosen with the "..." button beside it.
QWidget *photoRow(QLineEdit *&path, QPushButton *&choose) {
    auto *row = new QWidget;
    path = new QLineEdit(row);
    path->setReadOnly(true);
    choose = new QPushButton(QStringLiteral("..."), row);
    choose->setFixedWidth(32);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(path, 1);
    layout->addWidget(choose);
    return row;
}

} // namespace

TFormRegistrasi::TFormRegistrasi(TRuvasaLib &lib, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), lib(lib) {
    setWindowTitle(QStringLiteral("Registrasi Akun Keanggotaan Anda"));
    setFixedSize(785, 496);
    auto *title = new QLabel(QStringLiteral("Registrasi Akun Keanggotaan Anda"), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    ScrollBox1 = column(buildLeftColumn(), this);
    ScrollBox2 = column(buildRightColumn(), this);
    auto *notice = new QLabel(Notice, this);
    notice->setWordWrap(true);
    QFont noticeFont = notice->font();
    noticeFont.setItalic(true);
    notice->setFont(noticeFont);
    btnKirim = new QPushButton(QStringLiteral("Kirim Registrasi*"), this);

    auto *columns = new QHBoxLayout;
    columns->addWidget(ScrollBox1);
    columns->addWidget(ScrollBox2);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(notice, 1);
    bottom->addWidget(btnKirim, 0, Qt::AlignBottom);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(12, 6, 12, 10);
    body->addWidget(title);
    body->addLayout(columns, 1);
    body->addLayout(bottom);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeDialogHeader(this, QString(), btnClose));
    layout->addLayout(body, 1);

    connect(btnClose, &QToolButton::clicked, this, &QWidget::close);
    connect(btnKirim, &QPushButton::clicked, this, &TFormRegistrasi::btnKirimClick);
    connect(btnFoto, &QPushButton::clicked, this, &TFormRegistrasi::btnFotoClick);
    connect(btnFotoProfil, &QPushButton::clicked, this, &TFormRegistrasi::btnFotoProfilClick);
    connect(rdPria, &QRadioButton::clicked, this, [this] { gender = QStringLiteral("L"); });
    connect(rdWanita, &QRadioButton::clicked, this, [this] { gender = QStringLiteral("P"); });
    for (RegionLevel level : {RegionLevel::Provinsi, RegionLevel::Kota, RegionLevel::Kecamatan})
        connect(regionBox(level), &QComboBox::activated, this, [this, level] { regionChosen(level); });
    connect(cmbKelurahan, &QComboBox::activated, this, [this] {
        settledChoice[static_cast<int>(RegionLevel::Kelurahan)] = cmbKelurahan->currentText();
    });
}

QWidget *TFormRegistrasi::buildLeftColumn() {
    auto *fields = new QWidget;
    auto *layout = new QVBoxLayout(fields);
    auto *genders = new QWidget;
    rdPria = new QRadioButton(QStringLiteral("Pria"), genders);
    rdWanita = new QRadioButton(QStringLiteral("Wanita"), genders);
    rdPria->setChecked(true);
    auto *genderLayout = new QHBoxLayout(genders);
    genderLayout->setContentsMargins(0, 0, 0, 0);
    genderLayout->addWidget(rdPria);
    genderLayout->addWidget(rdWanita);
    genderLayout->addStretch();
    addField(layout, QStringLiteral("Jenis Kelamin"), genders);
    addField(layout, QStringLiteral("Tempat Lahir"), edKotaLahir = new QLineEdit);
    addField(layout, QStringLiteral("Nama Lengkap"), edName = new QLineEdit);
    addField(layout, QStringLiteral("Jenis Identitas"), cmbKTP = listBox(IdentityKinds));
    addField(layout, QStringLiteral("No. Identitas"), edNoIdent = new QLineEdit);
    addField(layout, QStringLiteral("Provinsi"), regionRow(RegionLevel::Provinsi, cmbProvinsi = listBox()));
    addField(layout, QStringLiteral("Kota"), regionRow(RegionLevel::Kota, cmbKota = listBox()));
    addField(layout, QStringLiteral("Kecamatan"),
             regionRow(RegionLevel::Kecamatan, cmbKecamatan = listBox()));
    addField(layout, QStringLiteral("Kelurahan"),
             regionRow(RegionLevel::Kelurahan, cmbKelurahan = listBox()));
    dateTglLahir = new QDateEdit(QDate(1990, 1, 1));
    dateTglLahir->setCalendarPopup(true);
    dateTglLahir->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    addField(layout, QStringLiteral("Tanggal Lahir"), dateTglLahir);
    edAlamat = new QPlainTextEdit;
    edAlamat->setFixedHeight(70);
    edAlamat->setTabChangesFocus(true);
    addField(layout, QStringLiteral("Alamat Lengkap"), edAlamat);
    layout->addStretch();
    return fields;
}

QWidget *TFormRegistrasi::buildRightColumn() {
    auto *fields = new QWidget;
    auto *layout = new QVBoxLayout(fields);
    addField(layout, QStringLiteral("Pekerjaan"), cmbPekerjaan = listBox());
    addField(layout, QStringLiteral("Pendidikan Terakhir"), cmbPendidikan = listBox(EducationLevels));
    cmbPendidikan->setCurrentIndex(-1);
    addField(layout, QStringLiteral("E-mail"), edEmail = new QLineEdit);
    edEmail->setToolTip(QStringLiteral("E-mail ini digunakan untuk mengakses akun perpustakaan anda"));
    addField(layout, QStringLiteral("Upload Foto Tanda Pengenal"), photoRow(edFoto, btnFoto));
    addField(layout, QStringLiteral("Foto Profil"), photoRow(edFotoProfil, btnFotoProfil));
    addField(layout, QStringLiteral("Asal Instansi/Sekolah"), edInstansi = new QLineEdit);
    addField(layout, QStringLiteral("Kata Sandi"),
             edPass1 =
                 maskedEdit(QStringLiteral("Kata sandi yang digunakan untuk mengakses perpustakaan ini")));
    addField(layout, QStringLiteral("Ketik Ulang Kata Sandi"),
             edPass2 = maskedEdit(QStringLiteral("Ketik ulang kata sandi anda")));
    edTelepon = new QLineEdit;
    edTelepon->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edTelepon));
    addField(layout, QStringLiteral("No. Telepon/Handphone"), edTelepon);
    layout->addStretch();
    return fields;
}

QWidget *TFormRegistrasi::regionRow(RegionLevel level, QComboBox *box) {
    auto *row = new QWidget;
    auto *label = new QLabel(QStringLiteral("( Requesting Data... )"), row);
    QFont italic = label->font();
    italic.setItalic(true);
    label->setFont(italic);
    requestingLabels[static_cast<int>(level)] = label;
    box->setParent(row);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box, 1);
    layout->addWidget(label);
    return row;
}

void TFormRegistrasi::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // restored from the task bar, not shown anew
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TFormRegistrasi::FormShow() {
    SignalCancelled = false;
    for (RegionLevel level : {RegionLevel::Kota, RegionLevel::Kecamatan, RegionLevel::Kelurahan})
        regionBox(level)->setEnabled(false);
    clearLevelsBelow(RegionLevel::Provinsi);
    cmbPekerjaan->clear();
    const QString occupations =
        QString::fromStdString(replyText(replyData(lib.FClientJson.load()), "daftar_pekerjaan"));
    cmbPekerjaan->addItems(occupations.split(QLatin1Char(';'), Qt::SkipEmptyParts));
    cmbPekerjaan->setCurrentIndex(-1);
    gender = rdWanita->isChecked() ? QStringLiteral("P") : QStringLiteral("L");
    cmbProvinsi->clear();
    provinsiDict.clear();
    setRequestingShown(true);
    startRegionLookup(RegionLevel::Provinsi, {});
}

void TFormRegistrasi::closeEvent(QCloseEvent *event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TFormRegistrasi::FormCloseQuery() {
    SignalCancelled = true;
    if (RequestTask) {
        showInformation(RequestTask->name() == QLatin1String("executeRegister")
                            ? QStringLiteral("Harap Tunggu... Proses Registrasi Sedang Berjalan")
                            : QStringLiteral("Harap Tunggu..."));
        return false;
    }
    for (RegionMap *map : {&provinsiDict, &kotaDict, &kecamatanDict, &kelurahanDict})
        map->clear();
    return true;
}

void TFormRegistrasi::btnFotoClick() {
    choosePhoto(edFoto);
}

void TFormRegistrasi::btnFotoProfilClick() {
    choosePhoto(edFotoProfil);
}

void TFormRegistrasi::choosePhoto(QLineEdit *target) {
    const QString path = fileDialogs().openFile(this, PhotoFilters);
    if (!path.isEmpty())
        target->setText(path);
}
