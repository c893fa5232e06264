#include "settings/csetupdlg.h"

CSetupDlg::CSetupDlg(QWidget* parent) : QDialog(parent) {
    setModal(true);
}
