#pragma once
// Deleting selected messages of a phone folder on the phone itself.
#include "archive/ArchiveTypes.h"
#include "core/Progress.h"
#include "reading/PhoneLine.h"

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// One selected list row: the ReadResult position it shows and its "Индекс" cell.
struct DeleteRow {
    int k = 0;
    std::string indexCell;
};

struct DeleteOutcome {
    enum class Kind {
        Done,   // every row was tried; `deleted` lists those the phone confirmed
        NoPort, // the phone is gone: nothing sent, nothing removed ("Утройство занято!")
    };
    Kind kind = Kind::Done;
    std::vector<int> deleted; // positions k, in the order the rows were given
    int notDeleted = 0;       // rows the phone refused or never answered; they stay
};

// Whether the phone's answer to AT+CMGD confirms the deletion: its last
// non-empty line is "OK" (after "ERROR" or "+CMS ERROR: ..." the message is still there).
bool deletionConfirmed(std::string_view reply);

// Sends the delete commands for `rows` (list order, top to bottom), then keeps
// in the folder's ReadResult the entries of every row not confirmed deleted.
DeleteOutcome deleteOnPhone(const PortSource& port, Progress& progress, FolderKind folder,
                            const std::vector<DeleteRow>& rows, ReadResult& result);

} // namespace qb
