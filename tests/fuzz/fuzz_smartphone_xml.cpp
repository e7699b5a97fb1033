// Any bytes as an archive and a phonebook, written as Android's SMS backup:
// the input is cut at NUL bytes into Inbox.msg, Outbox.msg, Draft.msg and
// Phonebook.pbk, as hand edits or a damaged disk may leave them. The XML must
// stay clean UTF-8 and hold as many <sms> elements as it reports, whatever
// the undated messages are made of.
#include "archive/ArchiveFiles.h"
#include "export/smartphone/AndroidSmsXml.h"
#include "fuzz_smartphone_writers.h"

#include <cstdint>
#include <string>
#include <string_view>

using fuzzcheck::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view parts[4];
    for (std::string_view& part : parts) {
        const std::size_t end = input.find('\0');
        part = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    }
    qb::Archive archive;
    archive.inbox = qb::ArchiveFolder::fromContent(qb::FolderKind::Inbox, std::string(parts[0]));
    archive.outbox = qb::ArchiveFolder::fromContent(qb::FolderKind::Outbox, std::string(parts[1]));
    archive.draft = qb::ArchiveFolder::fromContent(qb::FolderKind::Draft, std::string(parts[2]));
    const qb::Phonebook phonebook = qb::parsePhonebook(parts[3]);
    for (const auto undated :
         {qb::UndatedMessages::Estimate, qb::UndatedMessages::Epoch, qb::UndatedMessages::Skip}) {
        qb::AndroidSmsOptions options;
        options.undated = undated;
        options.backupSet = "fuzz";
        options.backupDate = 0;
        const qb::AndroidSmsXml sms = qb::androidSmsXml(archive, phonebook, options);
        fuzzcheck::requireCleanUtf8(sms.xml);
        require(fuzzcheck::occurrences(sms.xml, "<sms ") == static_cast<std::size_t>(sms.messages));
        require(sms.xml.find("<smses count=\"" + std::to_string(sms.messages) + "\"") !=
                std::string::npos);
        const std::size_t records = static_cast<std::size_t>(
            archive.inbox.count() + archive.outbox.count() + archive.draft.count());
        require(static_cast<std::size_t>(sms.messages + sms.skippedUndated + sms.withoutAddress) ==
                records);
    }
    return 0;
}
