#pragma once

#include <vector>

#include "settings/csetupdlg.h"
#include "settings/setupservices.h"
#include "settings/tarsenoptioncontrols.h"
#include "settings/tarsensetupdata.h"

// The recorder settings dialog: the user picks the drive that holds the recorder's card, sees
// and changes its settings and the capture folder, may format the card, and saves.
//
// Nothing of the card is shown until a drive is chosen; choosing a drive (again) reloads its
// settings and discards unsaved edits. Save hands the edited record back as resultData() and
// the capture folder back as the options' saveDirectory; the caller writes the card.
class CTarsenOptionDlg : public CSetupDlg {
    Q_OBJECT

public:
    explicit CTarsenOptionDlg(SetupServices services, QWidget* parent = nullptr);

    // The record to start from; also the result until Save replaces it.
    void SetSetupData(const CTarsenSetupData& data);
    const CTarsenSetupData& resultData() const { return resultData_; }
    const CTarsenSetupData& currentData() const { return currentData_; }

    // Fills the drive list from the drive provider and clears the values shown.
    void OnInitDialog();

private:
    void OnCbnSelchangeDriveCombo(int index);
    void OnCbnSelchangeGmtCombo(int index);
    void OnBnClickedVideoRadio();
    void OnBnClickedVoiceVideoRadio();
    void OnBnClickedFormatBtn();
    void OnBnClickedSearchBtn();
    void OnBnClickedDefaultBtn();
    void OnBnClickedSaveBtn();

    // Puts currentData_ into the controls.
    void ShowValues();
    void ShowTimeZone();
    void MarkVoiceRecord(bool voiceRecord);
    const SetupDrive* SelectedDrive() const;

    SetupServices services_;
    TarsenOptionControls controls_;
    std::vector<SetupDrive> drives_;  // in the order of the drive list
    CTarsenSetupData currentData_;
    CTarsenSetupData resultData_;
};
