#include "widgets/darkstyle.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

#include "widgets/skincolors.h"

void ApplyDarkStyle(QApplication& application) {
    application.setStyle(QStyleFactory::create("Fusion"));

    QPalette palette;
    palette.setColor(QPalette::Window, skin::kPanel);
    palette.setColor(QPalette::WindowText, skin::kText);
    palette.setColor(QPalette::Base, skin::kBackground);
    palette.setColor(QPalette::AlternateBase, skin::kRaised);
    palette.setColor(QPalette::Text, skin::kText);
    palette.setColor(QPalette::Button, skin::kRaised);
    palette.setColor(QPalette::ButtonText, skin::kText);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, skin::kHighlight);
    palette.setColor(QPalette::ToolTipText, skin::kHighlightText);
    palette.setColor(QPalette::Highlight, skin::kSelection);
    palette.setColor(QPalette::HighlightedText, skin::kSelectionText);
    palette.setColor(QPalette::Link, skin::kSelection);
    palette.setColor(QPalette::PlaceholderText, skin::kDisabledText);
    palette.setColor(QPalette::Disabled, QPalette::Text, skin::kDisabledText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, skin::kDisabledText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, skin::kDisabledText);
    application.setPalette(palette);

    // NanumGothic first so that Korean texts never fall back to boxes.
    QFont font("NanumGothic", 9);
    font.setFamilies({"NanumGothic", "DejaVu Sans", "sans-serif"});
    application.setFont(font);
}
