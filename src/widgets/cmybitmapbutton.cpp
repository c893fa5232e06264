#include "widgets/cmybitmapbutton.h"

#include "app/resourcemanager.h"

#include <QPainter>

namespace {

// Loads one optional bitmap: number 0 asks for none and succeeds.
bool LoadOptional(int number, QImage* image) {
    if (number == 0) {
        *image = QImage();
        return true;
    }
    *image = ResourceManager::Instance().LoadBitmap(number);
    return !image->isNull();
}

}  // namespace

CMyBitmapButton::CMyBitmapButton(QWidget* parent) : QAbstractButton(parent) {}

bool CMyBitmapButton::LoadBitmaps(int normal, int selected, int focused, int disabled) {
    QImage images[4];
    const bool normalLoaded = normal != 0 && LoadOptional(normal, &images[0]);
    const bool selectedLoaded = LoadOptional(selected, &images[1]);
    const bool focusedLoaded = LoadOptional(focused, &images[2]);
    const bool disabledLoaded = LoadOptional(disabled, &images[3]);
    SetImages(images[0], images[1], images[2], images[3]);
    return normalLoaded && selectedLoaded && focusedLoaded && disabledLoaded;
}

void CMyBitmapButton::SetImages(const QImage& normal, const QImage& selected, const QImage& focused,
                                const QImage& disabled) {
    normal_ = QPixmap::fromImage(normal);
    selected_ = QPixmap::fromImage(selected);
    focused_ = QPixmap::fromImage(focused);
    disabled_ = QPixmap::fromImage(disabled);
    updateGeometry();
    update();
}

void CMyBitmapButton::SizeToContent() {
    if (!normal_.isNull()) {
        resize(normal_.size());
    }
}

QSize CMyBitmapButton::sizeHint() const {
    return normal_.isNull() ? QSize(16, 16) : normal_.size();
}

const QPixmap& CMyBitmapButton::CurrentPixmap() const {
    if (isDown() && !selected_.isNull()) {
        return selected_;
    }
    if (hasFocus() && !focused_.isNull()) {
        return focused_;
    }
    if (!isEnabled() && !disabled_.isNull()) {
        return disabled_;
    }
    return normal_;
}

void CMyBitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, CurrentPixmap());
}
