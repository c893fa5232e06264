// Renders every skinned control in every state, laid out as the viewer's panes use them, into
// skin_gallery.png (working folder, and KORVANE_SCREENSHOT_DIR when set) for a person to judge.
#include "app/resourcemanager.h"
#include "widgets/cbitmapslider.h"
#include "widgets/cbuttonstyle.h"
#include "widgets/cmybitmapbutton.h"
#include "widgets/cmyslidercontrol.h"
#include "widgets/cpicture.h"
#include "widgets/cskinlistctrl.h"
#include "widgets/darkstyle.h"
#include "widgets/skincolors.h"
#include "widgets/transparentcolor.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

ResourceManager& Library() {
    return ResourceManager::Instance();
}

// Paints a library bitmap stretched over part of itself, as the panes paint their bars.
class Backdrop : public QWidget {
public:
    Backdrop(QWidget* parent, const QImage& image, QRect area, QColor fill = skin::kBackground)
        : QWidget(parent), image_(image), area_(area), fill_(fill) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), fill_);
        painter.drawImage(area_.isNull() ? rect() : area_, image_);
    }

private:
    QImage image_;
    QRect area_;
    QColor fill_;
};

QLabel* Text(QWidget* parent, const QString& text, QPoint at, int pixelSize = 11,
             QColor colour = skin::kText) {
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
    return label;
}

void Hover(QWidget* widget) {
    QEnterEvent event(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QCoreApplication::sendEvent(widget, &event);
}

CButtonStyle* StyledButton(QWidget* parent, QPoint at, std::array<int, 3> icons, int background,
                           CButtonStyle::ButtonState state) {
    auto* button = new CButtonStyle(parent);
    button->setGeometry(QRect(at, QSize(32, 32)));
    button->SetBackground(background);
    button->SetIcons(icons[0], icons[1], icons[2]);
    if (state == CButtonStyle::Hot) {
        Hover(button);
    } else if (state == CButtonStyle::Pressed) {
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(4, 4));
    }
    return button;
}

// The vehicle-speed display as the player pane composes it: panel, digits, point.
QImage SpeedImage(const QString& text) {
    QImage image = Library().LoadBitmap(174).convertToFormat(QImage::Format_ARGB32);
    QPainter painter(&image);
    const auto digit = [&](int x, int number) {
        painter.drawImage(x, 11, WithTransparentColor(Library().LoadBitmap(number), Qt::white));
    };
    const int n = static_cast<int>(text.size());
    if (text.isEmpty()) {
        digit(43, 126);
        digit(60, 126);
    } else {
        const int positions[3][3] = {{43}, {32, 43}, {21, 32, 43}};
        for (int i = 0; i < n - 2; ++i) {
            const QChar c = text[i];
            const int number = c.isDigit() && c != '0' ? 157 + c.digitValue() : 157;
            digit(positions[n - 3][i], number);
        }
        digit(60, 157 + text.back().digitValue());
    }
    digit(54, 127);
    return image;
}

// Title bar with the main window's seven toolbar buttons and the logo.
void AddTitleBar(QWidget* gallery, QPoint at) {
    const int w = 800;
    auto* bar = new Backdrop(gallery, Library().LoadBitmap(108), {});
    bar->setGeometry(QRect(at, QSize(w, 46)));
    const std::array<std::array<int, 3>, 7> icons = {{{194, 195, 196},
                                                      {208, 209, 211},
                                                      {204, 205, 207},
                                                      {202, 202, 202},
                                                      {197, 198, 199},
                                                      {191, 192, 193},
                                                      {188, 189, 190}}};
    for (int i = 0; i < 7; ++i) {
        const auto state = i == 1   ? CButtonStyle::Hot
                           : i == 4 ? CButtonStyle::Pressed
                                    : CButtonStyle::Normal;
        StyledButton(bar, QPoint(15 + 42 * i, 9), icons[static_cast<std::size_t>(i)], 108, state);
    }
    auto* logo = new CMyBitmapButton(bar);
    logo->LoadBitmaps(153);
    logo->SizeToContent();
    logo->move(w - logo->width() - 6, 6);
}

