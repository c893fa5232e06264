#pragma once

#include <QColor>

// The skin's colours, shared by every drawn control and by the standard widgets' palette.
namespace skin {

inline const QColor kBackground{51, 51, 51};   // pane backgrounds, list rows
inline const QColor kPanel{60, 60, 60};        // dialogs, control bars
inline const QColor kRaised{75, 75, 75};       // buttons, alternate rows
inline const QColor kHighlight{80, 80, 80};    // hot buttons, tooltips
inline const QColor kText{200, 200, 200};
inline const QColor kDisabledText{120, 120, 120};
inline const QColor kSelection{255, 165, 0};   // selected rows and items
inline const QColor kSelectionText{20, 20, 20};
inline const QColor kHighlightText{230, 230, 230};
inline const QColor kFrame{98, 86, 78};        // main window edges
inline const QColor kSeriesX{255, 100, 0};     // G-sensor series
inline const QColor kSeriesY{255, 255, 100};
inline const QColor kSeriesZ{0, 255, 64};
inline const QColor kListCurrentRow{49, 106, 197};  // the playing row, over any selection

}  // namespace skin
