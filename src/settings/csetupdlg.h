#pragma once

#include <QDialog>

#include "settings/vieweroptions.h"

// A modal settings dialog that works on a copy of the viewer options; the caller takes the
// copy back when the dialog ends with OK.
class CSetupDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSetupDlg(QWidget* parent = nullptr);

    void SetOptions(const ViewerOptions& options) { options_ = options; }
    const ViewerOptions& options() const { return options_; }

protected:
    ViewerOptions options_;
};
