#pragma once
// The phone read: lists every message on the phone, sorts them into the three
// folders, fetches each received message's time, captures the phonebook and
// merges what is new into the archive files.
#include "archive/ArchiveTypes.h"
#include "core/Failure.h"
#include "core/LineList.h"
#include "core/Progress.h"
#include "codecs/FieldBounds.h"
#include "reading/PhoneLine.h"

#include <QString>

namespace qb {

// The program state the read works on, and the port it reads from.
struct ReadContext {
    PortSource port;
    Progress& progress;
    ReadResult& result;
    Phonebook& phonebook;
    QString workDir;
};

struct ReadOutcome {
    enum class Kind {
        Finished,      // read, phonebook written, archive merged
        NothingListed, // the phone listed no message: nothing changed
        PortVanished,  // the phone went away: no result, no file changed
        PortBusy,      // another program took the port at the re-open: the same
        PortRefused,   // the re-open was not permitted: the same
        PhoneStalled,  // the phone stopped taking commands: the same
        Failed,        // stopped with `failure`; the ReadResult holds this read
    };
    Kind kind = Kind::Finished;
    MaybeFailure failure;
};

// The whole read. The window's ReadResult changes only when the read gets past
// the listing and the phone stays plugged in; the phonebook and the archive
// files change only when every command was answered.
ReadOutcome readPhone(ReadContext& context);

} // namespace qb
