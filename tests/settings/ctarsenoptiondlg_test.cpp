#include "settings/ctarsenoptiondlg.h"

#include "app/usertexts.h"
#include "settings/csetupcontroller.h"
#include "settings/settingstestsupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using settingstest::FixedTime;

QString Text(std::int32_t id) {
    return QString::fromStdString(usertexts::Text(id));
}

// Answers every question from a script and remembers what was asked.
class ScriptedPrompt : public ISetupPrompt {
public:
    void Inform(QWidget*, const QString& text) override { messages << text; }
    bool Confirm(QWidget*, const QString& text) override {
        questions << text;
        return confirmAnswer;
    }
    QString PickFolder(QWidget*, const QString& title) override {
        pickerTitles << title;
        return folderAnswer;
    }

    QStringList messages;
    QStringList questions;
    QStringList pickerTitles;
    bool confirmAnswer = false;
    QString folderAnswer;
};

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Chooses a row the way the keyboard does, so that the list reports a user's choice. The
// dialog may then show another row; callers check what it shows.
void ChooseRow(QComboBox* combo, int row) {
    combo->setCurrentIndex(row - 1);
    QTest::keyClick(combo, Qt::Key_Down);
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

const QByteArray kCardFile =
    "#setting Information\r\n\r\n[Setting]\r\nVideo Quality = 2;\r\nFrame Rate = 7;\r\n"
    "Sound Volume = 7;\r\nShock Sensitivity = 9;\r\nParking Watch = 5;\r\nVoice Record = 0;\r\n"
    "\r\n[GMT]\r\n-,03,30;\r\n\r\n[Time]\r\nYear = 2023;\r\nMonth = 11;\r\nDay =  5;\r\n"
    "Hour = 23;\r\nMinute = 59;\r\nSec = 00;\r\n";

constexpr int kSeoulRow = 60;
constexpr int kKathmanduRow = 48;
constexpr int kNukualofaRow = 73;
constexpr int kGreenwichRow = 25;

}  // namespace

class TarsenOptionDlgTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    std::unique_ptr<QTemporaryDir> card_;   // removable; holds the recorder's card files
    std::unique_ptr<QTemporaryDir> fixed_;  // a fixed disk without settings
    std::shared_ptr<ScriptedPrompt> prompt_;
    QStringList formatted_;
    FormatLaunch formatResult_ = FormatLaunch::Started;

    QString SettingFile() const { return card_->path() + "/setting/velmar_setup.new"; }
    QString Desktop() const {
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    }

    SetupServices Services() {
        SetupServices services;
        services.listDrives = [this] {
            return std::vector<SetupDrive>{{card_->path(), "CARD", "/dev/sdz1", true},
                                           {fixed_->path(), "", "/dev/sdy1", false}};
        };
        services.formatCard = [this](const SetupDrive& drive) {
            formatted_ << drive.rootPath;
            return formatResult_;
        };
        services.prompt = prompt_;
        services.clock = FixedTime;
        return services;
    }

    template <typename Widget>
    static Widget* Find(QWidget& dialog, const char* name) {
        auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no control %s", name);
        }
        return widget;
    }

    static QStringList DateTimeTexts(QWidget& dialog) {
        QStringList texts;
        for (const char* name :
             {"yearCombo", "monthCombo", "dayCombo", "hourCombo", "minuteCombo", "secondCombo"}) {
            texts << Find<QComboBox>(dialog, name)->currentText();
        }
        return texts;
    }

    static QList<int> SliderValues(QWidget& dialog) {
        return {Find<QSlider>(dialog, "shockSlider")->value(),
                Find<QSlider>(dialog, "volumeSlider")->value(),
                Find<QSlider>(dialog, "parkingSlider")->value()};
    }

    // A controller on the test's services whose options carry `saveDirectory`.
    std::unique_ptr<CSetupController> Controller(const std::string& saveDirectory) {
        auto controller = std::make_unique<CSetupController>(nullptr, Services());
        ViewerOptions options;
        options.saveDirectory = saveDirectory;
        controller->SetOptions(options);
        return controller;
    }

    // Runs the controller's modal dialog with `actions` played inside it; the dialog is closed
    // with Cancel afterwards if the actions left it open, so a failed check never hangs.
    bool Run(CSetupController& controller, const std::function<void(CTarsenOptionDlg&)>& actions) {
        QTimer::singleShot(0, [&] {
            CTarsenOptionDlg& dialog = controller.dialog();
            if (QTest::qWaitForWindowExposed(&dialog)) {
                actions(dialog);
            }
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
        return controller.RunSettings();
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        usertexts::SetLanguage(usertexts::Language::English);
    }

    void init() {
        card_ = std::make_unique<QTemporaryDir>();
        fixed_ = std::make_unique<QTemporaryDir>();
        prompt_ = std::make_shared<ScriptedPrompt>();
        formatted_.clear();
        formatResult_ = FormatLaunch::Started;
    }

    void opensWithFixedListsAndNothingShown() {
        CTarsenOptionDlg dialog(Services());
        QCOMPARE(dialog.windowTitle(), QString("Setting"));
        auto* drives = Find<QComboBox>(dialog, "driveCombo");
        QCOMPARE(drives->count(), 2);
        QCOMPARE(drives->itemText(0), "CARD (" + card_->path() + ")");
        QCOMPARE(drives->itemText(1), fixed_->path());
        auto* zones = Find<QComboBox>(dialog, "gmtCombo");
        QCOMPARE(zones->count(), 92);
        QCOMPARE(zones->itemText(kSeoulRow), QString("(GMT+09:00) Seoul"));

        struct ListCase {
            const char* name;
            int count;
            const char* first;
            const char* last;
        };
        for (const ListCase& list :
             {ListCase{"yearCombo", 20, "2011", "2030"}, ListCase{"monthCombo", 12, "01", "12"},
              ListCase{"dayCombo", 31, "01", "31"}, ListCase{"hourCombo", 24, "00", "23"},
              ListCase{"minuteCombo", 60, "00", "59"}, ListCase{"secondCombo", 60, "00", "59"}}) {
            auto* combo = Find<QComboBox>(dialog, list.name);
            QCOMPARE(combo->count(), list.count);
            QCOMPARE(combo->itemText(0), QString(list.first));
            QCOMPARE(combo->itemText(list.count - 1), QString(list.last));
            QCOMPARE(combo->currentIndex(), -1);
        }
        QCOMPARE(drives->currentIndex(), -1);
        QCOMPARE(zones->currentIndex(), -1);
        QVERIFY(!Find<QRadioButton>(dialog, "videoRadio")->isChecked());
        QVERIFY(!Find<QRadioButton>(dialog, "voiceVideoRadio")->isChecked());
        QVERIFY(Find<QLineEdit>(dialog, "folderEdit")->text().isEmpty());
        QVERIFY(!Find<QLineEdit>(dialog, "folderEdit")->isEnabled());
        QCOMPARE(SliderValues(dialog), (QList<int>{4, 4, 2}));
        QCOMPARE(Find<QSlider>(dialog, "shockSlider")->maximum(), 10);
        QCOMPARE(Find<QSlider>(dialog, "volumeSlider")->maximum(), 10);
        QCOMPARE(Find<QSlider>(dialog, "parkingSlider")->maximum(), 5);
        QVERIFY(!Find<QPushButton>(dialog, "formatBtn")->isEnabled());
    }

    void saveWithoutDriveShowsMessageAndStaysOpen() {
        CTarsenOptionDlg dialog(Services());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Click(Find<QPushButton>(dialog, "saveBtn"));
        QCOMPARE(prompt_->messages, QStringList{Text(297)});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!QFileInfo::exists(card_->path() + "/setting"));
    }

    void choosingDriveShowsItsValues() {
        WriteBytes(SettingFile(), kCardFile);
        CTarsenOptionDlg dialog(Services());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* drives = Find<QComboBox>(dialog, "driveCombo");
        auto* format = Find<QPushButton>(dialog, "formatBtn");

        ChooseRow(drives, 0);
        QCOMPARE(SliderValues(dialog), (QList<int>{9, 7, 5}));
        QVERIFY(Find<QRadioButton>(dialog, "videoRadio")->isChecked());
        QVERIFY(!Find<QRadioButton>(dialog, "voiceVideoRadio")->isChecked());
        QCOMPARE(Find<QComboBox>(dialog, "gmtCombo")->currentText(),
                 QString("(GMT-03:30) Newfoundland"));
        QCOMPARE(DateTimeTexts(dialog), (QStringList{"2023", "11", "05", "23", "59", "00"}));
        QCOMPARE(Find<QLineEdit>(dialog, "folderEdit")->text(), Desktop() + "/CAM_CAPTURE");
        QVERIFY(format->isEnabled());
        QVERIFY(prompt_->messages.isEmpty());

        // A fixed disk without a settings file shows the defaults; Format is not offered.
        ChooseRow(drives, 1);
        QCOMPARE(SliderValues(dialog), (QList<int>{4, 4, 2}));
        QVERIFY(Find<QRadioButton>(dialog, "voiceVideoRadio")->isChecked());
        QCOMPARE(Find<QComboBox>(dialog, "gmtCombo")->currentIndex(), kSeoulRow);
        QCOMPARE(DateTimeTexts(dialog), (QStringList{"2024", "03", "03", "09", "05", "07"}));
        QVERIFY(!format->isEnabled());
        QVERIFY(!QFileInfo::exists(fixed_->path() + "/setting"));
    }

    void unreadableSettingsFileIsReported() {
        QVERIFY(QDir().mkpath(SettingFile()));  // a folder where the file should be
        CTarsenOptionDlg dialog(Services());
        ChooseRow(Find<QComboBox>(dialog, "driveCombo"), 0);
        QCOMPARE(prompt_->messages.size(), 1);
        QVERIFY2(prompt_->messages.front().contains("velmar_setup.new"),
                 qPrintable(prompt_->messages.front()));
        QCOMPARE(SliderValues(dialog), (QList<int>{4, 4, 2}));
    }

    void zonesTheRecorderCannotTakeKeepTheStoredOffset() {
        CTarsenOptionDlg dialog(Services());
        ChooseRow(Find<QComboBox>(dialog, "driveCombo"), 0);
        auto* zones = Find<QComboBox>(dialog, "gmtCombo");

        ChooseRow(zones, kKathmanduRow);
        QCOMPARE(dialog.currentData().gmtOffset(), std::string("+,05,45"));
        // "(GMT)" rows carry no offset: the stored one stays, and so does its zone.
        ChooseRow(zones, kGreenwichRow);
        QCOMPARE(dialog.currentData().gmtOffset(), std::string("+,05,45"));
        QCOMPARE(zones->currentIndex(), kKathmanduRow);
        // +13:00 is outside the recorder's range and falls back to +09:00 (Seoul).
        ChooseRow(zones, kNukualofaRow);
        QCOMPARE(dialog.currentData().gmtOffset(), std::string("+,09,00"));
        QCOMPARE(zones->currentIndex(), kSeoulRow);
        // Another zone of the same offset as the first row of it stays as chosen.
        ChooseRow(zones, kSeoulRow + 1);
        QCOMPARE(zones->currentIndex(), kSeoulRow + 1);
    }

    void saveWritesTheEditedValuesAndCaptureFolder() {
        QByteArray card = kCardFile;
        card.replace("Year = 2023;", "Year = 2035;");  // outside the year list
        WriteBytes(SettingFile(), card);
        prompt_->folderAnswer = home_.path() + "/pictures";

        const auto controller = Controller("/original");
        const bool saved = Run(*controller, [&](CTarsenOptionDlg& dialog) {
            ChooseRow(Find<QComboBox>(dialog, "driveCombo"), 0);
            QCOMPARE(Find<QComboBox>(dialog, "yearCombo")->currentIndex(), -1);
            Find<QSlider>(dialog, "shockSlider")->setValue(10);
            Find<QSlider>(dialog, "volumeSlider")->setValue(0);
            Find<QSlider>(dialog, "parkingSlider")->setValue(1);
            Click(Find<QRadioButton>(dialog, "voiceVideoRadio"));
            ChooseRow(Find<QComboBox>(dialog, "hourCombo"), 0);
            ChooseRow(Find<QComboBox>(dialog, "gmtCombo"), kKathmanduRow);
            Click(Find<QPushButton>(dialog, "searchBtn"));
            QCOMPARE(Find<QLineEdit>(dialog, "folderEdit")->text(),
                     home_.path() + "/pictures/CAM_CAPTURE");
            Click(Find<QPushButton>(dialog, "saveBtn"));
        });
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(saved);
        QCOMPARE(prompt_->pickerTitles, QStringList{Text(250)});
        QCOMPARE(QString::fromStdString(controller->GetOptions().saveDirectory),
                 home_.path() + "/pictures");

        const QByteArray written = ReadBytes(SettingFile());
        QCOMPARE(written, QByteArray::fromStdString(controller->setupData().MakeFileText()));
        for (const char* line :
             {"\r\nVideo Quality = 2;\r\n", "\r\nFrame Rate = 7;\r\n", "\r\nSound Volume = 0;\r\n",
              "\r\nShock Sensitivity = 10;\r\n", "\r\nParking Watch = 1;\r\n",
              "\r\nVoice Record = 1;\r\n", "\r\n[GMT]\r\n+,05,45;\r\n", "\r\nYear = 2024;\r\n",
              "\r\nMonth = 11;\r\n", "\r\nDay = 05;\r\n", "\r\nHour = 00;\r\n",
              "\r\nMinute = 59;\r\n", "\r\nSec = 00;\r\n"}) {
            QVERIFY2(written.contains(line), line);
        }

        // Choosing the card anew shows the saved zone again.
        CSetupController again(nullptr, Services());
        Run(again, [&](CTarsenOptionDlg& dialog) {
            ChooseRow(Find<QComboBox>(dialog, "driveCombo"), 0);
            QCOMPARE(Find<QComboBox>(dialog, "gmtCombo")->currentText(),
                     QString("(GMT+05:45) Kathmandu"));
        });
        QVERIFY(!QTest::currentTestFailed());
    }

    void nukualofaIsSavedAsSeoulOffset() {
        CSetupController controller(nullptr, Services());
        const bool saved = Run(controller, [&](CTarsenOptionDlg& dialog) {
            ChooseRow(Find<QComboBox>(dialog, "driveCombo"), 0);
            ChooseRow(Find<QComboBox>(dialog, "gmtCombo"), kNukualofaRow);
            Click(Find<QPushButton>(dialog, "saveBtn"));
        });
        QVERIFY(saved);
        // The card had no "setting" folder: Save creates it.
        QVERIFY(ReadBytes(SettingFile()).contains("\r\n[GMT]\r\n+,09,00;\r\n"));
        QCOMPARE(QString::fromStdString(controller.GetOptions().saveDirectory), Desktop());
    }

    void defaultRestoresTheDefaultsWithoutReadingTheCard() {
        WriteBytes(SettingFile(), kCardFile);
        prompt_->folderAnswer = home_.path() + "/elsewhere";
        CTarsenOptionDlg dialog(Services());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ChooseRow(Find<QComboBox>(dialog, "driveCombo"), 0);
        ChooseRow(Find<QComboBox>(dialog, "gmtCombo"), kKathmanduRow);
        Click(Find<QPushButton>(dialog, "searchBtn"));
        Find<QSlider>(dialog, "parkingSlider")->setValue(0);

        Click(Find<QPushButton>(dialog, "defaultBtn"));
        QCOMPARE(SliderValues(dialog), (QList<int>{4, 4, 2}));
        QVERIFY(Find<QRadioButton>(dialog, "voiceVideoRadio")->isChecked());
        QVERIFY(!Find<QRadioButton>(dialog, "videoRadio")->isChecked());
        QCOMPARE(Find<QComboBox>(dialog, "gmtCombo")->currentText(), QString("(GMT+09:00) Seoul"));
        QCOMPARE(DateTimeTexts(dialog), (QStringList{"2024", "03", "03", "09", "05", "07"}));
        QCOMPARE(Find<QLineEdit>(dialog, "folderEdit")->text(), Desktop() + "/CAM_CAPTURE");
        QCOMPARE(QString::fromStdString(dialog.currentData().settingFolder().string()),
                 card_->path() + "/setting");
        QCOMPARE(dialog.currentData().frameRate(), 3);
    }

    void cancelWritesNothing() {
        WriteBytes(SettingFile(), kCardFile);
        prompt_->folderAnswer = home_.path() + "/elsewhere";
        const auto controller = Controller("/original");
        const bool saved = Run(*controller, [&](CTarsenOptionDlg& dialog) {
            ChooseRow(Find<QComboBox>(dialog, "driveCombo"), 0);
            Find<QSlider>(dialog, "volumeSlider")->setValue(10);
            ChooseRow(Find<QComboBox>(dialog, "gmtCombo"), kKathmanduRow);
            Click(Find<QPushButton>(dialog, "searchBtn"));
            Click(Find<QPushButton>(dialog, "cancelBtn"));
        });
        QVERIFY(!saved);
        QCOMPARE(ReadBytes(SettingFile()), kCardFile);
        QCOMPARE(QDir(card_->path() + "/setting").entryList(QDir::Files | QDir::Hidden).size(), 1);
        QCOMPARE(controller->GetOptions().saveDirectory, std::string("/original"));
    }

    void failedSaveIsReported() {
        WriteBytes(card_->path() + "/setting", "not a folder");
        CSetupController controller(nullptr, Services());
        const bool saved = Run(controller, [&](CTarsenOptionDlg& dialog) {
            ChooseRow(Find<QComboBox>(dialog, "driveCombo"), 0);
            Click(Find<QPushButton>(dialog, "saveBtn"));
        });
        QVERIFY(!saved);
        QCOMPARE(prompt_->messages.size(), 1);
        QVERIFY2(prompt_->messages.front().startsWith("The settings could not be saved"),
                 qPrintable(prompt_->messages.front()));
        QCOMPARE(ReadBytes(card_->path() + "/setting"), QByteArray("not a folder"));
    }

    void formatAsksFirstAndOnlyForRemovableCards() {
        CTarsenOptionDlg dialog(Services());
        auto* drives = Find<QComboBox>(dialog, "driveCombo");
        auto* format = Find<QPushButton>(dialog, "formatBtn");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        ChooseRow(drives, 1);
        QVERIFY(!format->isEnabled());
        ChooseRow(drives, 0);
        QVERIFY(format->isEnabled());

        Click(format);
        QCOMPARE(prompt_->questions, QStringList{Text(293)});
        QVERIFY(formatted_.isEmpty());

        prompt_->confirmAnswer = true;
        Click(format);
        QCOMPARE(formatted_, QStringList{card_->path()});
        QVERIFY(prompt_->messages.isEmpty());

        formatResult_ = FormatLaunch::NoTool;
        Click(format);
        QCOMPARE(prompt_->messages.size(), 1);
        QVERIFY(prompt_->messages.front().contains("gnome-disks"));
    }

    // The real volumes of this machine: only block devices with a folder to hold "setting",
    // removable media first.
    void mountedDrivesAreBlockDevicesRemovableFirst() {
        bool fixedSeen = false;
        for (const SetupDrive& drive : ListMountedDrives()) {
            QVERIFY2(drive.device.startsWith("/dev/"), qPrintable(drive.device));
            QVERIFY2(QFileInfo(drive.rootPath).isDir(), qPrintable(drive.rootPath));
            QVERIFY2(!(drive.removable && fixedSeen), qPrintable(drive.rootPath));
            fixedSeen = fixedSeen || !drive.removable;
        }
        QVERIFY(!IsRemovableBlockDevice("/dev/no-such-device"));
        QVERIFY(!IsRemovableBlockDevice(""));
    }

    void koreanTexts() {
        usertexts::SetLanguage(usertexts::Language::Korean);
        CTarsenOptionDlg dialog(Services());
        usertexts::SetLanguage(usertexts::Language::English);
        QCOMPARE(dialog.windowTitle(), QString("환경설정"));
        QCOMPARE(Find<QPushButton>(dialog, "saveBtn")->text(), QString("저장"));
        QCOMPARE(Find<QPushButton>(dialog, "cancelBtn")->text(), QString("나가기"));
        QCOMPARE(Find<QRadioButton>(dialog, "voiceVideoRadio")->text(), QString("음성 + 영상"));
        QCOMPARE(Find<QPushButton>(dialog, "defaultBtn")->text(), QString("기본값"));
    }
};

QTEST_MAIN(TarsenOptionDlgTest)
#include "ctarsenoptiondlg_test.moc"
