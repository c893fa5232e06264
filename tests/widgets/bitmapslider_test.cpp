#include "widgets/cbitmapslider.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kChannel(0, 0, 200);
const QColor kActive(0, 200, 0);
const QColor kThumb(200, 0, 0);

QImage Solid(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// 100 x 20, range 0..100, no margins, a 10-pixel thumb: the design's worked example.
class BitmapSliderTest : public ::testing::Test {
protected:
    BitmapSliderTest() {
        slider.resize(100, 20);
        slider.SetRange(0, 100);
        slider.SetChannelImages(Solid(100, 20, kChannel), QImage(), false);
        slider.SetThumbImages(Solid(10, 10, kThumb), QImage(), false);
    }
    QColor Pixel(int x, int y) { return slider.grab().toImage().pixelColor(x, y); }

    CBitmapSlider slider;
};

struct CentreCase {
    int width, marginLeft, marginRight, minimum, maximum, position, centre;
};

TEST_F(BitmapSliderTest, ValueToCentre) {
    const CentreCase cases[] = {
        {100, 0, 0, 0, 100, 50, 50},    // 0 + trunc(90 * 0.5) + 5
        {100, 0, 0, 0, 100, 0, 5},      // first thumb place
        {100, 0, 0, 0, 100, 100, 95},   // last
        {100, 0, 0, 0, 100, 83, 79},    // trunc(74.7) + 5
        {120, 10, 10, 0, 100, 50, 60},  // margins shift and shorten the travel
        {100, 0, 0, -50, 50, 0, 50},    // negative range
        {100, 0, 0, 7, 7, 7, 5},        // empty range: no division, thumb at the start
    };
    for (const CentreCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "width " << c.width << " position " << c.position);
        slider.resize(c.width, 20);
        slider.SetMargin(c.marginLeft, 0, c.marginRight, 0);
        slider.SetRange(c.minimum, c.maximum);
        EXPECT_EQ(slider.ValueToCentre(c.position), c.centre);
    }
}

TEST_F(BitmapSliderTest, PixelToValue) {
    EXPECT_EQ(slider.PixelToValue(80), 83);  // trunc(75 / 90 * 100)
    EXPECT_EQ(slider.PixelToValue(5), 0);
    EXPECT_EQ(slider.PixelToValue(95), 100);
    slider.SetMargin(10, 0, 10, 0);
    slider.resize(120, 20);
    EXPECT_EQ(slider.PixelToValue(60), 50);
    // No room to travel: the minimum, not a division by zero.
    slider.resize(10, 20);
    slider.SetMargin(0, 0, 0, 0);
    EXPECT_EQ(slider.PixelToValue(5), 0);
}

TEST_F(BitmapSliderTest, ClickAwayFromThumbJumpsAndReportsOnRelease) {
    slider.SetPos(50);
    QSignalSpy changing(&slider, &CBitmapSlider::positionChanging);
    QSignalSpy set(&slider, &CBitmapSlider::positionSet);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(80, 10));
    EXPECT_TRUE(slider.dragging());
    EXPECT_EQ(slider.GetPos(), 83);
    EXPECT_EQ(slider.ValueToCentre(slider.GetPos()), 79);
    ASSERT_EQ(changing.count(), 1);
    EXPECT_EQ(changing.at(0).at(0).toInt(), 83);
    EXPECT_EQ(set.count(), 0);

    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(80, 10));
    EXPECT_FALSE(slider.dragging());
    ASSERT_EQ(set.count(), 1);
    EXPECT_EQ(set.at(0).at(0).toInt(), 83);
}

TEST_F(BitmapSliderTest, GrabbedThumbKeepsItsOffset) {
    slider.SetPos(50);  // centre 50
    QSignalSpy changing(&slider, &CBitmapSlider::positionChanging);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(53, 10));
    EXPECT_EQ(slider.GetPos(), 50);  // grabbed 3 pixels right of the centre: no jump
    EXPECT_EQ(changing.count(), 0);

    QTest::mouseMove(&slider, QPoint(63, 10));
    // The centre goes to 60 (pointer - 3), not to 63 (which would be position 64).
    EXPECT_EQ(slider.GetPos(), 61);
    EXPECT_EQ(changing.count(), 1);

    QTest::mouseMove(&slider, QPoint(500, 10));
    EXPECT_EQ(slider.GetPos(), 100);
    QTest::mouseMove(&slider, QPoint(-50, 10));
    EXPECT_EQ(slider.GetPos(), 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(-50, 10));
}

TEST_F(BitmapSliderTest, KeysConfirmThePositionExceptTab) {
    slider.SetPos(30);
    QSignalSpy set(&slider, &CBitmapSlider::positionSet);
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_Up);
    ASSERT_EQ(set.count(), 2);
    EXPECT_EQ(set.at(1).at(0).toInt(), 30);
    EXPECT_EQ(slider.GetPos(), 30);
    QTest::keyClick(&slider, Qt::Key_Tab);
    EXPECT_EQ(set.count(), 2);
}

TEST_F(BitmapSliderTest, DrawsActiveChannelUpToThumbAndHidesThumbWhenDisabled) {
    slider.SetChannelImages(Solid(100, 20, kChannel), Solid(100, 20, kActive), false);
    slider.SetPos(50);  // centre 50, thumb 45..54 at the top 10 rows
    EXPECT_EQ(Pixel(20, 15), kActive);
    EXPECT_EQ(Pixel(80, 15), kChannel);
    EXPECT_EQ(Pixel(50, 5), kThumb);

    slider.setEnabled(false);
    EXPECT_EQ(Pixel(20, 15), kChannel);  // the whole plain channel
    EXPECT_EQ(Pixel(50, 5), kChannel);   // and no thumb
    QSignalSpy changing(&slider, &CBitmapSlider::positionChanging);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(80, 10));
    EXPECT_EQ(slider.GetPos(), 50);
    EXPECT_EQ(changing.count(), 0);
}

TEST_F(BitmapSliderTest, TransparentThumbLeavesOutItsTopLeftColour) {
    QImage thumb = Solid(10, 10, Qt::magenta);
    thumb.setPixelColor(5, 5, kThumb);
    slider.SetThumbImages(thumb, QImage(), true);
    slider.SetPos(50);
    EXPECT_EQ(Pixel(46, 1), kChannel);
    EXPECT_EQ(Pixel(50, 5), kThumb);
}

}  // namespace