// The player pane's lower part, laid out for a pane 800 pixels wide.
void AddControlBar(QWidget* gallery, QPoint at, std::vector<QWidget*>* keep) {
    const int w = 800;
    auto* pane = new Backdrop(gallery, Library().LoadBitmap(107), QRect(0, 45, w, 55), Qt::black);
    pane->setGeometry(QRect(at, QSize(w, 100)));
    const int h = 100;
    Text(pane, "Span:", QPoint(10, 2));
    Text(pane, "00:01:23", QPoint(80, 2));
    Text(pane, "/", QPoint(133, 2));
    Text(pane, "00:03:00", QPoint(140, 2));
    Text(pane, "Play Speed: ", QPoint(215, 2));
    Text(pane, "1.00 x", QPoint(280, 2));
    const std::array<std::array<int, 2>, 3> channels = {{{299, 300}, {302, 301}, {298, 297}}};
    for (int i = 0; i < 3; ++i) {
        auto* button = new CMyBitmapButton(pane);
        button->LoadBitmaps(channels[static_cast<std::size_t>(i)][0],
                            channels[static_cast<std::size_t>(i)][1]);
        button->setGeometry(w - 150 + 48 * i, -1 + 1, 43, 19);
    }
    auto* position = new CMySliderControl(Qt::Horizontal, pane);
    position->setRange(0, 10000);
    position->setValue(4600);
    position->setGeometry(0, 20, w, 25);

    const int x0 = w / 2 - 360;
    const std::array<std::array<int, 3>, 5> transport = {
        {{228, 229, 231}, {232, 233, 235}, {220, 221, 223}, {212, 213, 215}, {216, 217, 219}}};
    for (int i = 0; i < 5; ++i) {
        const auto state = i == 2 ? CButtonStyle::Hot : CButtonStyle::Normal;
        StyledButton(pane, QPoint(x0 + 40 * i, h - 45), transport[static_cast<std::size_t>(i)],
                     CButtonStyle::kControlBarBitmap, state);
    }
    const std::array<std::array<int, 3>, 3> roundButtons = {
        {{181, 182, 220}, {109, 110, 340}, {183, 184, 460}}};
    for (const auto& b : roundButtons) {
        auto* button = new CMyBitmapButton(pane);
        button->LoadBitmaps(b[0], b[1]);
        button->setGeometry(x0 + b[2], h - 39, 24, 24);
    }
    auto* speed = new CMySliderControl(Qt::Horizontal, pane);
    speed->setRange(1, 7);
    speed->setValue(4);
    speed->setTickPosition(QSlider::TicksBelow);
    speed->setTickInterval(1);
    speed->setGeometry(x0 + 245, h - 40, 90, 25);
    auto* brightness = new CMySliderControl(Qt::Horizontal, pane);
    brightness->setRange(0, 100);
    brightness->setValue(50);
    brightness->setGeometry(x0 + 365, h - 40, 90, 25);
    auto* volume = new CBitmapSlider(pane);
    volume->setGeometry(x0 + 500, h - 40, 70, 21);
    volume->SetRange(0, 100);
    volume->SetPos(30);
    volume->SetBitmapChannel(168, 169, true);
    volume->SetBitmapThumb(173, 0, true);
    volume->SetBitmapBackground(107);
    auto* display = new CPicture(pane);
    display->setGeometry(x0 + 600, h - 45, 124, 38);
    display->SetBitmap(SpeedImage("12.5"));
    keep->insert(keep->end(), {position, speed, brightness, volume, display});
}

// Every button family in every state, each over the bar it sits on.
void AddStateGrid(QWidget* gallery, QPoint at) {
    Text(gallery, "normal   hot   pressed  disabled", at + QPoint(0, -16), 10, skin::kDisabledText);
    const struct {
        std::array<int, 3> icons;
        int disabled;
        int background;
    } rows[] = {
        {{194, 195, 196}, 0, 108},   {{208, 209, 211}, 210, 108}, {{204, 205, 207}, 206, 108},
        {{200, 201, 203}, 202, 108}, {{197, 198, 199}, 0, 108},   {{191, 192, 193}, 0, 108},
        {{188, 189, 190}, 0, 108},   {{228, 229, 231}, 230, 107}, {{232, 233, 235}, 234, 107},
        {{220, 221, 223}, 226, 107}, {{224, 225, 227}, 226, 107}, {{212, 213, 215}, 214, 107},
        {{216, 217, 219}, 218, 107},
    };
    int y = at.y();
    for (const auto& row : rows) {
        auto* strip =
            new Backdrop(gallery, Library().LoadBitmap(row.background), QRect(0, -8, 200, 55));
        strip->setGeometry(at.x(), y, 180, 36);
        const CButtonStyle::ButtonState states[] = {CButtonStyle::Normal, CButtonStyle::Hot,
                                                    CButtonStyle::Pressed};
        for (int s = 0; s < 3; ++s) {
            StyledButton(strip, QPoint(4 + 44 * s, 2), row.icons, row.background, states[s]);
        }
        if (row.disabled != 0) {
            StyledButton(strip, QPoint(4 + 44 * 3, 2), {row.disabled, row.disabled, row.disabled},
                         row.background, CButtonStyle::Normal);
        }
        y += 38;
    }
}

