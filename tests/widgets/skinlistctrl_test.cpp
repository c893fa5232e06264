#include "widgets/cskinlistctrl.h"

#include "widgets/cskinverticlescrollbar.h"
#include "widgets/skincolors.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A list of `rows` numbered rows (1, 2, ...) in a 240 x 200 pane with its skinned scroll bar.
class SkinListTest : public ::testing::Test {
protected:
    void Fill(int rows) {
        list->setColumnCount(2);
        list->setHorizontalHeaderLabels({"Index", "Date"});
        list->setRowCount(rows);
        for (int row = 0; row < rows; ++row) {
            list->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
            list->setItem(row, 1, new QTableWidgetItem("2024-05-01"));
        }
        pane.resize(240, 200);
        list->setGeometry(0, 0, 220, 160);
        list->Init();
        pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    }
    QColor RowPixel(int row) {
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        return list->viewport()->grab().toImage().pixelColor(1, cell.center().y());
    }
    CSkinVerticleScrollbar* bar() { return list->skinScrollBar(); }
    QScrollBar* rows() { return list->verticalScrollBar(); }

    QWidget pane;
    CSkinListCtrl* list = new CSkinListCtrl(&pane);
};

TEST_F(SkinListTest, RowsAlternateSelectionIsOrangeCurrentIsBlue) {
    Fill(6);
    EXPECT_EQ(RowPixel(0), skin::kHighlight);  // even rows (80, 80, 80)
    EXPECT_EQ(RowPixel(1), skin::kPanel);      // odd rows (60, 60, 60)
    list->selectRow(2);
    EXPECT_EQ(RowPixel(2), skin::kSelection);
    EXPECT_EQ(list->ColoursFor(2, true).text, skin::kSelectionText);

    list->SetCurrentNumber(3);  // row 2 holds "3": blue even though selected
    EXPECT_EQ(RowPixel(2), QColor(49, 106, 197));
    EXPECT_EQ(list->ColoursFor(2, true).text, skin::kText);
    list->SetCurrentNumber(-1);
    EXPECT_EQ(RowPixel(2), skin::kSelection);
}

TEST_F(SkinListTest, ScrollBarSitsAtTheListsRightEdge) {
    Fill(3);
    EXPECT_EQ(bar()->parentWidget(), &pane);
    EXPECT_EQ(bar()->geometry(), QRect(220 - 22, 0, 20, 162));
    list->setGeometry(1, 35, 200, 100);
    EXPECT_EQ(bar()->geometry(), QRect(1 + 200 - 22, 35, 20, 102));
}

TEST(SkinScrollBarFormula, ThumbTop) {
    const struct {
        int height, limit, position, top;
    } cases[] = {
        {200, 0, 0, 36},     // nothing to scroll: no division
        {200, 10, 0, 36},    // first row
        {200, 10, 5, 91},    // 36 + trunc(110 / 10 * 5)
        {200, 10, 10, 146},  // last: height - 54
        {200, 10, 12, 146},  // beyond: limited
        {60, 10, 5, 36},     // too short to travel
        {200, 3, 1, 72},     // 36 + trunc(36.67)
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CSkinVerticleScrollbar::ThumbTopFor(c.height, c.limit, c.position), c.top)
            << c.height << " " << c.limit << " " << c.position;
    }
}

TEST_F(SkinListTest, NoThumbWhenNothingToScroll) {
    Fill(2);
    EXPECT_FALSE(bar()->CanScroll());
    const QImage empty = bar()->grab().toImage();
    list->setRowCount(40);
    // The list lays out its rows lazily; the bar follows when the range changes.
    QTRY_VERIFY(bar()->CanScroll());
    const QImage withThumb = bar()->grab().toImage();
    EXPECT_NE(empty.pixelColor(9, 45), withThumb.pixelColor(9, 45));
}

TEST_F(SkinListTest, ArrowsScrollALineTrackAPageThumbDrags) {
    Fill(40);
    const int h = bar()->height();
    QTest::mouseClick(bar(), Qt::LeftButton, {}, QPoint(9, h - 27));
    EXPECT_EQ(rows()->value(), 1);
    QTest::mouseClick(bar(), Qt::LeftButton, {}, QPoint(9, 20));
    EXPECT_EQ(rows()->value(), 0);

    QTest::mouseClick(bar(), Qt::LeftButton, {}, QPoint(9, h - 60));  // below the thumb
    EXPECT_EQ(rows()->value(), rows()->pageStep());
    QTest::mouseClick(bar(), Qt::LeftButton, {}, QPoint(9, 37));  // above it
    EXPECT_EQ(rows()->value(), 0);

    // Drag the thumb to the middle of the track: the list follows in rows.
    const int limit = rows()->maximum();
    const double perRow = (h - 90.0) / limit;
    QTest::mousePress(bar(), Qt::LeftButton, {}, QPoint(9, 40));
    QTest::mouseMove(bar(), QPoint(9, 13 + 36 + static_cast<int>(perRow * 10) + 1));
    QTest::mouseRelease(bar(), Qt::LeftButton, {}, QPoint(9, 100));
    EXPECT_EQ(rows()->value(), 10);
}

TEST_F(SkinListTest, HeldArrowRepeats) {
    Fill(40);
    QTest::mousePress(bar(), Qt::LeftButton, {}, QPoint(9, bar()->height() - 27));
    QTRY_VERIFY_WITH_TIMEOUT(rows()->value() >= 3, 2000);
    QTest::mouseRelease(bar(), Qt::LeftButton, {}, QPoint(9, bar()->height() - 27));
    const int stopped = rows()->value();
    QTest::qWait(200);
    EXPECT_EQ(rows()->value(), stopped);
}

}  // namespace
