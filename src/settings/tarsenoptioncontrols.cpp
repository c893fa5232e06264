#include "settings/tarsenoptioncontrols.h"

#include "app/usertexts.h"
#include "settings/tarsensetupdata.h"
#include "settings/timezonetable.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString Tr(const char* english, const char* korean) {
    return QString::fromStdString(usertexts::Pick(english, korean));
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* Button(const QString& text, const char* name) {
    auto* button = Named(new QPushButton(text), name);
    button->setAutoDefault(false);
    return button;
}

// A list of numbers from `first` to `last`, each with `width` digits, nothing selected.
QComboBox* NumberList(int first, int last, int width, const char* name) {
    auto* combo = Named(new QComboBox, name);
    for (int value = first; value <= last; ++value) {
        combo->addItem(QString("%1").arg(value, width, 10, QChar('0')));
    }
    combo->setCurrentIndex(-1);
    combo->setMaxVisibleItems(12);
    return combo;
}

QSlider* Slider(int maximum, int position, const char* name) {
    auto* slider = Named(new QSlider(Qt::Horizontal), name);
    slider->setRange(0, maximum);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    slider->setValue(position);
    slider->setMinimumWidth(220);
    return slider;
}

// The labels under a slider's ticks, each centred on the tick of its value (kept inside the
// slider's width). Placed in the slider's layout column so that both share their x and width.
class SliderScale : public QWidget {
public:
    SliderScale(QSlider* slider, QStringList texts) : slider_(slider), texts_(std::move(texts)) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        int width = 0;
        for (const QString& text : texts_) {
            width += fontMetrics().horizontalAdvance(text) + 8;
        }
        return {width, fontMetrics().height() + 2};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QStyleOptionSlider option;
        option.initFrom(slider_);
        option.orientation = Qt::Horizontal;
        const int handle = slider_->style()->pixelMetric(QStyle::PM_SliderLength, &option, slider_);
        const int span = width() - handle;
        const int last = static_cast<int>(texts_.size()) - 1;
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        for (int value = 0; value <= last; ++value) {
            const int centre = QStyle::sliderPositionFromValue(0, last, value, span) + handle / 2;
            const int textWidth = fontMetrics().horizontalAdvance(texts_[value]);
            const int left = std::clamp(centre - textWidth / 2, 0, width() - textWidth);
            painter.drawText(QRect(left, 0, textWidth, height()), Qt::AlignCenter, texts_[value]);
        }
    }

private:
    QSlider* slider_;
    QStringList texts_;
};

// A drop-down list whose list is as wide as its longest entry, wider than the field if need be.
class WideListCombo : public QComboBox {
public:
    void showPopup() override {
        QAbstractItemView* list = view();
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + 8 +
                              list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
        QComboBox::showPopup();
    }
};

