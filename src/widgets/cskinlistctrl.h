#pragma once

#include <QColor>
#include <QTableWidget>

class CSkinHeaderCtrl;
class CSkinVerticleScrollbar;

// The dark report list: rows alternate between two greys, a selected row is orange, and the row
// whose first column holds `currentNumber` (the recording playing) is blue over anything else.
// Its header is a CSkinHeaderCtrl; Init() adds a CSkinVerticleScrollbar beside it in the parent.
class CSkinListCtrl : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int kScrollBarWidth = 20;
    static constexpr int kRowHeight = 18;

    struct RowColours {
        QColor text;
        QColor background;
    };

    explicit CSkinListCtrl(QWidget* parent = nullptr);

    // Creates the skinned scroll bar as a sibling, at the list's right edge. Needs a parent.
    void Init();

    void SetCurrentNumber(int number);
    int currentNumber() const { return currentNumber_; }

    // Colours the row is drawn in.
    RowColours ColoursFor(int row, bool selected) const;

    CSkinHeaderCtrl* skinHeader() const { return header_; }
    CSkinVerticleScrollbar* skinScrollBar() const { return scrollBar_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void PlaceScrollBar();

    int currentNumber_ = -1;
    CSkinHeaderCtrl* header_;                      // owned by the list
    CSkinVerticleScrollbar* scrollBar_ = nullptr;  // owned by the list's parent
};
