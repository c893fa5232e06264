#include "symbolsource.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<const char*, 7> kContexts = {"actions", "devices", "status",     "places",
                                                  "apps",    "emblems", "preferences"};
constexpr std::array<int, 5> kDesignSizes = {16, 22, 32, 48, 64};

// Design sizes to try for a target size: the ones that divide it (drawn on their own pixel grid),
// largest first, then the others from the nearest larger one down.
std::vector<int> SizesFor(int px) {
    std::vector<int> sizes;
    for (auto it = kDesignSizes.rbegin(); it != kDesignSizes.rend(); ++it) {
        if (px % *it == 0) {
            sizes.push_back(*it);
        }
    }
    std::vector<int> rest(kDesignSizes.begin(), kDesignSizes.end());
    std::sort(rest.begin(), rest.end(), [px](int a, int b) {
        const bool aLarger = a >= px;
        const bool bLarger = b >= px;
        if (aLarger != bLarger) {
            return aLarger;
        }
        return aLarger ? a < b : a > b;
    });
    for (const int size : rest) {
        if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) {
            sizes.push_back(size);
        }
    }
    return sizes;
}

}  // namespace

SymbolSource::SymbolSource(QString ownDir, QString themeDir)
    : ownDir_(std::move(ownDir)), themeDir_(std::move(themeDir)) {}

QString SymbolSource::Find(const QString& name, int px) const {
    const QString own = ownDir_ + "/" + name + ".svg";
    if (QFileInfo::exists(own)) {
        return own;
    }
    for (const int size : SizesFor(px)) {
        for (const char* context : kContexts) {
            for (const char* suffix : {".svg", ".svgz"}) {
                const QString path =
                    QStringLiteral("%1/%2/%3/%4%5")
                        .arg(themeDir_, context, QString::number(size), name, suffix);
                // exists() follows the theme's symbolic links and rejects dangling ones.
                if (QFileInfo::exists(path)) {
                    return path;
                }
            }
        }
    }
    return {};
}

QImage SymbolSource::Render(const QString& name, int px, const QColor& colour,
                            QString* error) const {
    const QString path = Find(name, px);
    if (path.isEmpty()) {
        *error = "symbol " + name + " not found in " + ownDir_ + " or " + themeDir_;
        return {};
    }
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        *error = "cannot read " + path;
        return {};
    }
    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, px, px));
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    return image;
}
