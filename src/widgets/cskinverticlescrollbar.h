#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QAbstractItemView;

// The list's vertical scroll bar, drawn from bitmaps (18 pixels wide): arrows scroll a line and
// repeat while held, the track scrolls a page, the thumb is dragged. It drives the list's own
// (hidden) scroll bar, in rows, and follows it.
class CSkinVerticleScrollbar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDownArrowBitmap = 175;
    static constexpr int kThumbBitmap = 176;
    static constexpr int kUpArrowBitmap = 177;
    static constexpr int kBottomBitmap = 178;
    static constexpr int kTrackBitmap = 179;
    static constexpr int kTopBitmap = 180;
    static constexpr int kDrawWidth = 18;
    static constexpr int kFirstDelayMs = 250;
    static constexpr int kRepeatMs = 50;

    explicit CSkinVerticleScrollbar(QWidget* parent = nullptr);

    void SetList(QAbstractItemView* list);

    // Top of the thumb for a bar of `height` over a list scrolled to `position` of `limit`.
    static int ThumbTopFor(int height, int limit, int position);
    // The thumb is shown only when the list has rows to scroll.
    bool CanScroll() const;
    int ThumbTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    enum class Press { None, Up, Down, Thumb, Track };

    int Limit() const;
    int Position() const;
    QRect UpArrow() const;
    QRect DownArrow() const;
    QRect ThumbRect() const;
    void ScrollLine(bool up);
    void ScrollPage(bool up);

    QPointer<QAbstractItemView> list_;
    Press press_ = Press::None;
    bool dragged_ = false;
    int dragThumbTop_ = 0;  // while dragging, the thumb follows the pointer
    QBasicTimer timer_;
    bool repeating_ = false;

    QPixmap down_;
    QPixmap thumb_;
    QPixmap up_;
    QPixmap bottom_;
    QPixmap track_;
    QPixmap top_;
};
