#include "widgets/cpicture.h"

#include "app/resourcemanager.h"
#include "widgets/transparentcolor.h"

#include <QPainter>

CPicture::CPicture(QWidget* parent) : QWidget(parent) {}

bool CPicture::SetBitmap(int number) {
    const QImage image = ResourceManager::Instance().LoadBitmap(number);
    if (image.isNull()) {
        return false;
    }
    SetBitmap(image);
    return true;
}

void CPicture::SetBitmap(const QImage& image) {
    image_ = image;
    Prepare();
}

void CPicture::SetTransparentColor(const QColor& colour) {
    transparent_ = colour;
    Prepare();
}

void CPicture::Prepare() {
    shown_ = QPixmap::fromImage(WithTransparentColor(image_, transparent_));
    updateGeometry();
    update();
}

QSize CPicture::sizeHint() const {
    return image_.isNull() ? QSize(16, 16) : image_.size();
}

void CPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown_);
}
