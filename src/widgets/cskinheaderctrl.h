#pragma once

#include <QHeaderView>
#include <QPixmap>

// The list's column header, drawn from bitmaps: background 124, left edge 125 for the first
// column shown, right edge 123 for every column, captions in light grey in a small font.
class CSkinHeaderCtrl : public QHeaderView {
    Q_OBJECT

public:
    static constexpr int kRightEdgeBitmap = 123;
    static constexpr int kBackgroundBitmap = 124;
    static constexpr int kLeftEdgeBitmap = 125;
    static constexpr int kHeight = 18;

    explicit CSkinHeaderCtrl(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap rightEdge_;
    QPixmap background_;
    QPixmap leftEdge_;
};
