#include "widgets/cmyslidercontrol.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// 116 pixels wide: the channel runs from x 8 to x 108, 100 pixels.
class MySliderControlTest : public ::testing::Test {
protected:
    MySliderControlTest() {
        slider.resize(116, 25);
        slider.setRange(1, 7);
        slider.setValue(1);
    }
    QPoint At(double fraction) const { return QPoint(8 + static_cast<int>(fraction * 100), 12); }

    CMySliderControl slider;
};

TEST_F(MySliderControlTest, ChannelSpansTheTravel) {
    EXPECT_EQ(slider.ChannelRect().left(), 8);
    EXPECT_EQ(slider.ChannelRect().width(), 100);
}

TEST_F(MySliderControlTest, PositionAtPicksTheNearestPosition) {
    const struct {
        int x;
        int position;
    } cases[] = {
        {8, 1},   {58, 4},  {108, 7},  // ends and the middle
        {22, 2},                       // 1/7 of the way is nearer to 2 (1/6) than to 1
        {16, 1},  {17, 2},             // the boundary between 1 and 2 is at 1/12
        {-40, 1}, {300, 7},            // outside the channel: limited to the range
    };
    for (const auto& c : cases) {
        EXPECT_EQ(slider.PositionAt(QPoint(c.x, 12)), c.position) << "x = " << c.x;
    }
    slider.setRange(0, 10000);
    EXPECT_EQ(slider.PositionAt(At(0.25)), 2500);
}

TEST_F(MySliderControlTest, ClickReportsTrackThenPositionAtRelease) {
    QSignalSpy track(&slider, &CMySliderControl::thumbTrack);
    QSignalSpy position(&slider, &CMySliderControl::thumbPosition);
    QTest::mousePress(&slider, Qt::LeftButton, {}, At(0.5));
    EXPECT_EQ(slider.value(), 4);
    ASSERT_EQ(track.count(), 1);
    EXPECT_EQ(track.at(0).at(0).toInt(), 4);
    EXPECT_EQ(position.count(), 0);
    EXPECT_TRUE(slider.dragging());

    QTest::mouseRelease(&slider, Qt::LeftButton, {}, At(0.5));
    EXPECT_FALSE(slider.dragging());
    EXPECT_EQ(track.count(), 1);
    ASSERT_EQ(position.count(), 1);
    EXPECT_EQ(position.at(0).at(0).toInt(), 4);
}

TEST_F(MySliderControlTest, ClickOnCurrentPositionReportsNothing) {
    slider.setValue(4);
    QSignalSpy track(&slider, &CMySliderControl::thumbTrack);
    QSignalSpy position(&slider, &CMySliderControl::thumbPosition);
    QTest::mousePress(&slider, Qt::LeftButton, {}, At(0.5));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, At(0.5));
    EXPECT_EQ(track.count(), 0);
    EXPECT_EQ(position.count(), 0);
}

TEST_F(MySliderControlTest, DragPastTheEndReportsTheEndOnce) {
    QSignalSpy track(&slider, &CMySliderControl::thumbTrack);
    QSignalSpy position(&slider, &CMySliderControl::thumbPosition);
    QTest::mousePress(&slider, Qt::LeftButton, {}, At(0));
    EXPECT_EQ(track.count(), 0);
    QTest::mouseMove(&slider, At(1.0));
    QTest::mouseMove(&slider, At(1.5));
    QTest::mouseMove(&slider, At(2.0));
    EXPECT_EQ(slider.value(), 7);
    EXPECT_EQ(track.count(), 1);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, At(2.0));
    ASSERT_EQ(position.count(), 1);
    EXPECT_EQ(position.at(0).at(0).toInt(), 7);
}

TEST_F(MySliderControlTest, KeysAndWheelNeverMoveIt) {
    slider.setValue(3);
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_End);
    QWheelEvent wheel(QPointF(50, 12), QPointF(50, 12), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&slider, &wheel);
    EXPECT_EQ(slider.value(), 3);
}

TEST_F(MySliderControlTest, ThumbFollowsValueAndFillEndsUnderIt) {
    slider.setValue(1);
    EXPECT_EQ(slider.ThumbRect().center().x(), 8);
    slider.setValue(7);
    EXPECT_EQ(slider.ThumbRect().center().x(), 108);
    EXPECT_EQ(slider.ThumbRect().size(), QSize(11, 19));
}

}  // namespace
