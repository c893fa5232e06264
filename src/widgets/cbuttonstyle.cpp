#include "widgets/cbuttonstyle.h"

#include "app/resourcemanager.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// Piece of a background other than the control bar that a button shows, taken at the button's
// place in its parent and stretched to the button.
constexpr QSize kBackgroundPiece(50, 20);

}  // namespace

CButtonStyle::CButtonStyle(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
}

void CButtonStyle::SetIcons(int normal, int hot, int pressed) {
    ResourceManager& library = ResourceManager::Instance();
    SetIcons(library.GetIcon(normal), library.GetIcon(hot), library.GetIcon(pressed));
}

void CButtonStyle::SetIcons(const QIcon& normal, const QIcon& hot, const QIcon& pressed) {
    icons_[0] = normal;
    icons_[1] = hot;
    icons_[2] = pressed;
    update();
}

void CButtonStyle::SetBackground(int bitmapNumber) {
    SetBackground(bitmapNumber, ResourceManager::Instance().LoadBitmap(bitmapNumber));
}

void CButtonStyle::SetBackground(int bitmapNumber, const QImage& image) {
    backgroundNumber_ = bitmapNumber;
    background_ = QPixmap::fromImage(image);
    drawBackground_ = true;
    update();
}

void CButtonStyle::SetDrawBackground(bool draw) {
    drawBackground_ = draw;
    update();
}

void CButtonStyle::SetState(ButtonState state) {
    if (state_ != state) {
        state_ = state;
        update();
    }
}

void CButtonStyle::enterEvent(QEnterEvent* event) {
    if (!isDown()) {
        SetState(Hot);
    }
    QAbstractButton::enterEvent(event);
}

void CButtonStyle::leaveEvent(QEvent* event) {
    SetState(Normal);
    QAbstractButton::leaveEvent(event);
}

void CButtonStyle::mouseMoveEvent(QMouseEvent* event) {
    // Covers a pointer that was already over the button when it appeared.
    if (state_ == Normal && !isDown() && rect().contains(event->position().toPoint())) {
        SetState(Hot);
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CButtonStyle::mousePressEvent(QMouseEvent* event) {
    SetState(Pressed);
    QAbstractButton::mousePressEvent(event);
}

void CButtonStyle::mouseReleaseEvent(QMouseEvent* event) {
    SetState(Hot);
    QAbstractButton::mouseReleaseEvent(event);
}

void CButtonStyle::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click is a second press; the base class turns it into one.
    SetState(Pressed);
    QAbstractButton::mouseDoubleClickEvent(event);
}

void CButtonStyle::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        SetState(Normal);
    }
    QAbstractButton::changeEvent(event);
}

void CButtonStyle::DrawBackground(QPainter& painter) const {
    if (backgroundNumber_ == kControlBarBitmap) {
        painter.drawPixmap(QPoint(0, 0), background_, QRect(QPoint(3, 8), size()));
    } else {
        painter.drawPixmap(rect(), background_, QRect(pos(), kBackgroundPiece));
    }
}

void CButtonStyle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (drawBackground_ && !background_.isNull()) {
        DrawBackground(painter);
    }
    const QIcon& icon = icons_[state_ - 1];
    if (icon.isNull()) {
        return;
    }
    const QList<QSize> sizes = icon.availableSizes();
    const QSize iconSize = sizes.isEmpty() ? size() : sizes.front();
    const QPoint origin = state_ == Pressed ? QPoint(1, 1) : QPoint(0, 0);
    painter.drawPixmap(origin, icon.pixmap(iconSize));
}
