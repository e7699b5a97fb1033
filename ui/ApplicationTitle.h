#pragma once
// The program's identity: the title its message boxes carry, and the names
// the desktop and the settings know it by.
#include <QString>

namespace qb::ui {

inline const QString ApplicationTitle = QStringLiteral("Quillbox 1.1");

// Application and organisation name "Quillbox", version "1.1", the desktop
// entry and the window icon. No display name is set: the desktop would add it
// to every window caption.
void applyApplicationIdentity();

} // namespace qb::ui
