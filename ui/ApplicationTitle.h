#pragma once
// The program's identity: the title its message boxes carry, and the names
// the desktop and the settings know it by.
#include "core/Version.h"

#include <QString>

namespace qb::ui {

inline const QString ApplicationTitle = QStringLiteral("Quillbox ") + programVersion();

// Application and organisation name "Quillbox", the program's version, the desktop
// entry and the window icon. No display name is set: the desktop would add it
// to every window caption.
void applyApplicationIdentity();

} // namespace qb::ui
