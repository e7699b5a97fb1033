#pragma once
// The program's version, as the top CMakeLists.txt's project() call gives it,
// so the titles, the about box and the command line cannot disagree.
#include <QString>

namespace qb {

QString programVersion();

} // namespace qb
