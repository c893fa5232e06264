#include "widgets/cbuttonstyle.h"
#include "widgets/cmybitmapbutton.h"

#include "app/resourcemanager.h"

#include <QEnterEvent>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QIcon SolidIcon(const QColor& colour, int side = 8) {
    QPixmap pixmap(side, side);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Every pixel a different colour, so a sampled pixel tells where it was copied from.
QImage Coordinates(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixelColor(x, y, QColor(x % 256, y % 256, 128));
        }
    }
    return image;
}

void Enter(QWidget* widget) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(widget, &event);
}

void Leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

QColor PixelOf(QWidget& widget, int x, int y) {
    return widget.grab().toImage().pixelColor(x, y);
}

class ButtonStyleTest : public ::testing::Test {
protected:
    ButtonStyleTest() {
        button.resize(32, 32);
        button.SetIcons(SolidIcon(Qt::red), SolidIcon(Qt::green), SolidIcon(Qt::blue));
    }
    CButtonStyle button;
};

TEST_F(ButtonStyleTest, MouseMovesThroughNormalHotPressed) {
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    EXPECT_EQ(button.state(), CButtonStyle::Normal);
    Enter(&button);
    EXPECT_EQ(button.state(), CButtonStyle::Hot);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.state(), CButtonStyle::Pressed);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.state(), CButtonStyle::Hot);
    EXPECT_EQ(clicked.count(), 1);
    Leave(&button);
    EXPECT_EQ(button.state(), CButtonStyle::Normal);

    QTest::mouseDClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.state(), CButtonStyle::Pressed);
    button.setEnabled(false);
    EXPECT_EQ(button.state(), CButtonStyle::Normal);
}

TEST_F(ButtonStyleTest, DrawsStateIconOverControlBarPiece) {
    const QImage background = Coordinates(400, 55);
    button.SetBackground(CButtonStyle::kControlBarBitmap, background);
    EXPECT_EQ(PixelOf(button, 0, 0), Qt::red);
    EXPECT_EQ(PixelOf(button, 20, 20), background.pixelColor(3 + 20, 8 + 20));
    Enter(&button);
    EXPECT_EQ(PixelOf(button, 0, 0), Qt::green);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    // Held down, the icon moves by one pixel and the background shows at its old corner.
    EXPECT_EQ(PixelOf(button, 0, 0), background.pixelColor(3, 8));
    EXPECT_EQ(PixelOf(button, 1, 1), Qt::blue);
}

TEST_F(ButtonStyleTest, OtherBackgroundsStretchThePieceAtTheButtonsPlace) {
    QWidget parent;
    parent.resize(300, 60);
    CButtonStyle placed(&parent);
    placed.setGeometry(57, 9, 32, 32);
    const QImage background = Coordinates(300, 46);
    placed.SetBackground(108, background);
    EXPECT_EQ(PixelOf(placed, 0, 0), background.pixelColor(57, 9));
    // 50 x 20 pixels over 32 x 32: the far corner comes from the piece's far corner.
    EXPECT_EQ(PixelOf(placed, 31, 31), background.pixelColor(57 + 49, 9 + 19));
}

TEST(MyBitmapButtonTest, ShowsTheBitmapOfItsState) {
    CMyBitmapButton button;
    ASSERT_TRUE(button.LoadBitmaps(145, 128, 0, 130));
    button.SizeToContent();
    EXPECT_EQ(button.size(), QSize(43, 23));
    ResourceManager& library = ResourceManager::Instance();
    const QPoint middle(21, 11);
    const auto shows = [&](int number) {
        return button.grab().toImage().pixelColor(middle) ==
               library.LoadBitmap(number).pixelColor(middle);
    };
    EXPECT_TRUE(shows(145));
    button.setDown(true);
    EXPECT_TRUE(shows(128));
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_TRUE(shows(130));
}

TEST(MyBitmapButtonTest, MissingBitmapFailsTheLoadButKeepsTheOthers) {
    CMyBitmapButton button;
    EXPECT_FALSE(button.LoadBitmaps(145, 99999));
    button.SizeToContent();
    EXPECT_EQ(button.size(), QSize(43, 23));
    button.setDown(true);  // no selected bitmap: the normal one stays
    EXPECT_EQ(button.grab().toImage().pixelColor(21, 11),
              ResourceManager::Instance().LoadBitmap(145).pixelColor(21, 11));
    EXPECT_FALSE(button.LoadBitmaps(0));
}

}  // namespace
