// Looks of the slider, volume, list header and scroll bar pieces.
#include <QPainter>
#include <QPainterPath>

#include "lookhelpers.h"
#include "skinlooks.h"
#include "widgets/skincolors.h"

using namespace look;

namespace {

// Columns of the scroll bar's track, edge to edge (the bar is 18 pixels wide).
QColor TrackColumn(int x) {
    return (x == 0 || x == 17) ? Grey(34) : Grey(44);
}

void FillTrack(QImage& image, int firstColumn) {
    for (int x = 0; x < image.width(); ++x) {
        SetColumn(image, x, TrackColumn(x + firstColumn));
    }
}

void DrawArrowButton(QImage& image, const QRectF& plate, bool up) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    FillVertical(painter, plate, 3, Grey(88), Grey(62), kEdgeDark);
    const QPointF c = plate.center();
    QPainterPath arrow;
    const qreal dy = up ? -1 : 1;
    arrow.moveTo(c.x(), c.y() + 2.5 * dy);
    arrow.lineTo(c.x() + 4, c.y() - 2 * dy);
    arrow.lineTo(c.x() - 4, c.y() - 2 * dy);
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(skin::kText);
    painter.drawPath(arrow);
}

void DrawGrip(QPainter& painter, qreal left, qreal right, qreal top, int lines, const QColor& c) {
    painter.setPen(QPen(c, 1));
    for (int i = 0; i < lines; ++i) {
        painter.drawLine(QPointF(left, top + 2 * i + 0.5), QPointF(right, top + 2 * i + 0.5));
    }
}

}  // namespace

// Sunken groove, uniform along the width because the slider stretches it.
QImage DrawSliderChannel(const SkinEntry& entry, const SymbolSource&, QString*) {
    return VerticalBand(entry, Grey(30), Grey(40), {{0, Grey(18)}, {-2, Grey(46)}, {-1, Grey(92)}});
}

QImage DrawSliderFill(const SkinEntry& entry, const SymbolSource&, QString*) {
    return VerticalBand(entry, QColor(255, 204, 92), QColor(222, 128, 0));
}

QImage DrawSliderThumb(const SkinEntry& entry, const SymbolSource&, QString* error) {
    QString state;
    if (!StateOf(entry, {"normal", "pressed"}, &state, error)) {
        return {};
    }
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF knob = canvas.Bounds().adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal middle = entry.size.height() / 2.0 - 2.5;
    if (state == "normal") {
        FillVertical(painter, knob, 2.5, Grey(222), Grey(150), kEdgeDark);
        DrawGrip(painter, 3, knob.right() - 2.5, middle, 3, Grey(112));
    } else {
        FillVertical(painter, knob, 2.5, kAccentTop, kAccentBottom, kAccentEdge);
        DrawGrip(painter, 3, knob.right() - 2.5, middle, 3, kAccentEdge);
    }
    return canvas.Finish();
}

// Bars rising to the right on the key colour: grey, or orange for the part below the volume.
QImage DrawVolumeChannel(const SkinEntry& entry, const SymbolSource&, QString* error) {
    QString state;
    if (!StateOf(entry, {"normal", "active"}, &state, error)) {
        return {};
    }
    QImage image(entry.size, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter painter(&image);
    const int bars = 10;
    const int pitch = entry.size.width() / bars;
    const int bottom = entry.size.height() - 2;
    for (int i = 0; i < bars; ++i) {
        const int height = 4 + (bottom - 5) * i / (bars - 1);
        const QRect bar(1 + i * pitch, bottom - height + 1, pitch - 2, height);
        if (state == "normal") {
            painter.fillRect(bar, Grey(84));
            painter.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), Grey(108));
        } else {
            painter.fillRect(bar, QColor(240, 150, 0));
            painter.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), kAccentTop);
        }
    }
    return image;
}

QImage DrawVolumeThumb(const SkinEntry& entry, const SymbolSource&, QString*) {
    QImage image(entry.size, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter painter(&image);
    const QRect body = image.rect();
    painter.fillRect(body, kEdgeDark);
    painter.fillRect(body.adjusted(1, 1, -1, -1), Grey(214));
    painter.fillRect(QRect(1, 1, body.width() - 2, 1), Grey(240));
    return image;
}

QImage DrawHeaderPiece(const SkinEntry& entry, const SymbolSource&, QString* error) {
    QImage image =
        VerticalBand(entry, Grey(80), Grey(60), {{0, Grey(98)}, {-2, Grey(48)}, {-1, Grey(28)}});
    const int last = image.height() - 1;
    const QString part = entry.Attribute("part");
    if (part == "left") {
        for (int y = 0; y < last; ++y) {
            image.setPixelColor(0, y, Grey(112));
        }
    } else if (part == "right") {
        for (int y = 1; y < last; ++y) {
            image.setPixelColor(0, y, Grey(38));
            image.setPixelColor(1, y, Grey(94));
        }
    } else if (part != "background") {
        *error = QStringLiteral("line %1: header part must be left, right or background")
                     .arg(entry.line);
        return {};
    }
    return image;
}

QImage DrawScrollPiece(const SkinEntry& entry, const SymbolSource&, QString* error) {
    const QString part = entry.Attribute("part");
    QImage image(entry.size, QImage::Format_ARGB32_Premultiplied);
    // The bottom cap is drawn one pixel in from the left edge.
    FillTrack(image, part == "bottom" ? 1 : 0);
    const QRectF whole(image.rect());
    if (part == "top") {
        SetRow(image, 0, Grey(34));
    } else if (part == "bottom") {
        SetRow(image, image.height() - 1, Grey(34));
    } else if (part == "up") {
        DrawArrowButton(image, whole.adjusted(1.5, 1.5, -1.5, -0.5), true);
    } else if (part == "down") {
        DrawArrowButton(image, whole.adjusted(1.5, 0.5, -1.5, -1.5), false);
    } else if (part == "thumb") {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        FillVertical(painter, whole.adjusted(2.5, 0.5, -2.5, -0.5), 3, Grey(156), Grey(112),
                     kEdgeDark);
        DrawGrip(painter, 6, 12, 6, 3, Grey(86));
    } else if (part != "track") {
        *error = QStringLiteral("line %1: unknown scroll bar part %2").arg(entry.line).arg(part);
        return {};
    }
    return image;
}
