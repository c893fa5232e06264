#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A slider drawn entirely from bitmaps: a channel (with an optional "active" look for the part
// before the thumb) and a thumb, over an optional background piece. Dragging reports the
// position while it changes and once more when the button is released.
//
// Geometry follows the control's size; the thumb size is that of the thumb bitmap.
class CBitmapSlider : public QWidget {
    Q_OBJECT

public:
    explicit CBitmapSlider(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum, bool redraw = false);
    int GetRangeMin() const { return minimum_; }
    int GetRangeMax() const { return maximum_; }
    // Sets the position, limited to the range.
    void SetPos(int position);
    int GetPos() const { return position_; }
    void SetMargin(int left, int top, int right, int bottom);
    void SetVertical(bool vertical);

    // Bitmaps by number from the resource library (0: none). With `transparent` the colour of a
    // bitmap's top-left pixel is left out. False when a named bitmap is missing.
    bool SetBitmapChannel(int channel, int activeChannel = 0, bool transparent = false);
    bool SetBitmapThumb(int thumb, int activeThumb = 0, bool transparent = false);
    bool SetBitmapBackground(int background);
    void SetChannelImages(const QImage& channel, const QImage& activeChannel, bool transparent);
    void SetThumbImages(const QImage& thumb, const QImage& activeThumb, bool transparent);
    void SetBackgroundImage(const QImage& background);

    // Centre of the thumb, along the slider, for a position.
    int ValueToCentre(int position) const;
    // Position for a thumb centre, before limiting to the range.
    int PixelToValue(int pixel) const;
    bool dragging() const { return dragging_; }
    bool focused() const { return focused_; }

signals:
    // While dragging, each time the position changes.
    void positionChanging(int position);
    // When the mouse button is released, and on every key press (position unchanged).
    void positionSet(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Lengths along the slider's axis.
    int Length() const { return vertical_ ? height() : width(); }
    int ThumbLength() const { return vertical_ ? thumbHeight_ : thumbWidth_; }
    int MarginBefore() const { return vertical_ ? marginTop_ : marginLeft_; }
    int MarginAfter() const { return vertical_ ? marginBottom_ : marginRight_; }
    int Along(const QPoint& point) const { return vertical_ ? point.y() : point.x(); }
    void DragTo(int pointer);
    void DrawChannel(QPainter& painter) const;

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int thumbWidth_ = 0;
    int thumbHeight_ = 0;
    int marginLeft_ = 0;
    int marginTop_ = 0;
    int marginRight_ = 0;
    int marginBottom_ = 0;
    bool vertical_ = false;
    bool dragging_ = false;
    int grabOffset_ = 0;
    bool focused_ = false;

    QPixmap channel_;
    QPixmap activeChannel_;
    QPixmap thumb_;
    QPixmap activeThumb_;
    QPixmap background_;
};
