#pragma once

class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

// The controls of the recorder settings dialog, laid out in their groups with the texts of the
// current language. The dialog owns them; these are plain pointers for the dialog's logic.
// Every control carries an object name (its member name) so that tests can find it.
struct TarsenOptionControls {
    QComboBox* driveCombo = nullptr;
    QPushButton* formatBtn = nullptr;
    QPushButton* defaultBtn = nullptr;
    QRadioButton* videoRadio = nullptr;
    QRadioButton* voiceVideoRadio = nullptr;
    QLineEdit* folderEdit = nullptr;
    QPushButton* searchBtn = nullptr;
    QComboBox* gmtCombo = nullptr;
    QComboBox* yearCombo = nullptr;
    QComboBox* monthCombo = nullptr;
    QComboBox* dayCombo = nullptr;
    QComboBox* hourCombo = nullptr;
    QComboBox* minuteCombo = nullptr;
    QComboBox* secondCombo = nullptr;
    QSlider* shockSlider = nullptr;
    QSlider* volumeSlider = nullptr;
    QSlider* parkingSlider = nullptr;
    QPushButton* saveBtn = nullptr;
    QPushButton* cancelBtn = nullptr;

    // Creates the controls inside `dialog`, fills the fixed lists (time zones, the date and
    // time lists) with nothing selected and sets the sliders to their ranges and to 4, 4 and 2.
    // The drive list is left empty.
    static TarsenOptionControls Build(QDialog& dialog);

    static constexpr int kFirstYear = 2011;
    static constexpr int kLastYear = 2030;
};
