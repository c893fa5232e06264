#include "settings/ctarsenoptiondlg.h"

#include "app/usertexts.h"
#include "settings/timezonetable.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

QString Tr(const char* english, const char* korean) {
    return QString::fromStdString(usertexts::Pick(english, korean));
}

QString StringText(std::int32_t id) {
    return QString::fromStdString(usertexts::Text(id));
}

std::string ToStd(const QString& text) {
    return text.toUtf8().toStdString();
}

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(ToStd(path));
}

// Selects the entry of a number list (first entry `first`); a number outside the list
// selects nothing.
void SelectNumber(QComboBox* list, const std::string& text, int first) {
    const int index = CTarsenSetupData::ReadInteger(text) - first;
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

}  // namespace

CTarsenOptionDlg::CTarsenOptionDlg(SetupServices services, QWidget* parent)
    : CSetupDlg(parent),
      services_(std::move(services)),
      controls_(TarsenOptionControls::Build(*this)),
      currentData_(services_.clock),
      resultData_(services_.clock) {
    const TarsenOptionControls& c = controls_;
    connect(c.driveCombo, &QComboBox::activated, this, &CTarsenOptionDlg::OnCbnSelchangeDriveCombo);
    connect(c.gmtCombo, &QComboBox::activated, this, &CTarsenOptionDlg::OnCbnSelchangeGmtCombo);
    connect(c.videoRadio, &QRadioButton::clicked, this, &CTarsenOptionDlg::OnBnClickedVideoRadio);
    connect(c.voiceVideoRadio, &QRadioButton::clicked, this,
            &CTarsenOptionDlg::OnBnClickedVoiceVideoRadio);
    connect(c.formatBtn, &QPushButton::clicked, this, &CTarsenOptionDlg::OnBnClickedFormatBtn);
    connect(c.searchBtn, &QPushButton::clicked, this, &CTarsenOptionDlg::OnBnClickedSearchBtn);
    connect(c.defaultBtn, &QPushButton::clicked, this, &CTarsenOptionDlg::OnBnClickedDefaultBtn);
    connect(c.saveBtn, &QPushButton::clicked, this, &CTarsenOptionDlg::OnBnClickedSaveBtn);
    connect(c.cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

void CTarsenOptionDlg::SetSetupData(const CTarsenSetupData& data) {
    currentData_ = data;
    resultData_ = data;
}

void CTarsenOptionDlg::OnInitDialog() {
    drives_ = services_.listDrives ? services_.listDrives() : std::vector<SetupDrive>{};
    controls_.driveCombo->clear();
    for (const SetupDrive& drive : drives_) {
        controls_.driveCombo->addItem(drive.DisplayText());
    }
    controls_.driveCombo->setCurrentIndex(-1);
    controls_.formatBtn->setEnabled(false);
}

const SetupDrive* CTarsenOptionDlg::SelectedDrive() const {
    const int index = controls_.driveCombo->currentIndex();
    return index >= 0 && index < static_cast<int>(drives_.size()) ? &drives_[index] : nullptr;
}

void CTarsenOptionDlg::OnCbnSelchangeDriveCombo(int) {
    const SetupDrive* drive = SelectedDrive();
    if (drive == nullptr) {
        return;
    }
    currentData_ = CTarsenSetupData(services_.clock);
    currentData_.SetSettingFolder(ToPath(drive->rootPath));
    std::string error;
    const bool loaded = currentData_.LoadFromFolder(error);
    ShowValues();
    controls_.formatBtn->setEnabled(drive->removable);
    if (!loaded) {
        services_.prompt->Inform(this, QString::fromStdString(error));
    }
}

void CTarsenOptionDlg::OnCbnSelchangeGmtCombo(int index) {
    const auto& names = TimeZoneTable::Names();
    if (index < 0 || index >= static_cast<int>(names.size())) {
        return;
    }
    const std::optional<std::string> offset = TimeZoneTable::OffsetOfName(names[index]);
    if (offset) {
        currentData_.SetGmtOffset(*offset);
    }
    // A zone the recorder cannot take (+13:00, or the zero-offset rows) leaves another offset
    // stored; show the zone of that offset rather than the one that will not be written.
    if (offset != currentData_.gmtOffset()) {
        ShowTimeZone();
    }
}

void CTarsenOptionDlg::MarkVoiceRecord(bool voiceRecord) {
    controls_.voiceVideoRadio->setChecked(voiceRecord);
    controls_.videoRadio->setChecked(!voiceRecord);
}

void CTarsenOptionDlg::OnBnClickedVideoRadio() {
    MarkVoiceRecord(false);
    currentData_.SetVoiceRecord(false);
}

void CTarsenOptionDlg::OnBnClickedVoiceVideoRadio() {
    MarkVoiceRecord(true);
    currentData_.SetVoiceRecord(true);
}

void CTarsenOptionDlg::OnBnClickedFormatBtn() {
    const SetupDrive* drive = SelectedDrive();
    if (drive == nullptr || !services_.prompt->Confirm(this, StringText(293))) {
        return;
    }
    switch (services_.formatCard(*drive)) {
        case FormatLaunch::Started:
            break;
        case FormatLaunch::NoTool:
            services_.prompt->Inform(
                this, Tr("No disk utility for formatting is installed. Install GNOME Disks "
                         "(gnome-disks) to format the card from here.",
                         "포맷에 사용할 디스크 유틸리티가 설치되어 있지 않습니다. "
                         "GNOME 디스크(gnome-disks)를 설치하십시오."));
            break;
        case FormatLaunch::Failed:
            services_.prompt->Inform(
                this, Tr("The disk utility could not be opened for this drive.",
                         "이 드라이브에 대해 디스크 유틸리티를 실행하지 못하였습니다."));
            break;
    }
}

void CTarsenOptionDlg::OnBnClickedSearchBtn() {
    const QString folder = services_.prompt->PickFolder(this, StringText(250));
    if (folder.isEmpty()) {
        return;
    }
    currentData_.SetCaptureFolder(ToPath(folder));
    controls_.folderEdit->setText(
        QString::fromStdString((ToPath(folder) / options_.captureDirectory).string()));
}

void CTarsenOptionDlg::OnBnClickedDefaultBtn() {
    CTarsenSetupData defaults(services_.clock);
    defaults.SetSettingFolder(currentData_.settingFolder());
    currentData_ = std::move(defaults);
    ShowValues();
}

void CTarsenOptionDlg::OnBnClickedSaveBtn() {
    if (SelectedDrive() == nullptr) {
        services_.prompt->Inform(this, StringText(297));
        return;
    }
    const TarsenOptionControls& c = controls_;
    currentData_.SetYear(ToStd(c.yearCombo->currentText()));
    currentData_.SetMonth(ToStd(c.monthCombo->currentText()));
    currentData_.SetDay(ToStd(c.dayCombo->currentText()));
    currentData_.SetHour(ToStd(c.hourCombo->currentText()));
    currentData_.SetMinute(ToStd(c.minuteCombo->currentText()));
    currentData_.SetSecond(ToStd(c.secondCombo->currentText()));
    currentData_.SetShockSensitivity(c.shockSlider->value());
    currentData_.SetSoundVolume(c.volumeSlider->value());
    currentData_.SetParkingWatch(c.parkingSlider->value());
    options_.saveDirectory = currentData_.captureFolder().string();
    resultData_ = currentData_;
    accept();
}

void CTarsenOptionDlg::ShowTimeZone() {
    const std::optional<std::size_t> row = TimeZoneTable::RowOfOffset(currentData_.gmtOffset());
    controls_.gmtCombo->setCurrentIndex(row ? static_cast<int>(*row) : -1);
}

void CTarsenOptionDlg::ShowValues() {
    const TarsenOptionControls& c = controls_;
    c.shockSlider->setValue(currentData_.shockSensitivity());
    c.volumeSlider->setValue(currentData_.soundVolume());
    c.parkingSlider->setValue(currentData_.parkingWatch());
    SelectNumber(c.yearCombo, currentData_.year(), TarsenOptionControls::kFirstYear);
    SelectNumber(c.monthCombo, currentData_.month(), 1);
    SelectNumber(c.dayCombo, currentData_.day(), 1);
    SelectNumber(c.hourCombo, currentData_.hour(), 0);
    SelectNumber(c.minuteCombo, currentData_.minute(), 0);
    SelectNumber(c.secondCombo, currentData_.second(), 0);
    c.folderEdit->setText(QString::fromStdString(
        (currentData_.captureFolder() / options_.captureDirectory).string()));
    MarkVoiceRecord(currentData_.voiceRecord());
    ShowTimeZone();
}
