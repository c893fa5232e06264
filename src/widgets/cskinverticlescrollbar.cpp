#include "widgets/cskinverticlescrollbar.h"

#include "app/resourcemanager.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

namespace {

// The track between the arrows: the thumb's top runs from kTrackTop to height - kTrackEnd.
constexpr int kTrackTop = 36;
constexpr int kTrackEnd = 54;
constexpr int kTrackSpan = 90;  // height minus the arrows and the thumb
constexpr int kThumbSize = 18;
constexpr int kGrab = 13;  // pointer to thumb top while dragging
const QColor kFill(80, 80, 80);

QPixmap Library(int number) {
    return QPixmap::fromImage(ResourceManager::Instance().LoadBitmap(number));
}

}  // namespace

CSkinVerticleScrollbar::CSkinVerticleScrollbar(QWidget* parent)
    : QWidget(parent),
      down_(Library(kDownArrowBitmap)),
      thumb_(Library(kThumbBitmap)),
      up_(Library(kUpArrowBitmap)),
      bottom_(Library(kBottomBitmap)),
      track_(Library(kTrackBitmap)),
      top_(Library(kTopBitmap)) {}

void CSkinVerticleScrollbar::SetList(QAbstractItemView* list) {
    if (list_ != nullptr) {
        list_->verticalScrollBar()->disconnect(this);
    }
    list_ = list;
    if (list_ != nullptr) {
        QScrollBar* bar = list_->verticalScrollBar();
        connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
        connect(bar, &QScrollBar::rangeChanged, this, qOverload<>(&QWidget::update));
    }
    update();
}

int CSkinVerticleScrollbar::ThumbTopFor(int height, int limit, int position) {
    const int lowest = std::max(kTrackTop, height - kTrackEnd);
    if (limit <= 0) {
        return kTrackTop;
    }
    const double perStep = static_cast<double>(height - kTrackSpan) / limit;
    const int top = kTrackTop + static_cast<int>(std::trunc(perStep * position));
    return std::clamp(top, kTrackTop, lowest);
}

int CSkinVerticleScrollbar::Limit() const {
    return list_ != nullptr ? list_->verticalScrollBar()->maximum() : 0;
}

int CSkinVerticleScrollbar::Position() const {
    return list_ != nullptr ? list_->verticalScrollBar()->value() : 0;
}

bool CSkinVerticleScrollbar::CanScroll() const {
    return Limit() > 0;
}

int CSkinVerticleScrollbar::ThumbTop() const {
    if (press_ == Press::Thumb && dragged_) {
        return dragThumbTop_;
    }
    return ThumbTopFor(height(), Limit(), Position());
}

QRect CSkinVerticleScrollbar::UpArrow() const {
    return QRect(QPoint(0, 11), QPoint(17, 36));
}

QRect CSkinVerticleScrollbar::DownArrow() const {
    return QRect(QPoint(0, height() - 36), QPoint(17, height() - 19));
}

QRect CSkinVerticleScrollbar::ThumbRect() const {
    return QRect(0, ThumbTop(), kDrawWidth, kThumbSize);
}

void CSkinVerticleScrollbar::ScrollLine(bool up) {
    if (list_ != nullptr) {
        list_->verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                                     : QAbstractSlider::SliderSingleStepAdd);
    }
}

void CSkinVerticleScrollbar::ScrollPage(bool up) {
    if (list_ != nullptr) {
        list_->verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderPageStepSub
                                                     : QAbstractSlider::SliderPageStepAdd);
    }
}

void CSkinVerticleScrollbar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    dragged_ = false;
    if (CanScroll() && ThumbRect().contains(point)) {
        press_ = Press::Thumb;
        dragThumbTop_ = ThumbTop();
    } else if (UpArrow().contains(point) || DownArrow().contains(point)) {
        press_ = UpArrow().contains(point) ? Press::Up : Press::Down;
        repeating_ = false;
        timer_.start(kFirstDelayMs, this);
    } else {
        press_ = Press::Track;
    }
    update();
}

void CSkinVerticleScrollbar::mouseMoveEvent(QMouseEvent* event) {
    if (press_ != Press::Thumb || list_ == nullptr || Limit() <= 0) {
        return;
    }
    dragged_ = true;
    const int top = event->position().toPoint().y() - kGrab;
    const double perStep = static_cast<double>(height() - kTrackSpan) / Limit();
    if (perStep > 0) {
        const int target = static_cast<int>(std::trunc((top - kTrackTop) / perStep));
        // The list scrolls by rows; its scroll bar keeps the target within its range.
        list_->verticalScrollBar()->setValue(target);
    }
    dragThumbTop_ = std::clamp(top, kTrackTop, std::max(kTrackTop, height() - kTrackEnd));
    update();
}

void CSkinVerticleScrollbar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    timer_.stop();
    const QPoint point = event->position().toPoint();
    if (press_ == Press::Up && UpArrow().contains(point)) {
        ScrollLine(true);
    } else if (press_ == Press::Down && DownArrow().contains(point)) {
        ScrollLine(false);
    } else if (press_ == Press::Track && !ThumbRect().contains(point)) {
        ScrollPage(point.y() < ThumbTop());
    }
    press_ = Press::None;
    dragged_ = false;
    update();
}

void CSkinVerticleScrollbar::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (!repeating_) {
        repeating_ = true;
        timer_.start(kRepeatMs, this);
        return;
    }
    ScrollLine(press_ == Press::Up);
}

void CSkinVerticleScrollbar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int h = height();
    painter.fillRect(rect(), kFill);
    painter.drawPixmap(0, 0, top_);
    painter.drawPixmap(0, 17, up_);
    painter.drawPixmap(QRect(0, 37, kDrawWidth, std::max(0, h - 37)), track_);
    painter.drawPixmap(0, h - 37, down_);
    painter.drawPixmap(1, h - 19, bottom_);
    if (CanScroll()) {
        painter.drawPixmap(0, ThumbTop(), thumb_);
    }
}
