#pragma once
// What the message panel says after the archive's commands, in one place.
#include "archive/P2kToolsImport.h"

#include <QString>

namespace qb {

// Messages imported, then one sentence for each reason lines were left out.
QString importSummaryText(const ImportSummary& summary);

} // namespace qb
