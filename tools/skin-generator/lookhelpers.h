#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <initializer_list>
#include <utility>

#include "skintable.h"
#include "symbolsource.h"

// Shared drawing steps of the looks.
namespace look {

// Extra colours of the artwork beside the skin's own.
inline const QColor kEdgeDark{28, 28, 28};
inline const QColor kEdgeLight{96, 96, 96};
inline const QColor kSymbolDisabled{92, 92, 92};
inline const QColor kAccentLine{205, 132, 0};
inline const QColor kAccentTop{255, 192, 72};
inline const QColor kAccentBottom{232, 138, 0};
inline const QColor kAccentEdge{120, 70, 0};
inline const QColor kKey{255, 0, 255};  // transparent colour of the keyed volume images

QColor Grey(int level, int alpha = 255);

// A transparent image of the entry's size.
QImage Blank(const SkinEntry& entry);
// An opaque image filled row by row from `top` to `bottom`, then the listed rows overdrawn in
// their colours (a negative row counts from the bottom: -1 is the last).
QImage VerticalBand(const SkinEntry& entry, const QColor& top, const QColor& bottom,
                    std::initializer_list<std::pair<int, QColor>> rows = {});

// A transparent image of the entry's size with a smoothing painter on it.
class Canvas {
public:
    explicit Canvas(const SkinEntry& entry);
    QPainter& painter() { return painter_; }
    QRectF Bounds() const { return QRectF(image_.rect()); }
    // Ends the painting and hands out the image.
    QImage Finish();

private:
    QImage image_;
    QPainter painter_;
};
void SetRow(QImage& image, int row, const QColor& colour);
void SetColumn(QImage& image, int column, const QColor& colour);

void FillVertical(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top,
                  const QColor& bottom, const QColor& edge);

// Renders the entry's symbol at `px` in `colour` centred on `centre`; false when it is missing.
bool PlaceSymbol(QPainter& painter, const SkinEntry& entry, const SymbolSource& symbols, int px,
                 const QColor& colour, QPointF centre, QString* error);

// A bold sans font whose rendering of `text` fits `maxWidth`, from `pixelSize` down.
QFont FittingFont(const QString& text, int pixelSize, int maxWidth, bool bold = true);

// Seven-segment digit, 10 x 16, without smoothing so that key colours stay exact.
void DrawSegments(QPainter& painter, QPoint origin, QChar digit, const QColor& colour);

// The state attribute, checked against the allowed names.
bool StateOf(const SkinEntry& entry, std::initializer_list<const char*> allowed, QString* state,
             QString* error);

}  // namespace look
