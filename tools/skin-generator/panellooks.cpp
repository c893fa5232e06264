// Looks of the bars, strips, logo, placeholder, map indicators and the vehicle-speed display.
#include <QFontMetrics>
#include <QPainter>
#include <QRadialGradient>

#include "lookhelpers.h"
#include "skinlooks.h"
#include "widgets/skincolors.h"

using namespace look;

namespace {

// Cells of the speed display, as the player pane draws its digits: three integer digits, the
// point and the tenths digit, all at y 11.
constexpr int kDigitTop = 11;
constexpr int kIntegerDigitX[] = {21, 32, 43};
constexpr int kPointX = 54;
constexpr int kTenthsX = 60;

void DrawWordmark(QPainter& painter, const QRectF& box, int pixelSize, qreal spacing,
                  const QColor& colour, const QString& word) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, word);
}

}  // namespace

// Uniform along the width: the toolbar buttons copy pieces of it as their background.
QImage DrawTitleBar(const SkinEntry& entry, const SymbolSource&, QString*) {
    return VerticalBand(entry, Grey(66), Grey(46),
                        {{0, Grey(88)}, {-2, Grey(24)}, {-1, kAccentLine}});
}

QImage DrawControlBar(const SkinEntry& entry, const SymbolSource&, QString*) {
    return VerticalBand(entry, Grey(68), Grey(50), {{0, Grey(22)}, {1, Grey(86)}});
}

QImage DrawCaptionStrip(const SkinEntry& entry, const SymbolSource&, QString*) {
    return VerticalBand(entry, Grey(72), Grey(54), {{0, Grey(86)}, {-2, Grey(40)}, {-1, Grey(30)}});
}

QImage DrawAboutStrip(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    QImage image =
        VerticalBand(entry, Grey(74), Grey(52), {{0, Grey(90)}, {-2, Grey(28)}, {-1, kAccentLine}});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    SkinEntry mark = entry;
    mark.attributes.insert("symbol", "korvane-mark");
    if (!PlaceSymbol(painter, mark, symbols, 16, skin::kSelection, QPointF(14, 13.5), error)) {
        return {};
    }
    return image;
}

QImage DrawLogo(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int mark = entry.size.height() - 6;
    if (!PlaceSymbol(painter, entry, symbols, mark, skin::kSelection,
                     QPointF(3 + mark / 2.0, entry.size.height() / 2.0), error)) {
        return {};
    }
    const qreal left = mark + 10;
    DrawWordmark(painter, QRectF(left, 2, entry.size.width() - left, 18), 16, 1.5, Grey(222),
                 QStringLiteral("KORVANE"));
    DrawWordmark(painter, QRectF(left + 1, 20, entry.size.width() - left, 11), 9, 4.2,
                 skin::kSelection, QStringLiteral("VIEWER"));
    return canvas.Finish();
}

// Shown in a channel pane before a recording plays.
QImage DrawPlaceholder(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    QImage image(entry.size, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(entry.size.width() / 2.0, entry.size.height() / 2.0);
    QRadialGradient glow(centre, entry.size.width() * 0.6);
    glow.setColorAt(0, Grey(38));
    glow.setColorAt(1, Grey(14));
    painter.fillRect(image.rect(), glow);
    const int mark = entry.size.height() / 3;
    if (!PlaceSymbol(painter, entry, symbols, mark, Grey(58), centre - QPointF(0, mark * 0.3),
                     error)) {
        return {};
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(entry.size.height() / 14);
    font.setLetterSpacing(QFont::AbsoluteSpacing, font.pixelSize() * 0.35);
    painter.setFont(font);
    painter.setPen(Grey(66));
    const QRectF line(0, centre.y() + mark * 0.35, entry.size.width(), font.pixelSize() * 2);
    painter.drawText(line, Qt::AlignCenter, QStringLiteral("KORVANE"));
    return image;
}

// A card with a large symbol (struck through for a missing signal) and a short caption.
QImage DrawIndicator(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF card = canvas.Bounds().adjusted(0.5, 0.5, -0.5, -0.5);
    FillVertical(painter, card, 8, QColor(46, 46, 46, 240), QColor(36, 36, 36, 240), Grey(72));
    const QPointF centre(card.center().x(), 66);
    if (!PlaceSymbol(painter, entry, symbols, 66, Grey(150), centre, error)) {
        return {};
    }
    if (entry.Flag("slash")) {
        const QLineF slash(centre + QPointF(-34, -34), centre + QPointF(34, 34));
        painter.setPen(QPen(Grey(36), 9, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(slash);
        painter.setPen(QPen(QColor(222, 74, 58), 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(slash);
    }
    const QString label = entry.Attribute("label");
    painter.setFont(FittingFont(label, 15, entry.size.width() - 16));
    painter.setPen(skin::kText);
    painter.drawText(QRectF(0, 112, entry.size.width(), 30), Qt::AlignCenter, label);
    return canvas.Finish();
}

// The display's panel with unlit "88.8" segments and the unit; the digits are drawn over it.
QImage DrawSpeedPanel(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    Canvas canvas(entry);
    QPainter& painter = canvas.painter();
    const QRectF panel = canvas.Bounds().adjusted(0.5, 0.5, -0.5, -0.5);
    FillVertical(painter, panel, 5, Grey(30), Grey(12), Grey(80));
    painter.setPen(Grey(0, 140));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(panel.adjusted(1, 1, -1, -1), 4, 4);

    const QColor unlit(48, 40, 30);
    for (const int x : kIntegerDigitX) {
        DrawSegments(painter, QPoint(x, kDigitTop), QLatin1Char('8'), unlit);
    }
    DrawSegments(painter, QPoint(kTenthsX, kDigitTop), QLatin1Char('8'), unlit);
    painter.fillRect(QRect(kPointX + 1, kDigitTop + 14, 2, 2), unlit);

    if (!PlaceSymbol(painter, entry, symbols, 14, Grey(110), QPointF(11, 19), error)) {
        return {};
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Grey(150));
    painter.drawText(QRectF(kTenthsX + 12, kDigitTop, entry.size.width() - kTenthsX - 16, 16),
                     Qt::AlignCenter, QStringLiteral("km/h"));
    return canvas.Finish();
}

// Digits on white, which the display treats as transparent; no smoothing so no pixel is nearly
// white.
QImage DrawDigit(const SkinEntry& entry, const SymbolSource&, QString* error) {
    QImage image(entry.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QString character = entry.Attribute("char");
    const QColor colour = entry.Flag("dim") ? Grey(128) : skin::kSelection;
    if (character == ".") {
        painter.fillRect(QRect(1, 14, 2, 2), colour);
    } else if (character.size() == 1 && character[0].isDigit()) {
        DrawSegments(painter, QPoint(0, 0), character[0], colour);
    } else {
        *error = QStringLiteral("line %1: digit look needs char=0..9 or .").arg(entry.line);
        return {};
    }
    return image;
}
