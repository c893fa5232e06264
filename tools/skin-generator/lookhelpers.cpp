#include "lookhelpers.h"

#include <QFontMetrics>
#include <QLinearGradient>

#include <array>

namespace look {

QColor Grey(int level, int alpha) {
    return QColor(level, level, level, alpha);
}

QImage Blank(const SkinEntry& entry) {
    QImage image(entry.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

Canvas::Canvas(const SkinEntry& entry) : image_(Blank(entry)), painter_(&image_) {
    painter_.setRenderHint(QPainter::Antialiasing);
}

QImage Canvas::Finish() {
    painter_.end();
    return image_;
}

QImage VerticalBand(const SkinEntry& entry, const QColor& top, const QColor& bottom,
                    std::initializer_list<std::pair<int, QColor>> edgeRows) {
    QImage image(entry.size, QImage::Format_ARGB32);
    const int rows = image.height();
    for (int y = 0; y < rows; ++y) {
        const qreal t = rows > 1 ? qreal(y) / (rows - 1) : 0.0;
        const QColor colour = QColor::fromRgbF(top.redF() + (bottom.redF() - top.redF()) * t,
                                               top.greenF() + (bottom.greenF() - top.greenF()) * t,
                                               top.blueF() + (bottom.blueF() - top.blueF()) * t);
        SetRow(image, y, colour);
    }
    for (const auto& [row, colour] : edgeRows) {
        SetRow(image, row < 0 ? image.height() + row : row, colour);
    }
    return image;
}

void SetRow(QImage& image, int row, const QColor& colour) {
    for (int x = 0; x < image.width(); ++x) {
        image.setPixelColor(x, row, colour);
    }
}

void SetColumn(QImage& image, int column, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y) {
        image.setPixelColor(column, y, colour);
    }
}

void FillVertical(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top,
                  const QColor& bottom, const QColor& edge) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setPen(edge.isValid() ? QPen(edge, 1) : QPen(Qt::NoPen));
    painter.setBrush(gradient);
    if (radius > 0) {
        painter.drawRoundedRect(rect, radius, radius);
    } else {
        painter.drawRect(rect);
    }
}

bool PlaceSymbol(QPainter& painter, const SkinEntry& entry, const SymbolSource& symbols, int px,
                 const QColor& colour, QPointF centre, QString* error) {
    const QImage symbol = symbols.Render(entry.Attribute("symbol"), px, colour, error);
    if (symbol.isNull()) {
        return false;
    }
    painter.drawImage(QPointF(qRound(centre.x() - px / 2.0), qRound(centre.y() - px / 2.0)),
                      symbol);
    return true;
}

QFont FittingFont(const QString& text, int pixelSize, int maxWidth, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(bold);
    for (int size = pixelSize; size > 6; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= maxWidth) {
            break;
        }
    }
    return font;
}

void DrawSegments(QPainter& painter, QPoint origin, QChar digit, const QColor& colour) {
    // Segments a..g as rectangles in a 10 x 16 cell, strokes 2 pixels thick.
    static const std::array<QRect, 7> kSegments = {
        QRect(2, 0, 6, 2), QRect(8, 2, 2, 5), QRect(8, 9, 2, 5), QRect(2, 14, 6, 2),
        QRect(0, 9, 2, 5), QRect(0, 2, 2, 5), QRect(2, 7, 6, 2),
    };
    static const std::array<const char*, 10> kLit = {
        "abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    if (!digit.isDigit()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const char* s = kLit[static_cast<std::size_t>(digit.digitValue())]; *s != '\0'; ++s) {
        painter.fillRect(kSegments[static_cast<std::size_t>(*s - 'a')].translated(origin), colour);
    }
    painter.restore();
}

bool StateOf(const SkinEntry& entry, std::initializer_list<const char*> allowed, QString* state,
             QString* error) {
    *state = entry.Attribute("state", "normal");
    for (const char* name : allowed) {
        if (*state == QLatin1String(name)) {
            return true;
        }
    }
    *error = QStringLiteral("line %1: state %2 is not known to look %3")
                 .arg(entry.line)
                 .arg(*state, entry.look);
    return false;
}

}  // namespace look
