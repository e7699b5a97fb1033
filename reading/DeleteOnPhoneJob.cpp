#include "reading/DeleteOnPhoneJob.h"

#include "archive/RecordLines.h"
#include "core/LineList.h"
#include "reading/StorageReplies.h"

#include <QTimer>
#include <algorithm>
#include <set>

namespace qb {
namespace {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The messages not deleted stay, in their order; `deletedRows` holds positions from 1.
void keepUndeleted(ReadFolder& folder, const std::vector<int>& deletedRows) {
    const std::set<int> deleted(deletedRows.begin(), deletedRows.end());
    ReadFolder kept;
    kept.reserve(folder.size());
    for (std::size_t k = 1; k <= folder.size(); ++k) {
        if (!deleted.contains(static_cast<int>(k)))
            kept.push_back(std::move(folder[k - 1]));
    }
    folder = std::move(kept);
}

} // namespace

bool deletionConfirmed(std::string_view reply) {
    LineList lines;
    lines.add(reply);
    for (int i = lines.count() - 1; i >= 0; --i) {
        const std::string_view line = trimmed(lines.lineView(i));
        if (!line.empty())
            return line == "OK";
    }
    return false;
}

DeleteOnPhoneJob::DeleteOnPhoneJob(AtPort* port, FolderKind folder, std::vector<DeleteRow> rows,
                                   ReadResult& result, DialogueLimits limits, QObject* parent)
    : Job(parent), m_port(port), m_commands(limits), m_standard(limits),
      m_line(new PhoneLine(port, this)), m_folder(folder), m_rows(std::move(rows)),
      m_result(result) {
    connect(m_line, &PhoneLine::lost, this, [this](LineLoss loss) {
        m_outcome.loss = loss;
        stop(DeleteOutcome::Kind::Lost);
    });
    connect(m_line, &PhoneLine::failed, this, [this](const PhoneFailure& failure) {
        m_outcome.failure = failure;
        stop(DeleteOutcome::Kind::Failed);
    });
}

void DeleteOnPhoneJob::start() {
    if (m_rows.empty()) {
        finish(DeleteOutcome::Kind::Done);
        return;
    }
    if (!m_port) {
        finish(DeleteOutcome::Kind::NoPort);
        return;
    }
    m_counted = m_rows.size() > 1;
    progress().setPosition(0);
    progress().setMaximum(m_counted ? static_cast<int>(m_rows.size()) : 0);
    progress().setVisible(true);
    // The port the user sees now, opened afresh; a bare AT first takes
    // whatever an earlier command left unread, so every answer is its own.
    if (!m_line->reopen())
        return; // the line's lost() ends the deletion
    m_line->exchange({m_commands.resync()}, [this](const Reply&) { deleteNextRow(); });
}

void DeleteOnPhoneJob::cancel() {
    m_cancelled = true;
    if (m_line->isWaiting()) {
        m_line->abandon();
        QTimer::singleShot(0, this, [this] { stop(DeleteOutcome::Kind::Cancelled); });
    }
}

void DeleteOnPhoneJob::deleteNextRow() {
    if (m_next == m_rows.size()) {
        putPhonesStorageBack();
        return;
    }
    if (m_cancelled) {
        stop(DeleteOutcome::Kind::Cancelled);
        return;
    }
    m_places = record::phoneLocations(m_rows[m_next].indexCell);
    if (!m_places.empty()) {
        m_place = 0;
        deleteNextPlace();
        return;
    }
    m_line->exchange({m_commands.pduMode()}, [this](const Reply&) { askToDelete(); });
}

void DeleteOnPhoneJob::deleteNextPlace() {
    if (m_place == m_places.size()) {
        m_outcome.deleted.push_back(m_rows[m_next].k);
        rowDone();
        deleteNextRow();
        return;
    }
    const std::string& storage = m_places[m_place].storage;
    if (storage == m_storage) {
        askToDeletePlace();
        return;
    }
    if (!m_storageAsked) {
        askPhonesStorage();
        return;
    }
    const AtCommand choose = m_standard.chooseStorage(storage);
    m_storageChanged = true;
    m_line->exchange({choose}, [this, choose, storage](const Reply& reply) {
        if (!placeTaken(reply, choose.text))
            return;
        m_storage = storage;
        askToDeletePlace();
    });
}

// Before choosing a storage of its own, the deletion learns the phone's, as
// the read does, so that the phone is left as it was found.
void DeleteOnPhoneJob::askPhonesStorage() {
    m_storageAsked = true;
    m_line->exchange({m_standard.storagesSelected()}, [this](const Reply& reply) {
        const Parsed<std::vector<SelectedStorage>> selected = parseSelectedStorages(reply.bytes);
        if (selected && !selected->empty())
            m_phonesStorage = selected->front().name;
        deleteNextPlace();
    });
}

void DeleteOnPhoneJob::putPhonesStorageBack() {
    if (!m_storageChanged || !m_phonesStorage || m_storage == *m_phonesStorage) {
        finish(DeleteOutcome::Kind::Done);
        return;
    }
    // What the phone answers changes nothing of what was deleted.
    m_line->exchange({m_standard.chooseStorage(*m_phonesStorage)},
                     [this](const Reply&) { finish(DeleteOutcome::Kind::Done); });
}

void DeleteOnPhoneJob::askToDeletePlace() {
    const AtCommand erase = m_standard.deleteMessage(m_places[m_place].index);
    m_line->exchange({erase}, [this, erase](const Reply& reply) {
        const FinalCode* code = reply.codes.empty() ? nullptr : &reply.codes.back();
        // A part that is no longer there needs no deleting.
        const bool gone =
            code && code->isError() && messageStorageError(*code) == ErrorMeaning::Empty;
        if (!gone && !placeTaken(reply, erase.text))
            return;
        ++m_place;
        deleteNextPlace();
    });
}

bool DeleteOnPhoneJob::placeTaken(const Reply& reply, const std::string& command) {
    const FinalCode* code = reply.codes.empty() ? nullptr : &reply.codes.back();
    if (code ? !code->isError() : deletionConfirmed(reply.bytes))
        return true;
    ++m_outcome.notDeleted;
    if (code && !m_outcome.failure)
        m_outcome.failure = refusalOf(command, *code);
    m_storage.clear(); // what the phone has chosen is not known for sure now
    rowDone();
    deleteNextRow();
    return false;
}

void DeleteOnPhoneJob::askToDelete() {
    m_line->exchange({m_commands.deleteMessage(m_rows[m_next].indexCell)},
                     [this](const Reply& reply) { rowAnswered(reply); });
}

void DeleteOnPhoneJob::rowAnswered(const Reply& reply) {
    const FinalCode* code = reply.codes.empty() ? nullptr : &reply.codes.back();
    if (code ? !code->isError() : deletionConfirmed(reply.bytes)) {
        m_outcome.deleted.push_back(m_rows[m_next].k);
    } else {
        ++m_outcome.notDeleted;
        if (code && !m_outcome.failure)
            m_outcome.failure =
                refusalOf(m_commands.deleteMessage(m_rows[m_next].indexCell).text, *code);
    }
    rowDone();
    deleteNextRow();
}

void DeleteOnPhoneJob::rowDone() {
    ++m_next;
    if (m_counted)
        progress().setPosition(progress().position() + 1);
}

// The rows not yet tried stay: they were never deleted.
void DeleteOnPhoneJob::stop(DeleteOutcome::Kind kind) {
    while (!m_finished && m_next < m_rows.size()) {
        ++m_outcome.notDeleted;
        rowDone();
    }
    finish(m_cancelled ? DeleteOutcome::Kind::Cancelled : kind);
}

void DeleteOnPhoneJob::finish(DeleteOutcome::Kind kind) {
    if (m_finished)
        return;
    m_finished = true;
    m_line->abandon();
    m_outcome.kind = kind;
    if (kind != DeleteOutcome::Kind::NoPort && !m_rows.empty()) {
        keepUndeleted(m_result.folder(m_folder), m_outcome.deleted);
        progress().setVisible(false);
    }
    finishFromEventLoop();
}

} // namespace qb
