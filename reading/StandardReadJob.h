#pragma once
// The read of a phone that speaks the standard commands (3GPP TS 27.005 and
// 27.007) in PDU mode: every message storage, its PDUs decoded and long
// messages joined, then the phonebooks; what is new goes into the archive
// files as the Motorola read's does. Each step sends one command and names
// the step that takes its reply, on the event loop; the bar moves with every
// reply.
#include "codecs/LongMessages.h"
#include "core/JobWorker.h"
#include "reading/PduListing.h"
#include "reading/PhoneLine.h"
#include "reading/ReadJob.h"
#include "reading/StandardCommands.h"
#include "reading/StandardPhonebook.h"
#include "reading/StorageReplies.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qb {

class PhoneReadJob;

// The messages of a standard phone's storages as the archive keeps them:
// received ones in Inbox, sent ones in Outbox, unsent ones in Draft, each
// with every place its parts take on the phone.
ReadResult archivedMessages(const std::vector<JoinedMessage>& messages);

// The phonebook as the archive keeps it; none when the phone listed no entry.
std::optional<Phonebook> archivedPhonebook(const std::vector<PhonebookContact>& contacts);

// A read with the standard dialogue. Where the context names no dialogue (a
// port chosen by path, without a USB vendor), the phone's answer to AT+CGMI
// decides, and a Motorola phone is read by the Motorola read instead.
class StandardReadJob : public ReadJob {
    Q_OBJECT
  public:
    explicit StandardReadJob(ReadContext context, QObject* parent = nullptr);

    void start() override;
    // Stops at once, also while a reply is awaited; nothing is written.
    void cancel() override;

  private:
    using Step = void (StandardReadJob::*)(const Reply& reply);
    void ask(const AtCommand& command, Step next);
    void replied();
    void expect(int replies);

    void askEchoOn(const Reply&);
    void askNumericErrors(const Reply&);
    void askWhoMadeIt(const Reply&);
    void takeManufacturer(const Reply& reply);
    void takeIdentification(const Reply& reply);
    void readAsMotorola();
    void askPduMode(const Reply&);
    void askStorages(const Reply&);
    void takeOfferedStorages(const Reply& reply);
    void takeSelectedStorages(const Reply& reply);
    void readNextStorage();
    void takeStorageChosen(const Reply& reply);
    void takeListing(const Reply& reply);
    void checkLastLocation(const Reply& reply);
    void readByLocation();
    void readNextLocation();
    void takeLocation(const Reply& reply);
    void storageDone();
    void decodeListed(const std::vector<ListedPdu>& listed);
    void putStorageBack();
    void joinMessages(const Reply&);

    void askCharsets();
    void takeCharsets(const Reply& reply);
    void takeUcs2Chosen(const Reply& reply);
    void takeOwnCharset(const Reply& reply);
    void askPhonebooks();
    void takePhonebooks(const Reply& reply);
    void readNextPhonebook();
    void takePhonebookChosen(const Reply& reply);
    void takePhonebookRange(const Reply& reply);
    void readNextChunk();
    void takeContacts(const Reply& reply);
    void phonebookDone();
    void storeEverything();
    void stored();

    // Weighs an error the command takes as an answer: true when the step may
    // go on past it (the storage or phonebook is skipped), false when the read
    // has ended on it.
    bool skipsPast(const FinalCode& code, ErrorMeaning meaning, const std::string& place);
    void refuseReply(const ReplyError& error);
    void lineLost(LineLoss loss);
    void lineFailed(const PhoneFailure& failure);
    void finish(ReadOutcome outcome);

    ReadContext m_context;
    StandardCommands m_commands;
    PhoneLine* m_line;
    std::string m_asked; // the command awaiting its reply, as sent

    std::vector<std::string> m_storages;
    std::size_t m_storage = 0;             // the storage being read
    bool m_chooseStorages = true;          // false: the phone offers none, its own is listed
    std::optional<std::string> m_selected; // the phone's own storage, put back afterwards
    std::optional<StorageUse> m_use;       // of the storage being read
    PduListing m_listing;                  // of the storage being read
    int m_location = 0;                    // read location by location
    std::vector<ListedPdu> m_located;
    std::vector<StoredPdu> m_parts;
    bool m_anyListed = false;

    PhoneCharset m_charset = PhoneCharset::Ucs2;
    std::vector<std::string> m_phonebooks;
    std::size_t m_phonebook = 0;
    std::vector<std::pair<int, int>> m_chunks;
    std::size_t m_chunk = 0;
    std::vector<PhonebookContact> m_contacts;

    ReadResult m_read;
    std::optional<Phonebook> m_listed;
    LeftOut m_leftOut;
    int m_replies = 0;
    bool m_cancelled = false;
    bool m_finished = false;
    bool m_readShown = false;
    bool m_storing = false;
    MaybeFailure m_storeFailure;
    AppendedCounts m_appended{};
    PhoneReadJob* m_motorola = nullptr; // reads a Motorola phone found by AT+CGMI
    JobWorker m_files{*this};           // last: destroyed first, waiting for the files
};

} // namespace qb
