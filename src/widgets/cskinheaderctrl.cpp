#include "widgets/cskinheaderctrl.h"

#include "app/resourcemanager.h"
#include "widgets/skincolors.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QPixmap Library(int number) {
    return QPixmap::fromImage(ResourceManager::Instance().LoadBitmap(number));
}

// The header's small face; the design's bitmap font where it exists, else a condensed sans.
QFont CaptionFont() {
    QFont font(QStringLiteral("Sevenet 7"));
    font.setFamilies({QStringLiteral("Sevenet 7"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("NanumGothic"), QStringLiteral("Sans Serif")});
    font.setPixelSize(11);
    return font;
}

}  // namespace

CSkinHeaderCtrl::CSkinHeaderCtrl(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent),
      rightEdge_(Library(kRightEdgeBitmap)),
      background_(Library(kBackgroundBitmap)),
      leftEdge_(Library(kLeftEdgeBitmap)) {
    setFont(CaptionFont());
    setDefaultAlignment(Qt::AlignCenter);
    setFixedHeight(kHeight);
}

QSize CSkinHeaderCtrl::sizeHint() const {
    return QSize(QHeaderView::sizeHint().width(), kHeight);
}

void CSkinHeaderCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), skin::kBackground);
    painter.drawPixmap(QRect(0, 0, viewport()->width(), kHeight), background_);
    painter.setFont(font());
    painter.setPen(skin::kText);
    const QFontMetrics metrics(font());
    bool first = true;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical)) {
            continue;
        }
        const QRect column(sectionViewportPosition(logical), 0, sectionSize(logical), kHeight);
        if (first) {
            painter.drawPixmap(QRect(column.left(), 0, 2, kHeight), leftEdge_);
            first = false;
        } else {
            painter.drawPixmap(QRect(column.left() + 2, 0, 1, kHeight), background_);
        }
        painter.drawPixmap(QRect(column.right() - 1, 0, 2, kHeight), rightEdge_);
        const QRect captionRect = column.adjusted(2, 2, -2, -2);
        const QString caption =
            model() != nullptr
                ? model()->headerData(logical, orientation(), Qt::DisplayRole).toString()
                : QString();
        painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine,
                         metrics.elidedText(caption, Qt::ElideRight, captionRect.width()));
    }
}
