// The region cascade of the registration window: provinces, cities, districts and villages looked
// up one level at a time, each filled list leading to the look-up of its first entry's places.
#include "dialogs/FormRegistrasi.h"

#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"

#include <QCollator>
#include <QComboBox>
#include <QLabel>

#include <algorithm>
#include <memory>

namespace {

constexpr std::array<RegionLevel, RegionLevelCount> AllLevels = {
    RegionLevel::Provinsi, RegionLevel::Kota, RegionLevel::Kecamatan, RegionLevel::Kelurahan};

int indexOf(RegionLevel level) {
    return static_cast<int>(level);
}

RegionLevel below(RegionLevel level) {
    return static_cast<RegionLevel>(indexOf(level) + 1);
}

// The names of a level's places in the order a sorted list box shows them.
QStringList sortedNames(const RegionMap &places) {
    QStringList names;
    for (const auto &[name, id] : places)
        names << QString::fromStdString(name);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    return names;
}

} // namespace

QComboBox *TFormRegistrasi::regionBox(RegionLevel level) const {
    const std::array<QComboBox *, RegionLevelCount> boxes = {cmbProvinsi, cmbKota, cmbKecamatan,
                                                             cmbKelurahan};
    return boxes[static_cast<std::size_t>(indexOf(level))];
}

namespace {
constexpr std::array<RegionMap TFormRegistrasi::*, RegionLevelCount> RegionMaps = {
    &TFormRegistrasi::provinsiDict, &TFormRegistrasi::kotaDict, &TFormRegistrasi::kecamatanDict,
    &TFormRegistrasi::kelurahanDict};
}

RegionMap &TFormRegistrasi::regionMap(RegionLevel level) {
    return this->*RegionMaps[static_cast<std::size_t>(indexOf(level))];
}

const RegionMap &TFormRegistrasi::regionMap(RegionLevel level) const {
    return this->*RegionMaps[static_cast<std::size_t>(indexOf(level))];
}

std::string TFormRegistrasi::chosenRegionId(RegionLevel level) const {
    const RegionMap &map = regionMap(level);
    const auto found = map.find(regionBox(level)->currentText().toStdString());
    return found == map.end() ? std::string() : found->second;
}

void TFormRegistrasi::startRegionLookup(RegionLevel level, const std::string &parentId) {
    auto answer = std::make_shared<RegionAnswer>();
    RequestTask = BackgroundTask::start(
        QString::fromLatin1(regionTaskName(level)), this,
        [endpoint = lib.serviceEndpoint(), level, parentId, answer](TaskContext &) {
            *answer = lookUpRegions(endpoint, level, parentId);
        },
        [this, level, answer] { TaskTerminated(level, *answer); });
}

void TFormRegistrasi::TaskTerminated(RegionLevel level, const RegionAnswer &answer) {
    RequestTask.reset();
    setRequestingShown(false);
    if (!answer.errorText.empty())
        showError(QString::fromStdString(answer.errorText));
    // A window asked to close drops what its look-up found.
    regionMap(level) = SignalCancelled ? RegionMap() : answer.places;
    fillRegionBox(level);
    setRegionBoxesEnabled(true);
    if (regionBox(level)->count() == 0) {
        // Nothing to continue from: the levels below must not keep places of another parent.
        clearLevelsBelow(level);
        return;
    }
    if (level != RegionLevel::Kelurahan)
        startRegionLookup(below(level), chosenRegionId(level));
}

void TFormRegistrasi::fillRegionBox(RegionLevel level) {
    QComboBox *box = regionBox(level);
    box->clear();
    box->addItems(sortedNames(regionMap(level)));
    box->setCurrentIndex(box->count() > 0 ? 0 : -1);
    settledChoice[static_cast<std::size_t>(indexOf(level))] = box->currentText();
}

void TFormRegistrasi::clearLevelsBelow(RegionLevel level) {
    for (RegionLevel lower : AllLevels) {
        if (indexOf(lower) <= indexOf(level))
            continue;
        regionMap(lower).clear();
        regionBox(lower)->clear();
        settledChoice[static_cast<std::size_t>(indexOf(lower))].clear();
    }
}

void TFormRegistrasi::regionChosen(RegionLevel level) {
    QString &settled = settledChoice[static_cast<std::size_t>(indexOf(level))];
    if (RequestTask) {
        // The running look-up belongs to the shown choice: keep it.
        regionBox(level)->setCurrentText(settled);
        if (level != RegionLevel::Kecamatan)
            showInformation(QStringLiteral("Harap Tunggu..."));
        return;
    }
    settled = regionBox(level)->currentText();
    setRegionBoxesEnabled(false);
    setRequestingShown(true);
    startRegionLookup(below(level), chosenRegionId(level));
}

void TFormRegistrasi::setRegionBoxesEnabled(bool enabled) {
    for (RegionLevel level : AllLevels)
        regionBox(level)->setEnabled(enabled);
}

void TFormRegistrasi::setRequestingShown(bool shown) {
    for (QLabel *label : requestingLabels)
        label->setVisible(shown);
}
