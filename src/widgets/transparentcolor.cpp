#include "widgets/transparentcolor.h"

QImage WithTransparentColor(const QImage& image, const QColor& key) {
    if (image.isNull() || !key.isValid()) {
        return image;
    }
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = key.rgb() & RGB_MASK;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] & RGB_MASK) == keyRgb) {
                line[x] = 0;
            }
        }
    }
    return result;
}

QColor TopLeftColour(const QImage& image) {
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}
