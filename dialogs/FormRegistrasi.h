#pragma once
#include "dialogs/RegionLookups.h"
#include "service/JsonDocument.h"
#include "tasks/BackgroundTask.h"

#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class TRuvasaLib;

// The registration window: the prospective member's details, the region cascade looked up from
// the service, and the registration call with two photos. Not modal; it lives as long as its owner
// and each showing reloads its lists, keeping what was typed.
class TFormRegistrasi : public QWidget {
    Q_OBJECT
public:
    explicit TFormRegistrasi(TRuvasaLib &lib, QWidget *parent = nullptr);

    // ---- Controls, in the order they are validated ----
    QRadioButton *rdPria, *rdWanita;
    QLineEdit *edKotaLahir, *edName, *edNoIdent;
    QComboBox *cmbKecamatan, *cmbKelurahan, *cmbKota, *cmbKTP, *cmbProvinsi;
    QDateEdit *dateTglLahir;
    QPlainTextEdit *edAlamat;
    QComboBox *cmbPekerjaan, *cmbPendidikan;
    QLineEdit *edEmail, *edFoto, *edFotoProfil, *edInstansi, *edPass1, *edPass2, *edTelepon;
    QPushButton *btnFoto, *btnFotoProfil, *btnKirim;
    QToolButton *btnClose;
    QScrollArea *ScrollBox1, *ScrollBox2;
    // "( Requesting Data... )" beside the province, city, district and village boxes.
    std::array<QLabel *, RegionLevelCount> requestingLabels{};

    // ---- Window state ----
    RegionMap provinsiDict, kotaDict, kecamatanDict, kelurahanDict;
    TaskHandle RequestTask; // the running look-up or registration, if any
    bool SignalCancelled = false;
    QString gender = QStringLiteral("L");

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct InputProblem {
        QString message;
        QWidget *focus = nullptr;
    };

    // ---- Building the window (FormRegistrasi.cpp) ----
    QWidget *buildLeftColumn();
    QWidget *buildRightColumn();
    QWidget *regionRow(RegionLevel level, QComboBox *box);
    void FormShow();
    bool FormCloseQuery();
    void btnFotoClick();
    void btnFotoProfilClick();
    void choosePhoto(QLineEdit *target);

    // ---- Region cascade (FormRegistrasiRegions.cpp) ----
    QComboBox *regionBox(RegionLevel level) const;
    RegionMap &regionMap(RegionLevel level);
    const RegionMap &regionMap(RegionLevel level) const;
    void startRegionLookup(RegionLevel level, const std::string &parentId);
    void TaskTerminated(RegionLevel level, const RegionAnswer &answer);
    void fillRegionBox(RegionLevel level);
    void clearLevelsBelow(RegionLevel level);
    void regionChosen(RegionLevel level);
    void setRegionBoxesEnabled(bool enabled);
    void setRequestingShown(bool shown);
    std::string chosenRegionId(RegionLevel level) const;
    // The name each box showed when its list was filled or a choice was accepted.
    std::array<QString, RegionLevelCount> settledChoice;

    // ---- Sending (FormRegistrasiSend.cpp) ----
    void btnKirimClick();
    bool validateInput();
    std::optional<InputProblem> problemAt(QWidget *control) const;
    std::optional<InputProblem> passwordProblem() const;
    std::string dataJson() const;
    void executeRegisterTerminated(const JsonPtr &JSONResult);

    TRuvasaLib &lib;
};
