#include "ui/PixelFont.h"

#include <QStringList>

namespace qb::ui {

QFont pixelFont(const QString& family, int pixels, bool bold) {
    // Without the Windows faces, the Liberation faces keep the texts at their
    // intended width; DejaVu Sans, the usual stand-in, is much wider.
    const bool serif = family.startsWith(QLatin1String("Times"));
    const bool mono = family.startsWith(QLatin1String("Courier"));
    const QString standIn = serif  ? QStringLiteral("Liberation Serif")
                            : mono ? QStringLiteral("Liberation Mono")
                                   : QStringLiteral("Liberation Sans");
    QFont font(family);
    font.setFamilies({family, standIn});
    font.setStyleHint(serif ? QFont::Serif : mono ? QFont::Monospace : QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace qb::ui
