#pragma once
// Realistic archives for benchmarks: Russian and Latin message texts in
// Windows-1251, listing headers as the phone sends them, a phonebook that knows
// most correspondents under one spelling or another. Deterministic per seed.
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"

#include <QString>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace qb::bench {

struct GeneratorOptions {
    std::uint32_t seed = 1;
    int correspondents = 500;    // distinct numbers messages go to and come from
    int phonebookEntries = 5000; // the phonebook's size
};

class ArchiveGenerator {
  public:
    explicit ArchiveGenerator(GeneratorOptions options = {});

    const std::vector<std::string>& correspondents() const { return m_correspondents; }
    // `count` messages of a folder as a phone read stores them, with storage
    // indexes firstIndex, firstIndex + 1, ...
    std::vector<Message> messages(FolderKind kind, int count, int firstIndex = 1);
    // The phonebook; most correspondents appear in it,
    // under "+7...", "8..." or the bare ten digits.
    Phonebook phonebook();
    // A correspondent's number as it appears in message headers, or now and then
    // a number no phonebook entry knows.
    std::string someNumber();

  private:
    std::string text();
    MessageTime time();
    int uniform(int low, int high); // both ends included

    GeneratorOptions m_options;
    std::mt19937 m_rng;
    std::vector<std::string> m_russianWords;
    std::vector<std::string> m_latinWords;
    std::vector<std::string> m_names;
    std::vector<std::string> m_correspondents;
};

// The bytes of a folder file holding `messages` in order.
std::string folderContent(FolderKind kind, const std::vector<Message>& messages);

// Inbox.msg, Outbox.msg, Draft.msg and Phonebook.pbk written into `dir`.
struct GeneratedArchive {
    std::vector<Message> inbox;
    std::vector<Message> outbox;
    std::vector<Message> draft;
    Phonebook phonebook;
};
GeneratedArchive writeArchive(const QString& dir, int inbox, int outbox, int draft,
                              GeneratorOptions options = {});

// A phone read of `count` messages of `kind` (the other folders empty): the
// first round(count * archivedShare) are the last messages of `archived`, the
// rest are new ones with indexes after them.
ReadResult readResultWithArchived(ArchiveGenerator& generator, FolderKind kind,
                                  const std::vector<Message>& archived, int count,
                                  double archivedShare);

} // namespace qb::bench
