#pragma once

#include <QImage>
#include <QString>

#include "skintable.h"
#include "symbolsource.h"

// Draws one library image in its look. A null image with `error` set when the look or an
// attribute is unknown or a symbol is missing.
QImage RenderLook(const SkinEntry& entry, const SymbolSource& symbols, QString* error);

// The families of looks, one function per look name of the table.
using LookFunction = QImage (*)(const SkinEntry&, const SymbolSource&, QString*);

QImage DrawAppIcon(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawToolbarButton(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawTransportButton(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawTabButton(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawRoundButton(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawMapButton(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawWindowButton(const SkinEntry&, const SymbolSource&, QString*);

QImage DrawTitleBar(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawControlBar(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawCaptionStrip(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawAboutStrip(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawLogo(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawPlaceholder(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawIndicator(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawSpeedPanel(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawDigit(const SkinEntry&, const SymbolSource&, QString*);

QImage DrawSliderChannel(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawSliderThumb(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawSliderFill(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawVolumeChannel(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawVolumeThumb(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawHeaderPiece(const SkinEntry&, const SymbolSource&, QString*);
QImage DrawScrollPiece(const SkinEntry&, const SymbolSource&, QString*);
