#include "app/korvaneviewerapp.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <filesystem>

#include "app/korvaneviewernewdlg.h"
#include "app/logwriter.h"
#include "app/viewercontext.h"
#include "playback/mediaenginecheck.h"
#include "widgets/darkstyle.h"

int CKorvaneViewerApp::Run(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName(QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName());
    ApplyDarkStyle(application);

    LogWriter& log = LogWriter::Instance();
    log.SetApplicationName(application.applicationName().toStdString());
    log.SetLogFolder(std::filesystem::current_path());
    // A log that cannot be written is told once; the viewer goes on without it.
    log.SetOpenFailureHandler([](const std::string& message) {
        QMetaObject::invokeMethod(qApp, [text = QString::fromStdString(message)] {
            QMessageBox::warning(nullptr, qApp->applicationName(), text);
        }, Qt::QueuedConnection);
    });

    // Without a complete media engine the viewer cannot play: say why and end in order.
    if (!ConfirmMediaEngine()) {
        return 1;
    }

    CViewerContext& context = CViewerContext::Instance();
    {
        CKorvaneViewerNewDlg window(context);
        window.show();
        application.exec();
    }
    return 0;
}