// The recording list pane: caption strip, filter buttons, the skinned list and scroll bar.
void AddListPane(QWidget* gallery, QPoint at) {
    auto* pane = new Backdrop(gallery, Library().LoadBitmap(152), QRect(0, 0, 280, 33));
    pane->setGeometry(QRect(at, QSize(280, 300)));
    Text(pane, "Video List", QPoint(10, 11));
    const std::array<std::array<int, 3>, 4> filters = {
        {{128, 128, 130}, {139, 140, 142}, {136, 134, 136}, {146, 147, 149}}};
    for (int i = 0; i < 4; ++i) {
        auto* button = new CMyBitmapButton(pane);
        const auto& f = filters[static_cast<std::size_t>(i)];
        button->LoadBitmaps(f[0], f[1], 0, f[2]);
        button->setGeometry(85 + 48 * i, 5, 43, 23);
        button->setEnabled(i != 2);
    }
    auto* list = new CSkinListCtrl(pane);
    list->setColumnCount(4);
    list->setHorizontalHeaderLabels({"Index", "Date", "Time", "Type"});
    const int u = (280 - 50) / 10;
    const int widths[] = {u * 3 / 2, 3 * u, u * 5 / 2, 3 * u};
    const char* types[] = {"Event", "Always", "Always", "Parking", "Always", "Event"};
    list->setRowCount(30);
    for (int row = 0; row < 30; ++row) {
        const QStringList cells = {QString::number(row + 1), "2024-05-01",
                                   QStringLiteral("12:%1:00").arg(row, 2, 10, QLatin1Char('0')),
                                   types[row % 6]};
        for (int column = 0; column < 4; ++column) {
            list->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    for (int column = 0; column < 4; ++column) {
        list->setColumnWidth(column, widths[column]);
    }
    list->setGeometry(1, 35, 280 + 1, 300 - 38);  // the pane's layout
    list->Init();
    list->selectRow(1);
    list->SetCurrentNumber(4);
}

// About box: title strip, texts, the OK button.
void AddAboutBox(QWidget* gallery, QPoint at) {
    auto* box =
        new Backdrop(gallery, Library().LoadBitmap(101), QRect(0, 0, 291, 28), skin::kRaised);
    box->setGeometry(QRect(at, QSize(291, 159)));
    QLabel* title = Text(box, "Korvane Viewer", QPoint(30, 50), 15);
    QFont bold = title->font();
    bold.setWeight(QFont::DemiBold);
    title->setFont(bold);
    title->adjustSize();
    Text(box, "Version 1.1 (Build 1366)", QPoint(30, 80), 13);
    auto* ok = new CMyBitmapButton(box);
    ok->LoadBitmaps(104, 105, 104, 104);
    ok->move(190, 120);
    ok->SizeToContent();
    auto* pressed = new CMyBitmapButton(box);
    pressed->LoadBitmaps(104, 105, 104, 104);
    pressed->move(120, 120);
    pressed->SizeToContent();
    pressed->setDown(true);
}

void AddPictures(QWidget* gallery, QPoint at) {
    int x = at.x();
    for (const int number : {268, 103}) {
        auto* picture = new CPicture(gallery);
        picture->SetBitmap(Library().LoadPng(number));
        picture->setGeometry(x, at.y(), 128, 158);
        x += 136;
    }
    auto* placeholder = new Backdrop(gallery, Library().LoadBitmap(310), {});
    placeholder->setGeometry(x, at.y(), 280, 158);
    x += 288;
    const std::array<int, 3> mapButtons = {102, 236, 237};
    for (int i = 0; i < 3; ++i) {
        auto* strip = new Backdrop(gallery, Library().LoadBitmap(152), {});
        strip->setGeometry(x, at.y() + 42 * i, 46, 35);
        auto* button = new CMyBitmapButton(strip);
        button->LoadBitmaps(mapButtons[static_cast<std::size_t>(i)]);
        button->setGeometry(6, 0, 40, 35);
    }
    x += 54;
    const std::array<int, 6> windowButtons = {337, 338, 334, 335, 331, 332};
    for (int i = 0; i < 6; ++i) {
        auto* button = new CMyBitmapButton(gallery);
        button->LoadBitmaps(windowButtons[static_cast<std::size_t>(i)]);
        button->setGeometry(x + (i % 2) * 30, at.y() + (i / 2) * 26, 26, 22);
    }
    auto* icon = new QLabel(gallery);
    icon->setPixmap(Library().GetIcon(245).pixmap(64, 64));
    icon->setGeometry(x, at.y() + 84, 64, 64);
}

// Sliders idle, dragged and disabled, and the speed display's readings.
void AddSliderStates(QWidget* gallery, QPoint at) {
    auto* bar = new Backdrop(gallery, Library().LoadBitmap(107), QRect(0, -10, 530, 120));
    bar->setGeometry(QRect(at, QSize(530, 110)));
    auto* dragged = new CMySliderControl(Qt::Horizontal, bar);
    dragged->setGeometry(0, 0, 200, 25);
    dragged->setRange(0, 100);
    QTest::mousePress(dragged, Qt::LeftButton, {}, QPoint(140, 12));
    auto* idle = new CMySliderControl(Qt::Horizontal, bar);
    idle->setGeometry(210, 0, 200, 25);
    idle->setRange(0, 100);
    idle->setValue(25);
    for (int i = 0; i < 3; ++i) {
        auto* volume = new CBitmapSlider(bar);
        volume->setGeometry(10 + 90 * i, 34, 70, 21);
        volume->SetRange(0, 100);
        volume->SetPos(70);
        volume->SetBitmapChannel(168, 169, true);
        volume->SetBitmapThumb(173, 0, true);
        volume->SetBitmapBackground(107);
        if (i == 1) {
            QTest::mousePress(volume, Qt::LeftButton, {}, QPoint(30, 10));
        } else if (i == 2) {
            volume->setEnabled(false);
        }
    }
    int x = 4;
    for (const QString& text :
         {QString(), QStringLiteral("0.0"), QStringLiteral("12.5"), QStringLiteral("123.4")}) {
        auto* display = new CPicture(bar);
        display->setGeometry(x, 64, 124, 38);
        display->SetBitmap(SpeedImage(text));
        x += 131;
    }
}

TEST(SkinGallery, RendersEveryControlInEveryState) {
    ASSERT_TRUE(Library().loaded()) << "KorvaneResource.rcc beside the tests is missing";
    ApplyDarkStyle(*qApp);

    QWidget gallery;
    gallery.setAutoFillBackground(true);
    QPalette palette = gallery.palette();
    palette.setColor(QPalette::Window, skin::kBackground);
    gallery.setPalette(palette);
    gallery.resize(1330, 560);
    std::vector<QWidget*> controls;

    Text(&gallery, "Korvane skin gallery", QPoint(12, 8), 14);
    AddTitleBar(&gallery, QPoint(12, 34));
    AddControlBar(&gallery, QPoint(12, 92), &controls);
    AddListPane(&gallery, QPoint(830, 34));
    AddStateGrid(&gallery, QPoint(1134, 50));
    AddAboutBox(&gallery, QPoint(830, 370));
    AddPictures(&gallery, QPoint(12, 208));
    AddSliderStates(&gallery, QPoint(12, 400));
    gallery.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gallery));

    const QImage shot = gallery.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(shot.save("skin_gallery.png"));
    const QString screenshots = qEnvironmentVariable("KORVANE_SCREENSHOT_DIR");
    if (!screenshots.isEmpty()) {
        QDir().mkpath(screenshots);
        EXPECT_TRUE(shot.save(screenshots + "/skin_gallery.png"));
    }

    // The three states of a button must look different from each other.
    QWidget strip;
    std::array<QImage, 3> looks;
    const CButtonStyle::ButtonState states[] = {CButtonStyle::Normal, CButtonStyle::Hot,
                                                CButtonStyle::Pressed};
    for (int s = 0; s < 3; ++s) {
        looks[static_cast<std::size_t>(s)] =
            StyledButton(&strip, QPoint(0, 0), {228, 229, 231}, 107, states[s])->grab().toImage();
    }
    EXPECT_NE(looks[0], looks[1]);
    EXPECT_NE(looks[1], looks[2]);
    EXPECT_NE(looks[0], looks[2]);
}

}  // namespace
