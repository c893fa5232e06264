#include "widgets/cskinlistctrl.h"

#include "widgets/cskinheaderctrl.h"
#include "widgets/cskinverticlescrollbar.h"
#include "widgets/skincolors.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kTextPadding = 3;

// Paints whole cells in the list's colours, so the style adds no highlight or focus frame.
class SkinRowDelegate : public QStyledItemDelegate {
public:
    explicit SkinRowDelegate(CSkinListCtrl* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const CSkinListCtrl::RowColours colours = list_->ColoursFor(index.row(), selected);
        painter->fillRect(option.rect, colours.background);
        const QRect textRect = option.rect.adjusted(kTextPadding, 0, -kTextPadding, 0);
        const QString text = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                           Qt::ElideRight, textRect.width());
        painter->setPen(colours.text);
        painter->setFont(option.font);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }

private:
    CSkinListCtrl* list_;
};

}  // namespace

CSkinListCtrl::CSkinListCtrl(QWidget* parent)
    : QTableWidget(parent), header_(new CSkinHeaderCtrl(this)) {
    setHorizontalHeader(header_);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setItemDelegate(new SkinRowDelegate(this));
    // Compact rows: the pane's narrow date and time columns must fit their texts.
    QFont rows(QStringLiteral("DejaVu Sans Condensed"));
    rows.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("NanumGothic"),
                      QStringLiteral("Sans Serif")});
    rows.setPixelSize(11);
    setFont(rows);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, skin::kBackground);
    colours.setColor(QPalette::Window, skin::kBackground);
    colours.setColor(QPalette::Text, skin::kText);
    setPalette(colours);
    viewport()->setAutoFillBackground(true);
}

void CSkinListCtrl::Init() {
    if (scrollBar_ != nullptr || parentWidget() == nullptr) {
        return;
    }
    scrollBar_ = new CSkinVerticleScrollbar(parentWidget());
    scrollBar_->SetList(this);
    PlaceScrollBar();
    scrollBar_->show();
    scrollBar_->raise();
}

void CSkinListCtrl::SetCurrentNumber(int number) {
    if (currentNumber_ != number) {
        currentNumber_ = number;
        viewport()->update();
    }
}

CSkinListCtrl::RowColours CSkinListCtrl::ColoursFor(int row, bool selected) const {
    const QTableWidgetItem* first = item(row, 0);
    bool isNumber = false;
    const int number = first != nullptr ? first->text().toInt(&isNumber) : 0;
    if (isNumber && number == currentNumber_) {
        return {skin::kText, skin::kListCurrentRow};
    }
    if (selected) {
        return {skin::kSelectionText, skin::kSelection};
    }
    return {skin::kText, row % 2 == 1 ? skin::kPanel : skin::kHighlight};
}

void CSkinListCtrl::PlaceScrollBar() {
    if (scrollBar_ == nullptr) {
        return;
    }
    const QRect list = geometry();
    // x = right - 22 with the right edge exclusive, down to two pixels below the list.
    scrollBar_->setGeometry(list.x() + list.width() - 22, list.y(), kScrollBarWidth,
                            list.height() + 2);
}

void CSkinListCtrl::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    PlaceScrollBar();
}

void CSkinListCtrl::moveEvent(QMoveEvent* event) {
    QTableWidget::moveEvent(event);
    PlaceScrollBar();
}
