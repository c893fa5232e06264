// Shows the recorder settings dialog with a sample card chosen, in the dark look of the viewer,
// and saves a picture of it: settings_dialog_screenshot en|ko OUTPUT.png [zones]
// With "zones" the time zone list is open at its longest names and the picture is of the
// whole screen.

#include "app/usertexts.h"
#include "settings/ctarsenoptiondlg.h"
#include "widgets/darkstyle.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// Pretends there is nothing to ask: the picture must not wait for a click.
class SilentPrompt : public ISetupPrompt {
public:
    void Inform(QWidget*, const QString&) override {}
    bool Confirm(QWidget*, const QString&) override { return false; }
    QString PickFolder(QWidget*, const QString&) override { return {}; }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s en|ko OUTPUT.png [zones]\n", argv[0]);
        return 2;
    }
    usertexts::SetLanguage(QByteArray(argv[1]) == "ko" ? usertexts::Language::Korean
                                                       : usertexts::Language::English);
    ApplyDarkStyle(application);

    QTemporaryDir card;
    QDir(card.path()).mkpath("setting");
    QFile file(card.path() + "/setting/velmar_setup.new");
    if (!file.open(QIODevice::WriteOnly)) {
        return 1;
    }
    file.write(
        "[Setting]\r\nSound Volume = 6;\r\nShock Sensitivity = 7;\r\nParking Watch = 3;\r\n"
        "Voice Record = 1;\r\n[GMT]\r\n+,05,45;\r\n[Time]\r\nYear = 2024;\r\n"
        "Month = 03;\r\nDay = 03;\r\nHour = 09;\r\nMinute = 05;\r\nSec = 07;\r\n");
    file.close();

    SetupServices services = SetupServices::Standard();
    services.prompt = std::make_shared<SilentPrompt>();
    services.formatCard = [](const SetupDrive&) { return FormatLaunch::NoTool; };
    services.listDrives = [&card] {
        return std::vector<SetupDrive>{{card.path(), "KORVANE", "", true},
                                       {"/", "", "/dev/sda1", false}};
    };
    CTarsenOptionDlg dialog(services);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        return 1;
    }
    QTest::keyClick(dialog.findChild<QComboBox*>("driveCombo"), Qt::Key_Down);
    const QString output = QString::fromLocal8Bit(argv[2]);
    if (argc == 4) {
        // Around the longest zone names.
        auto* zones = dialog.findChild<QComboBox*>("gmtCombo");
        zones->setCurrentIndex(27);
        zones->showPopup();
        QTest::qWait(400);
        return dialog.screen()->grabWindow(0).save(output) ? 0 : 1;
    }
    QTest::qWait(200);
    return dialog.grab().save(output) ? 0 : 1;
}
