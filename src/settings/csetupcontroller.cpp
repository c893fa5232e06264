#include "settings/csetupcontroller.h"

#include "app/usertexts.h"

CSetupController::CSetupController(QWidget* parent, SetupServices services)
    : services_(std::move(services)),
      dialog_(std::make_unique<CTarsenOptionDlg>(services_, parent)),
      data_(services_.clock) {}

CSetupController::~CSetupController() = default;

bool CSetupController::RunSettings() {
    data_.Prepare();
    dialog_->SetSetupData(data_);
    dialog_->SetOptions(options_);
    if (dialog_->exec() != QDialog::Accepted) {
        return false;
    }
    options_ = dialog_->options();
    data_ = dialog_->resultData();
    std::string error;
    if (!data_.SaveToFile(error)) {
        // The dialog has closed already; without this the user would believe the card is set.
        services_.prompt->Inform(
            dialog_->parentWidget(),
            QString::fromStdString(usertexts::Pick("The settings could not be saved on the card.",
                                                   "설정을 카드에 저장하지 못하였습니다.") +
                                   "\n" + error));
        return false;
    }
    return true;
}
