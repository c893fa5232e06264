// Looks of the buttons: toolbar and transport icons, labelled and round bitmap buttons.
#include <QPainter>

#include "lookhelpers.h"
#include "skinlooks.h"
#include "widgets/skincolors.h"

using namespace look;

namespace {

// Symbol colour per button state.
QColor SymbolColour(const QString& state) {
    if (state == "hot") {
        return Grey(245);
    }
    if (state == "pressed" || state == "selected") {
        return skin::kSelection;
    }
    if (state == "disabled") {
        return kSymbolDisabled;
    }
    return skin::kText;
}

}  // namespace

QImage DrawAppIcon(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const qreal side = entry.size.width();
    FillVertical(painter, QRectF(1.5, 1.5, side - 3, side - 3), side / 5.5, kAccentTop,
                 kAccentBottom, kAccentEdge);
    const int mark = qRound(side * 0.7);
    if (!PlaceSymbol(painter, entry, symbols, mark, Grey(34), QPointF(side / 2, side / 2), error)) {
        return {};
    }
    return canvas.Finish();
}

// Drawn over the title bar: a bare symbol, a soft plate when hot, a sunken plate when pressed.
QImage DrawToolbarButton(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    QString state;
    if (!StateOf(entry, {"normal", "hot", "pressed", "disabled"}, &state, error)) {
        return {};
    }
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF plate = canvas.Bounds().adjusted(1.5, 1.5, -1.5, -1.5);
    if (state == "hot") {
        FillVertical(painter, plate, 5, Grey(255, 46), Grey(255, 18), Grey(255, 56));
    } else if (state == "pressed") {
        FillVertical(painter, plate, 5, Grey(0, 120), Grey(0, 70), Grey(0, 150));
    }
    if (!PlaceSymbol(painter, entry, symbols, 22, SymbolColour(state), plate.center(), error)) {
        return {};
    }
    return canvas.Finish();
}

// Round buttons of the control bar; the play button carries an orange ring.
QImage DrawTransportButton(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    QString state;
    if (!StateOf(entry, {"normal", "hot", "pressed", "disabled"}, &state, error)) {
        return {};
    }
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF disc = canvas.Bounds().adjusted(1, 1, -1, -1);
    const qreal radius = disc.width() / 2;
    if (state == "normal") {
        FillVertical(painter, disc, radius, Grey(96), Grey(56), kEdgeDark);
    } else if (state == "hot") {
        FillVertical(painter, disc, radius, Grey(118), Grey(72), kEdgeDark);
    } else if (state == "pressed") {
        FillVertical(painter, disc, radius, Grey(38), Grey(64), kEdgeDark);
    } else {
        FillVertical(painter, disc, radius, Grey(58), Grey(50), Grey(40));
    }
    if (state != "disabled") {
        // A light rim along the upper half gives the disc its relief.
        painter.setPen(QPen(state == "pressed" ? Grey(0, 60) : Grey(255, 50), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(disc.adjusted(1, 1, -1, -1), 20 * 16, 140 * 16);
        if (entry.Flag("accent")) {
            painter.setPen(QPen(QColor(255, 165, 0, state == "normal" ? 150 : 220), 1.2));
            painter.drawEllipse(disc.adjusted(0.6, 0.6, -0.6, -0.6));
        }
    }
    const QPointF centre = disc.center() + QPointF(0.5, 0.5);
    if (!PlaceSymbol(painter, entry, symbols, 16, SymbolColour(state), centre, error)) {
        return {};
    }
    return canvas.Finish();
}

// Labelled buttons: list filters, channel choice and the About box's OK.
QImage DrawTabButton(const SkinEntry& entry, const SymbolSource&, QString* error) {
    QString state;
    if (!StateOf(entry, {"normal", "selected", "disabled"}, &state, error)) {
        return {};
    }
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF plate = canvas.Bounds().adjusted(0.5, 0.5, -0.5, -0.5);
    QColor text = skin::kText;
    if (state == "normal") {
        FillVertical(painter, plate, 3, Grey(88), Grey(62), kEdgeDark);
        painter.setPen(Grey(255, 34));
        painter.drawLine(QPointF(3, 1.5), QPointF(plate.right() - 3, 1.5));
    } else if (state == "selected") {
        FillVertical(painter, plate, 3, kAccentTop, kAccentBottom, kAccentEdge);
        text = skin::kSelectionText;
    } else {
        FillVertical(painter, plate, 3, Grey(56), Grey(52), Grey(42));
        text = Grey(104);
    }
    const QString label = entry.Attribute("label");
    const int maxPixels = entry.Attribute("font", "11").toInt();
    painter.setFont(FittingFont(label, maxPixels, entry.size.width() - 6));
    painter.setPen(text);
    painter.drawText(canvas.Bounds().adjusted(0, 0, 0, -1), Qt::AlignCenter, label);
    return canvas.Finish();
}

// 24 x 24 discs of the default and mute buttons.
QImage DrawRoundButton(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    QString state;
    if (!StateOf(entry, {"normal", "selected"}, &state, error)) {
        return {};
    }
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF disc = canvas.Bounds().adjusted(1, 1, -1, -1);
    if (state == "normal") {
        FillVertical(painter, disc, disc.width() / 2, Grey(88), Grey(58), kEdgeDark);
    } else {
        FillVertical(painter, disc, disc.width() / 2, Grey(40), Grey(62), kEdgeDark);
    }
    if (!PlaceSymbol(painter, entry, symbols, 16, SymbolColour(state), disc.center(), error)) {
        return {};
    }
    return canvas.Finish();
}

QImage DrawMapButton(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    QString state;
    if (!StateOf(entry, {"normal", "pressed", "disabled"}, &state, error)) {
        return {};
    }
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF plate(4.5, 5.5, entry.size.width() - 9, entry.size.height() - 11);
    if (state == "normal") {
        FillVertical(painter, plate, 4, Grey(88), Grey(60), kEdgeDark);
    } else if (state == "pressed") {
        FillVertical(painter, plate, 4, Grey(38), Grey(60), kEdgeDark);
    } else {
        FillVertical(painter, plate, 4, Grey(56), Grey(52), Grey(42));
    }
    if (!PlaceSymbol(painter, entry, symbols, 16, SymbolColour(state), plate.center(), error)) {
        return {};
    }
    return canvas.Finish();
}

QImage DrawWindowButton(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    QString state;
    if (!StateOf(entry, {"normal", "pressed"}, &state, error)) {
        return {};
    }
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF plate = canvas.Bounds().adjusted(0.5, 0.5, -0.5, -0.5);
    QColor symbol = skin::kText;
    if (state == "normal") {
        FillVertical(painter, plate, 3, Grey(80), Grey(58), kEdgeDark);
    } else if (entry.Flag("danger")) {
        FillVertical(painter, plate, 3, QColor(222, 74, 58), QColor(178, 44, 34), kEdgeDark);
        symbol = Grey(250);
    } else {
        FillVertical(painter, plate, 3, Grey(40), Grey(58), kEdgeDark);
        symbol = skin::kSelection;
    }
    if (!PlaceSymbol(painter, entry, symbols, 16, symbol, plate.center(), error)) {
        return {};
    }
    return canvas.Finish();
}
