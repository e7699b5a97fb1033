#pragma once
// How a phone read ended, for those who tell it apart from the window's
// message boxes: the notification of a read started when the phone was
// plugged in, and the command line. The texts are the window's own.
#include "archive/ArchiveFiles.h"
#include "reading/ReadJob.h"

#include <QMetaType>
#include <QString>

namespace qb {

// Who asked for a read, and so who hears how it ended.
enum class ReadStart {
    ByUser,    // the read button: the message boxes, as always
    Unattended // plugged in, or the command line: the report alone
};

// Messages per folder, by FolderKind.
using FolderCounts = AppendedCounts;

struct ReadReport {
    enum class End {
        Read,          // read and merged
        NothingListed, // the phone holds no messages
        Cancelled,     // stopped before anything was written
        Failed,        // the phone or a file failed: `failure` says why
    };
    End end = End::Read;
    ReadStart start = ReadStart::ByUser;
    FolderCounts read{};  // the messages the phone listed
    FolderCounts added{}; // of them, those new to the archive
    int contacts = 0;     // the phonebook entries the phone listed
    LeftOut leftOut{};    // what a standard phone's read did not archive, and why
    QString failure;

    int addedTotal() const { return added[0] + added[1] + added[2]; }
};

// "Считано с телефона: …" and "Новых в архиве: …", one line each.
QString readCountsText(const ReadReport& report);
QString addedCountsText(const ReadReport& report);

// What the read left out, one line per kind: status reports, messages with
// parts missing, messages that could not be decoded (each by its place and
// why), storages the phone would not give. Empty when nothing was left out.
QString leftOutText(const LeftOut& leftOut);

// What the notification area says about a read that ended.
struct ReadNotice {
    QString title;
    QString text;
    bool failed = false;
};
ReadNotice readNotice(const ReadReport& report);

} // namespace qb

Q_DECLARE_METATYPE(qb::ReadReport)
Q_DECLARE_METATYPE(qb::ReadNotice)
