#include "widgets/cmyslidercontrol.h"

#include "app/resourcemanager.h"
#include "widgets/skincolors.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kChannelInset = 8;  // channel ends, from the control's ends
constexpr int kChannelThickness = 4;
constexpr QSize kThumbSize(11, 19);  // across x along, horizontal
constexpr int kFillTop = 10;
constexpr int kFillHeight = 6;
constexpr int kFillLeft = 8;

QPixmap Library(int number) {
    return QPixmap::fromImage(ResourceManager::Instance().LoadBitmap(number));
}

}  // namespace

CMySliderControl::CMySliderControl(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent),
      channel_(Library(kDefaultChannelBitmap)),
      thumb_(Library(kDefaultThumbBitmap)),
      pressedThumb_(Library(kDefaultPressedThumbBitmap)),
      fill_(Library(kDefaultFillBitmap)),
      controlBar_(Library(kControlBarBitmap)) {}

void CMySliderControl::SetChannelBitmap(int number) {
    SetChannelImage(Library(number).toImage());
}
void CMySliderControl::SetThumbBitmap(int number) {
    thumb_ = Library(number);
    update();
}
void CMySliderControl::SetPressedThumbBitmap(int number) {
    pressedThumb_ = Library(number);
    update();
}
void CMySliderControl::SetFillBitmap(int number) {
    SetFillImage(Library(number).toImage());
}

void CMySliderControl::SetChannelImage(const QImage& image) {
    channel_ = QPixmap::fromImage(image);
    update();
}

void CMySliderControl::SetThumbImages(const QImage& thumb, const QImage& pressedThumb) {
    thumb_ = QPixmap::fromImage(thumb);
    pressedThumb_ = QPixmap::fromImage(pressedThumb);
    update();
}

void CMySliderControl::SetFillImage(const QImage& image) {
    fill_ = QPixmap::fromImage(image);
    update();
}

void CMySliderControl::SetFillEnabled(bool enabled) {
    fillEnabled_ = enabled;
    update();
}

void CMySliderControl::SetBackgroundImage(const QImage& image) {
    background_ = QPixmap::fromImage(image);
    update();
}

QRect CMySliderControl::ChannelRect() const {
    if (orientation() == Qt::Horizontal) {
        return QRect(kChannelInset, (height() - kChannelThickness) / 2 + 1,
                     std::max(1, width() - 2 * kChannelInset), kChannelThickness);
    }
    return QRect((width() - kChannelThickness) / 2 + 1, kChannelInset, kChannelThickness,
                 std::max(1, height() - 2 * kChannelInset));
}

int CMySliderControl::CentreOf(int value) const {
    const QRect channel = ChannelRect();
    const bool horizontal = orientation() == Qt::Horizontal;
    const int start = horizontal ? channel.left() : channel.top();
    const int span = horizontal ? channel.width() : channel.height();
    const int range = maximum() - minimum();
    return range <= 0
               ? start
               : start + static_cast<int>(static_cast<double>(span) * (value - minimum()) / range);
}

QRect CMySliderControl::ThumbRect() const {
    const int centre = CentreOf(value());
    if (orientation() == Qt::Horizontal) {
        const int thumbHeight = std::min(kThumbSize.height(), height());
        return QRect(centre - kThumbSize.width() / 2, (height() - thumbHeight) / 2,
                     kThumbSize.width(), thumbHeight);
    }
    const int thumbWidth = std::min(kThumbSize.height(), width());
    return QRect((width() - thumbWidth) / 2, centre - kThumbSize.width() / 2, thumbWidth,
                 kThumbSize.width());
}

int CMySliderControl::PositionAt(const QPoint& point) const {
    const QRect channel = ChannelRect();
    const bool horizontal = orientation() == Qt::Horizontal;
    const double start = horizontal ? channel.left() : channel.top();
    const double end =
        horizontal ? channel.left() + channel.width() : channel.top() + channel.height();
    const double f = ((horizontal ? point.x() : point.y()) - start) / (end - start);
    // The nearest position: the range is cut into max - min + 1 equal cells.
    const double nearest = minimum() + f * (maximum() - minimum() + 1) + (1 - f) * 0.5 - f * 0.5;
    return std::clamp(static_cast<int>(std::trunc(nearest)), minimum(), maximum());
}

bool CMySliderControl::Reposition(const QPoint& point) {
    // Limited first, so dragging past an end reports the end once, not on every move.
    const int position = PositionAt(point);
    if (position == value()) {
        return false;
    }
    setValue(position);
    update();
    return true;
}

void CMySliderControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QSlider::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    changed_ = false;
    setFocus(Qt::MouseFocusReason);
    if (Reposition(event->position().toPoint())) {
        changed_ = true;
        emit thumbTrack(value());
    }
    update();
}

void CMySliderControl::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QSlider::mouseMoveEvent(event);
        return;
    }
    if (Reposition(event->position().toPoint())) {
        changed_ = true;
        emit thumbTrack(value());
    }
}

void CMySliderControl::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_) {
        QSlider::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    if (Reposition(event->position().toPoint())) {
        emit thumbTrack(value());
        changed_ = true;
    }
    if (changed_) {
        emit thumbPosition(value());
        changed_ = false;
    }
    update();
}

void CMySliderControl::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

void CMySliderControl::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void CMySliderControl::DrawTicks(QPainter& painter) const {
    const int interval = tickInterval() > 0 ? tickInterval() : pageStep();
    if (tickPosition() == NoTicks || interval <= 0 || orientation() != Qt::Horizontal) {
        return;
    }
    painter.setPen(skin::kDisabledText);
    const QRect thumb = ThumbRect();
    for (int v = minimum(); v <= maximum(); v += interval) {
        const int x = CentreOf(v);
        if (tickPosition() & TicksAbove) {
            painter.drawLine(x, thumb.top() - 3, x, thumb.top() - 1);
        }
        if (tickPosition() & TicksBelow) {
            painter.drawLine(x, thumb.bottom() + 1, x, thumb.bottom() + 3);
        }
    }
}

void CMySliderControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!background_.isNull()) {
        painter.drawPixmap(rect(), background_);
    } else if (!controlBar_.isNull()) {
        const QRect piece(4, 15, controlBar_.width() / 5, controlBar_.height() / 3);
        painter.drawPixmap(rect(), controlBar_, piece);
    }
    DrawTicks(painter);

    const bool horizontal = orientation() == Qt::Horizontal;
    const QRect channel =
        horizontal ? ChannelRect().adjusted(0, -2, 0, 2) : ChannelRect().adjusted(-1, 0, 1, 0);
    painter.drawPixmap(channel, channel_);

    const QRect thumb = ThumbRect();
    if (fillEnabled_ && horizontal && thumb.left() + 3 > kFillLeft) {
        painter.drawPixmap(QRect(kFillLeft, kFillTop, thumb.left() + 3 - kFillLeft, kFillHeight),
                           fill_);
    }
    painter.drawPixmap(thumb, dragging_ && !pressedThumb_.isNull() ? pressedThumb_ : thumb_);
}
