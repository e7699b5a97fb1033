#pragma once
// Fonts sized in pixels, with a metric-compatible stand-in for the Windows
// faces the window was laid out with.
#include <QFont>
#include <QString>

namespace qb::ui {

QFont pixelFont(const QString& family, int pixels, bool bold = false);

} // namespace qb::ui
