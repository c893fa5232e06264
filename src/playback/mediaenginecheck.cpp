#include "playback/mediaenginecheck.h"

#include "app/logwriter.h"
#include "playback/vlcfunctionexecutor.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <string>

bool ConfirmMediaEngine(QWidget* parent) {
    std::string error;
    if (VlcFunctionExecutor::GetInstance(&error) != nullptr) {
        return true;
    }
    WriteLog("VlcFunctionExecutor", "GetInstance", error);
    QString title = QCoreApplication::applicationName();
    if (title.isEmpty()) {
        title = QStringLiteral("KorvaneViewer");
    }
    QMessageBox::critical(parent, title, QString::fromStdString(error));
    return false;
}
