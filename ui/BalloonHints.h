#pragma once
// The program's hints appear as balloons: centred text in Times New Roman
// 13 px bold italic, navy on the tooltip background, with a shadow, after the
// mouse has rested for 500 ms.
class QApplication;

namespace qb::ui {

constexpr int HintDelayMs = 500;

// For the whole program; call once, before the windows are made.
void installBalloonHints(QApplication& application);

} // namespace qb::ui
