#include "skinlooks.h"

#include <QMap>

QImage RenderLook(const SkinEntry& entry, const SymbolSource& symbols, QString* error) {
    static const QMap<QString, LookFunction> kLooks = {
        {"appicon", DrawAppIcon},
        {"toolbar", DrawToolbarButton},
        {"transport", DrawTransportButton},
        {"tab", DrawTabButton},
        {"roundbutton", DrawRoundButton},
        {"mapbutton", DrawMapButton},
        {"windowbutton", DrawWindowButton},
        {"titlebar", DrawTitleBar},
        {"controlbar", DrawControlBar},
        {"captionstrip", DrawCaptionStrip},
        {"aboutstrip", DrawAboutStrip},
        {"logo", DrawLogo},
        {"placeholder", DrawPlaceholder},
        {"indicator", DrawIndicator},
        {"speedpanel", DrawSpeedPanel},
        {"digit", DrawDigit},
        {"sliderchannel", DrawSliderChannel},
        {"sliderthumb", DrawSliderThumb},
        {"sliderfill", DrawSliderFill},
        {"volumechannel", DrawVolumeChannel},
        {"volumethumb", DrawVolumeThumb},
        {"header", DrawHeaderPiece},
        {"scrollpiece", DrawScrollPiece},
    };
    const LookFunction draw = kLooks.value(entry.look, nullptr);
    if (draw == nullptr) {
        *error = QStringLiteral("line %1: unknown look %2").arg(entry.line).arg(entry.look);
        return {};
    }
    QImage image = draw(entry, symbols, error);
    if (!image.isNull() && image.size() != entry.size) {
        *error = QStringLiteral("line %1: look %2 drew %3x%4 instead of %5x%6")
                     .arg(entry.line)
                     .arg(entry.look)
                     .arg(image.width())
                     .arg(image.height())
                     .arg(entry.size.width())
                     .arg(entry.size.height());
        return {};
    }
    return image;
}
