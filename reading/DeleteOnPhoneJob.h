#pragma once
// Deleting selected messages of a phone folder on the phone itself, one row
// after the other, on the event loop.
#include "archive/ArchiveTypes.h"
#include "codecs/LongMessages.h"
#include "core/Job.h"
#include "reading/PhoneCommands.h"
#include "reading/PhoneFailure.h"
#include "reading/PhoneLine.h"
#include "reading/StandardCommands.h"

#include <optional>
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
        Done, // every row was tried; `deleted` lists those the phone confirmed
        NoPort, // there is no phone: nothing sent, nothing removed ("Утройство занято!")
        Lost,      // the port was lost (`loss`): the rows confirmed before are gone
        Failed,    // a command failed (`failure`): the rows confirmed before are gone
        Cancelled, // stopped on request; the rows confirmed so far are gone all the same
    };
    Kind kind = Kind::Done;
    std::vector<int> deleted; // positions k, in the order the rows were given
    int notDeleted = 0;       // rows the phone refused or never answered; they stay
    LineLoss loss = LineLoss::None;
    std::optional<PhoneFailure> failure; // Failed: what stopped it; Done: the first refusal
};

// Whether the phone's answer to AT+CMGD confirms the deletion: its last
// non-empty line is "OK" (after "ERROR" or "+CMS ERROR: ..." the message is still there).
bool deletionConfirmed(std::string_view reply);

// Re-opens the port, brings the phone in step with a bare AT, sends the
// delete commands for `rows` (list order, top to bottom), then keeps in the
// folder's ReadResult the entries of every row not confirmed deleted. A
// standard phone's message goes from every place its parts take: its storage
// chosen (AT+CPMS), then AT+CMGD for each; a part already gone counts as
// deleted, a refusal keeps the row.
class DeleteOnPhoneJob : public Job {
    Q_OBJECT
  public:
    DeleteOnPhoneJob(AtPort* port, FolderKind folder, std::vector<DeleteRow> rows,
                     ReadResult& result, DialogueLimits limits = {}, QObject* parent = nullptr);

    void start() override;
    // Stops at once, also while an answer is awaited.
    void cancel() override;
    const DeleteOutcome& outcome() const { return m_outcome; }

  private:
    void deleteNextRow();
    void askToDelete();
    void rowAnswered(const Reply& reply);
    void deleteNextPlace();
    void askToDeletePlace();
    void askPhonesStorage();
    void putPhonesStorageBack();
    // Whether the answer to a standard command lets the row go on; a refusal
    // counts the row as not deleted and goes on with the next one.
    bool placeTaken(const Reply& reply, const std::string& command);
    void rowDone();
    void stop(DeleteOutcome::Kind kind);
    void finish(DeleteOutcome::Kind kind);

    QPointer<AtPort> m_port;
    PhoneCommands m_commands;
    StandardCommands m_standard;
    PhoneLine* m_line;
    FolderKind m_folder;
    std::vector<DeleteRow> m_rows;
    ReadResult& m_result;
    std::size_t m_next = 0;                // the row being deleted
    std::vector<StorageLocation> m_places; // of a standard phone's message
    std::size_t m_place = 0;               // the place being deleted
    std::string m_storage;                 // chosen on the phone now; empty when unknown
    // The storage the phone had chosen itself, put back once the deletion ends.
    std::optional<std::string> m_phonesStorage;
    bool m_storageAsked = false;
    bool m_storageChanged = false;
    bool m_counted = false; // the bar counts rows only when more than one is chosen
    bool m_cancelled = false;
    bool m_finished = false;
    DeleteOutcome m_outcome;
};

} // namespace qb
