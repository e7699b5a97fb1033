#include "core/Version.h"

namespace qb {

QString programVersion() {
    // Defined for this file alone, so a new version rebuilds nothing else.
    return QStringLiteral(QUILLBOX_VERSION);
}

} // namespace qb
