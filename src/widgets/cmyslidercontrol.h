#pragma once

#include <QImage>
#include <QPixmap>
#include <QSlider>

// A trackbar with a bitmap channel, a played-part fill and a bitmap thumb. A click jumps the
// thumb to the nearest position under the pointer and dragging follows it; the owner hears
// thumbTrack while the position changes and thumbPosition once when the button is released.
// Keys and the wheel are left to the owner: they never move it.
class CMySliderControl : public QSlider {
    Q_OBJECT

public:
    static constexpr int kDefaultChannelBitmap = 170;
    static constexpr int kDefaultThumbBitmap = 171;
    static constexpr int kDefaultPressedThumbBitmap = 172;
    static constexpr int kDefaultFillBitmap = 167;
    static constexpr int kControlBarBitmap = 107;

    explicit CMySliderControl(Qt::Orientation orientation = Qt::Horizontal,
                              QWidget* parent = nullptr);

    void SetChannelBitmap(int number);
    void SetThumbBitmap(int number);
    void SetPressedThumbBitmap(int number);
    void SetFillBitmap(int number);
    void SetChannelImage(const QImage& image);
    void SetThumbImages(const QImage& thumb, const QImage& pressedThumb);
    void SetFillImage(const QImage& image);
    void SetFillEnabled(bool enabled);
    // A background of the control's own; without one a piece of the control bar is stretched.
    void SetBackgroundImage(const QImage& image);

    // The channel the thumb travels along (its centre spans it), and the thumb's rectangle.
    QRect ChannelRect() const;
    QRect ThumbRect() const;
    // The position nearest to a point, limited to the range.
    int PositionAt(const QPoint& point) const;
    bool dragging() const { return dragging_; }

signals:
    void thumbTrack(int position);
    void thumbPosition(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Moves to the position under the point; true when the position changed.
    bool Reposition(const QPoint& point);
    int CentreOf(int value) const;
    void DrawTicks(QPainter& painter) const;

    bool dragging_ = false;
    bool changed_ = false;
    bool fillEnabled_ = true;
    QPixmap channel_;
    QPixmap thumb_;
    QPixmap pressedThumb_;
    QPixmap fill_;
    QPixmap background_;  // the control's own background, if given
    QPixmap controlBar_;  // otherwise a piece of this one
};
