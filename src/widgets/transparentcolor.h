#pragma once

#include <QColor>
#include <QImage>

// Skin bitmaps mark their see-through pixels with one colour (a key colour) instead of alpha.
// These helpers turn such a bitmap into one with real transparency, the mask built once.

// A copy of `image` whose pixels of colour `key` (alpha ignored) are fully transparent. An
// invalid key leaves the image as it is.
QImage WithTransparentColor(const QImage& image, const QColor& key);

// The key colour by convention of the sliders: the colour of the top-left pixel.
QColor TopLeftColour(const QImage& image);
