#pragma once
// What the message panel says after the archive's commands, in one place.
#include "archive/ArchiveDeletion.h"
#include "archive/P2kToolsImport.h"

#include <QString>

namespace qb {

// Messages imported, then one sentence for each reason lines were left out.
QString importSummaryText(const ImportSummary& summary);
// What became of each folder file in "delete all": in the trash, removed for
// want of one, or left and why; or that there was none.
QString wipeReportText(const WipeReport& report);

} // namespace qb