// A slider group: its label above, the slider between two end labels, the scale below.
QGroupBox* SliderGroup(const QString& title, const QString& caption, QSlider* slider,
                       const QString& lowEnd, const QString& highEnd,
                       const QStringList& scale = {}) {
    auto* group = new QGroupBox(title);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(caption), 0, 0, 1, 3);
    if (!lowEnd.isEmpty()) {
        grid->addWidget(new QLabel(lowEnd), 1, 0, Qt::AlignRight);
        grid->addWidget(new QLabel(highEnd), 1, 2, Qt::AlignLeft);
    }
    grid->addWidget(slider, 1, 1);
    if (!scale.isEmpty()) {
        grid->addWidget(new SliderScale(slider, scale), 2, 1);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

QGroupBox* VoiceGroup(TarsenOptionControls& c) {
    auto* group = new QGroupBox(Tr("Voice Settings", "기록모드 설정"));
    auto* row = new QHBoxLayout(group);
    c.videoRadio = Named(new QRadioButton(Tr("Video", "영상")), "videoRadio");
    c.voiceVideoRadio =
        Named(new QRadioButton(Tr("Voice + Video", "음성 + 영상")), "voiceVideoRadio");
    row->addWidget(c.videoRadio);
    row->addSpacing(24);
    row->addWidget(c.voiceVideoRadio);
    row->addStretch();
    return group;
}

QGroupBox* FolderGroup(TarsenOptionControls& c) {
    auto* group = new QGroupBox(Tr("Saved Folder Settings", "저장 폴더 위치 설정"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(Tr("Set the folder for saving capated images",
                                  "캡쳐 이미지 저장 폴더를 설정합니다.")),
                    0, 0, 1, 3);
    c.folderEdit = Named(new QLineEdit, "folderEdit");
    c.folderEdit->setEnabled(false);  // shows the folder; "Search" changes it
    c.folderEdit->setMinimumWidth(260);
    c.searchBtn = Button(Tr("Search", "찾기"), "searchBtn");
    grid->addWidget(new QLabel(Tr("Folder Path", "폴더")), 1, 0);
    grid->addWidget(c.folderEdit, 1, 1);
    grid->addWidget(c.searchBtn, 1, 2);
    grid->setColumnStretch(1, 1);
    return group;
}

QGroupBox* GmtGroup(TarsenOptionControls& c) {
    auto* group = new QGroupBox(Tr("GMT Setting", "시간 설정"));
    auto* row = new QHBoxLayout(group);
    c.gmtCombo = Named(new WideListCombo, "gmtCombo");
    for (std::string_view name : TimeZoneTable::Names()) {
        c.gmtCombo->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    c.gmtCombo->setCurrentIndex(-1);
    c.gmtCombo->setMaxVisibleItems(16);
    // The field stays as wide as its group; the list shows the long names in full.
    c.gmtCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c.gmtCombo->setMinimumContentsLength(30);
    row->addWidget(new QLabel(Tr("GMT", "표준시")));
    row->addWidget(c.gmtCombo, 1);
    return group;
}

QGroupBox* TimeGroup(TarsenOptionControls& c) {
    auto* group = new QGroupBox(Tr("Time Settings", "Korvane 시간 설정"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(
        new QLabel(Tr("Set the current time of Korvane.", "Korvane의 시간을 설정합니다.")), 0, 0, 1,
        4);
    c.yearCombo = NumberList(TarsenOptionControls::kFirstYear, TarsenOptionControls::kLastYear, 4,
                             "yearCombo");
    c.monthCombo = NumberList(1, 12, 2, "monthCombo");
    c.dayCombo = NumberList(1, 31, 2, "dayCombo");
    c.hourCombo = NumberList(0, 23, 2, "hourCombo");
    c.minuteCombo = NumberList(0, 59, 2, "minuteCombo");
    c.secondCombo = NumberList(0, 59, 2, "secondCombo");
    grid->addWidget(new QLabel(Tr("Date", "날짜")), 1, 0);
    grid->addWidget(c.yearCombo, 1, 1);
    grid->addWidget(c.monthCombo, 1, 2);
    grid->addWidget(c.dayCombo, 1, 3);
    grid->addWidget(new QLabel(Tr("Time", "시간")), 2, 0);
    grid->addWidget(c.hourCombo, 2, 1);
    grid->addWidget(c.minuteCombo, 2, 2);
    grid->addWidget(c.secondCombo, 2, 3);
    for (int column = 1; column <= 3; ++column) {
        grid->setColumnStretch(column, 1);
    }
    return group;
}

QHBoxLayout* DriveRow(TarsenOptionControls& c) {
    auto* row = new QHBoxLayout;
    c.driveCombo = Named(new QComboBox, "driveCombo");
    c.driveCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c.driveCombo->setMinimumContentsLength(28);
    c.formatBtn = Button(Tr("Format", "포맷"), "formatBtn");
    c.formatBtn->setEnabled(false);  // until a removable card is chosen
    c.defaultBtn = Button(Tr("Default", "기본값"), "defaultBtn");
    row->addWidget(new QLabel(Tr("Drive", "드라이브")));
    row->addWidget(c.driveCombo, 1);
    row->addWidget(c.formatBtn);
    row->addStretch();
    row->addWidget(c.defaultBtn);
    return row;
}

QHBoxLayout* ButtonRow(TarsenOptionControls& c) {
    auto* row = new QHBoxLayout;
    c.saveBtn = Button(Tr("Save", "저장"), "saveBtn");
    c.saveBtn->setDefault(true);
    c.cancelBtn = Button(Tr("Cancel", "나가기"), "cancelBtn");
    row->addStretch();
    row->addWidget(c.saveBtn);
    row->addWidget(c.cancelBtn);
    return row;
}

}  // namespace

TarsenOptionControls TarsenOptionControls::Build(QDialog& dialog) {
    TarsenOptionControls c;
    dialog.setWindowTitle(Tr("Setting", "환경설정"));
    // Lists drop down below their field with a scroll bar, instead of covering the screen.
    dialog.setStyleSheet("QComboBox { combobox-popup: 0; }");

    c.shockSlider = Slider(CTarsenSetupData::kMaxShockSensitivity,
                           CTarsenSetupData::kDefaultShockSensitivity, "shockSlider");
    c.volumeSlider = Slider(CTarsenSetupData::kMaxSoundVolume,
                            CTarsenSetupData::kDefaultSoundVolume, "volumeSlider");
    c.parkingSlider = Slider(CTarsenSetupData::kMaxParkingWatch,
                             CTarsenSetupData::kDefaultParkingWatch, "parkingSlider");

    auto* left = new QVBoxLayout;
    left->addWidget(VoiceGroup(c));
    left->addWidget(FolderGroup(c));
    left->addWidget(GmtGroup(c));
    left->addWidget(TimeGroup(c));
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(SliderGroup(Tr("Shock Sensitivity Settings", "민감도 설정"),
                                 Tr("X, Y, Z", "X, Y, Z"), c.shockSlider, Tr("Insensitive", "둔감"),
                                 Tr("Sensitive", "민감"),
                                 {"0", "", "", "", "", "", "", "", "", "", "10"}));
    right->addWidget(SliderGroup(Tr("Audio Settings", "소리 설정"),
                                 Tr("Sound Setting", "스피커 조절"), c.volumeSlider,
                                 Tr("Down", "작게"), Tr("Up", "크게")));
    right->addWidget(SliderGroup(Tr("Parking Mode Settings", "주차모드 설정"),
                                 Tr("Parking Mode", "주차모드 진입시간"), c.parkingSlider,
                                 QString(), QString(),
                                 {Tr("0Min", "0분"), Tr("5Min", "5분"), Tr("10Min", "10분"),
                                  Tr("15Min", "15분"), Tr("20Min", "20분"), Tr("30Min", "30분")}));
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(8);
    columns->addLayout(right, 1);

    auto* root = new QVBoxLayout(&dialog);
    root->addLayout(DriveRow(c));
    root->addLayout(columns);
    root->addLayout(ButtonRow(c));
    return c;
}
