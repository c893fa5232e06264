#pragma once

#include <memory>

#include "settings/ctarsenoptiondlg.h"
#include "settings/setupservices.h"
#include "settings/tarsensetupdata.h"
#include "settings/vieweroptions.h"

class QWidget;

// One use of the settings command: runs the recorder settings dialog on a copy of the viewer
// options and, when the user saves, writes the settings file onto the chosen card.
//
// Usage: SetOptions(window options); RunSettings(); window options = GetOptions() (also after
// Cancel, when they come back unchanged). `parent` must outlive the controller.
class CSetupController {
public:
    explicit CSetupController(QWidget* parent = nullptr,
                              SetupServices services = SetupServices::Standard());
    ~CSetupController();
    CSetupController(const CSetupController&) = delete;
    CSetupController& operator=(const CSetupController&) = delete;

    void SetOptions(const ViewerOptions& options) { options_ = options; }
    ViewerOptions GetOptions() const { return options_; }

    // Runs the dialog modally. After Save the options and the record are taken back from the
    // dialog and the record is written to the card; a write that fails is reported to the
    // user. Returns true when the settings were saved on the card.
    bool RunSettings();

    CTarsenOptionDlg& dialog() { return *dialog_; }
    const CTarsenSetupData& setupData() const { return data_; }

private:
    SetupServices services_;
    std::unique_ptr<CTarsenOptionDlg> dialog_;
    CTarsenSetupData data_;
    ViewerOptions options_;
};
