#pragma once
// The desktop's trash, as the freedesktop.org Trash standard (1.0) has
// it, so that a file manager can restore what Quillbox moves there. Done here
// rather than through Qt, whose moveToTrash (6.4) makes "files" and "info" in
// the working directory when ~/.local/share is missing, or through GIO, which
// holds the home folder it found for the whole run and speaks its own
// language in its errors: every outcome here is one the caller can put into
// its own words, file by file.
//
// A file on the drive of the home trash ($XDG_DATA_HOME/Trash, by default
// ~/.local/share/Trash) goes there; one on another drive goes to that drive's
// own trash ($topdir/.Trash/$uid when $topdir/.Trash is a sticky directory,
// else $topdir/.Trash-$uid). Missing trash directories are made, mode 0700.
// Nothing is ever made beside the file itself.
#include <QString>

namespace qb {

struct TrashOutcome {
    enum class Kind {
        Trashed, // moved to a trash, with its .trashinfo
        NoTrash, // no trash could take it: the file is where it was
        Refused, // the system refused to move it (error says why): it is where it was
    };
    Kind kind = Kind::Trashed;
    int error = 0; // errno for NoTrash and Refused
};

// Moves the file, directory or link at `path` (the link itself) to the trash.
TrashOutcome moveToTrash(const QString& path);

} // namespace qb
