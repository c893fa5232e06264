#include "widgets/cbitmapslider.h"

#include "app/resourcemanager.h"
#include "widgets/transparentcolor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The piece of the background bitmap behind the slider when the active channel is drawn.
const QRect kBackgroundPiece(50, 13, 74, 23);

QPixmap Prepared(const QImage& image, bool transparent) {
    return QPixmap::fromImage(transparent ? WithTransparentColor(image, TopLeftColour(image))
                                          : image);
}

// Loads a bitmap that may be absent (number 0); false when a named one is missing.
bool LoadOptional(int number, QImage* image) {
    *image = number == 0 ? QImage() : ResourceManager::Instance().LoadBitmap(number);
    return number == 0 || !image->isNull();
}

}  // namespace

CBitmapSlider::CBitmapSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapSlider::SetRange(int minimum, int maximum, bool redraw) {
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = std::clamp(position_, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
    if (redraw) {
        update();
    }
}

void CBitmapSlider::SetPos(int position) {
    position_ = std::clamp(position, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
    update();
}

void CBitmapSlider::SetMargin(int left, int top, int right, int bottom) {
    marginLeft_ = left;
    marginTop_ = top;
    marginRight_ = right;
    marginBottom_ = bottom;
    update();
}

void CBitmapSlider::SetVertical(bool vertical) {
    vertical_ = vertical;
    update();
}

bool CBitmapSlider::SetBitmapChannel(int channel, int activeChannel, bool transparent) {
    QImage images[2];
    const bool loaded = channel != 0 && LoadOptional(channel, &images[0]);
    const bool activeLoaded = LoadOptional(activeChannel, &images[1]);
    SetChannelImages(images[0], images[1], transparent);
    return loaded && activeLoaded;
}

bool CBitmapSlider::SetBitmapThumb(int thumb, int activeThumb, bool transparent) {
    QImage images[2];
    const bool loaded = thumb != 0 && LoadOptional(thumb, &images[0]);
    const bool activeLoaded = LoadOptional(activeThumb, &images[1]);
    SetThumbImages(images[0], images[1], transparent);
    return loaded && activeLoaded;
}

bool CBitmapSlider::SetBitmapBackground(int background) {
    QImage image;
    const bool loaded = background != 0 && LoadOptional(background, &image);
    SetBackgroundImage(image);
    return loaded;
}

void CBitmapSlider::SetChannelImages(const QImage& channel, const QImage& activeChannel,
                                     bool transparent) {
    channel_ = Prepared(channel, transparent);
    activeChannel_ = Prepared(activeChannel, transparent);
    update();
}

void CBitmapSlider::SetThumbImages(const QImage& thumb, const QImage& activeThumb,
                                   bool transparent) {
    thumb_ = Prepared(thumb, transparent);
    activeThumb_ = Prepared(activeThumb, transparent);
    thumbWidth_ = thumb.width();
    thumbHeight_ = thumb.height();
    update();
}

void CBitmapSlider::SetBackgroundImage(const QImage& background) {
    background_ = QPixmap::fromImage(background);
    update();
}

int CBitmapSlider::ValueToCentre(int position) const {
    const int travel = Length() - MarginBefore() - MarginAfter() - ThumbLength();
    const int range = maximum_ - minimum_;
    const int offset = range == 0 ? 0
                                  : static_cast<int>(std::trunc(static_cast<double>(travel) *
                                                                (position - minimum_) / range));
    return MarginBefore() + offset + ThumbLength() / 2;
}

int CBitmapSlider::PixelToValue(int pixel) const {
    const int travel = Length() - MarginAfter() - MarginBefore() - ThumbLength();
    if (travel <= 0) {
        return minimum_;
    }
    const double fraction =
        static_cast<double>(pixel - ThumbLength() / 2 - MarginBefore()) / travel;
    return static_cast<int>(std::trunc(minimum_ + fraction * (maximum_ - minimum_)));
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    const int pointer = Along(event->position().toPoint());
    const int distance = pointer - ValueToCentre(position_);
    // Grabbing the thumb keeps its offset to the pointer; elsewhere the thumb jumps under it.
    grabOffset_ = std::abs(distance) <= ThumbLength() / 2 ? distance : 0;
    DragTo(pointer);
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        DragTo(Along(event->position().toPoint()));
    }
}

void CBitmapSlider::DragTo(int pointer) {
    const int first = MarginBefore() + ThumbLength() / 2;
    const int last = Length() - MarginAfter() - ThumbLength() / 2;
    const int target = std::clamp(pointer - grabOffset_, first, std::max(first, last));
    if (target == ValueToCentre(position_)) {
        return;
    }
    position_ = std::clamp(PixelToValue(target), std::min(minimum_, maximum_),
                           std::max(minimum_, maximum_));
    update();
    emit positionChanging(position_);
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    update();
    emit positionSet(position_);
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event) {
    // Tab still moves the focus; every other key confirms the current position.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit positionSet(position_);
}

void CBitmapSlider::focusInEvent(QFocusEvent* event) {
    focused_ = true;
    update();
    QWidget::focusInEvent(event);
}

void CBitmapSlider::focusOutEvent(QFocusEvent* event) {
    focused_ = false;
    update();
    QWidget::focusOutEvent(event);
}

void CBitmapSlider::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            dragging_ = false;
        }
        update();
    }
    QWidget::changeEvent(event);
}

void CBitmapSlider::DrawChannel(QPainter& painter) const {
    if (activeChannel_.isNull() || !isEnabled()) {
        painter.drawPixmap(0, 0, channel_);
        return;
    }
    if (!background_.isNull()) {
        painter.drawPixmap(QPoint(0, 0), background_, kBackgroundPiece);
    }
    const int centre = ValueToCentre(position_);
    if (vertical_) {
        painter.drawPixmap(QPoint(0, 0), activeChannel_,
                           QRect(0, 0, activeChannel_.width(), centre));
        painter.drawPixmap(QPoint(0, centre), channel_,
                           QRect(0, centre, channel_.width(), channel_.height() - centre));
    } else {
        painter.drawPixmap(QPoint(0, 0), activeChannel_,
                           QRect(0, 0, centre, activeChannel_.height()));
        painter.drawPixmap(QPoint(centre, 0), channel_,
                           QRect(centre, 0, channel_.width() - centre, channel_.height()));
    }
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawChannel(painter);
    if (!isEnabled()) {
        return;  // a disabled slider shows no thumb
    }
    const QPixmap& thumb = dragging_ && !activeThumb_.isNull() ? activeThumb_ : thumb_;
    const int centre = ValueToCentre(position_);
    if (vertical_) {
        painter.drawPixmap(marginLeft_, centre - thumbHeight_ / 2, thumb);
    } else {
        painter.drawPixmap(centre - thumbWidth_ / 2, marginTop_, thumb);
    }
}
