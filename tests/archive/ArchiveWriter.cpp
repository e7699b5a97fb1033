// A second copy of Quillbox's archive side, for the tests of one writer at a
// time: it changes the archive in the folder it is given as the window would.
//   archive_writer hold DIR     takes the lock, reads Inbox.msg, says "held",
//                               and on a line from stdin writes back what it read
//                               with one record more, then lets the lock go
//   archive_writer write DIR TAG N   N imports of one message "TAG-i" and N
//                               reads of one sent message "TAG-i", taking turns
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveLock.h"
#include "archive/P2kToolsImport.h"
#include "archive/RecordLines.h"
#include "core/FileStore.h"

#include <QString>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

int hold(const QString& dir) {
    const qb::ArchiveLock lock(dir);
    if (!lock.mayWrite())
        return 1;
    const QString inbox = qb::joinPath(dir, QStringLiteral("Inbox.msg"));
    const std::string before = qb::readWholeFile(inbox).bytes;
    std::cout << "held" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    const std::string added =
        "held\r\n7\r\n+MMGL: 7, \"REC READ\", \"+7\"\r\n01/01/2005,10:00:00\r\n";
    return qb::writeWholeFile(inbox, before + added) ? 1 : 0;
}

int write(const QString& dir, const std::string& tag, int count) {
    qb::NullProgress progress;
    const QString source = qb::joinPath(dir, QString::fromStdString(tag) + ".txt");
    for (int i = 0; i < count; ++i) {
        const std::string text = tag + "-" + std::to_string(i);
        if (qb::writeWholeFile(source, "+7001;2005/1/2,3:04:05;" + text + "\r\n") ||
            qb::importP2kToolsArchive(dir, source, progress))
            return 1;
        qb::ReadResult read;
        read.outbox.push_back(qb::record::listed(qb::FolderKind::Outbox, qb::MessageStatus::Sent,
                                                 "+MMGL: 9, \"STO SENT\", \"+7001\"", " 9", text));
        if (qb::storePhoneRead(dir, read, std::nullopt, {}))
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode == "hold")
        return hold(dir);
    if (mode == "write" && argc == 5)
        return write(dir, argv[3], std::stoi(argv[4]));
    std::fprintf(stderr, "usage: archive_writer hold DIR | write DIR TAG N\n");
    return 2;
}
