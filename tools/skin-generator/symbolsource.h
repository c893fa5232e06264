#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// Finds symbols by name, first among the skin's own SVGs, then in an icon theme laid out as
// <context>/<design size>/<name>.svg[z], and renders them in one colour (the shape's coverage
// keeps its alpha, every pixel takes the given colour).
class SymbolSource {
public:
    SymbolSource(QString ownDir, QString themeDir);

    // A px x px image, or a null image with `error` set when the symbol is missing or unreadable.
    QImage Render(const QString& name, int px, const QColor& colour, QString* error) const;

private:
    QString Find(const QString& name, int px) const;

    QString ownDir_;
    QString themeDir_;
};
