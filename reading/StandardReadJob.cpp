#include "reading/StandardReadJob.h"

#include "archive/RecordLines.h"
#include "core/ArchiveText.h"
#include "reading/PduErrorText.h"
#include "reading/PhoneIdentity.h"
#include "reading/PhoneReadJob.h"

#include <QTimer>
#include <algorithm>
#include <new>

namespace qb {
namespace {

using Kind = ReadOutcome::Kind;

const FinalCode* errorOf(const Reply& reply) {
    if (reply.codes.empty() || !reply.codes.back().isError())
        return nullptr;
    return &reply.codes.back();
}

QString placeName(const std::string& storage, int index) {
    return QString::fromLatin1(storage.data(), qsizetype(storage.size())) + QString::number(index);
}

QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string archived(const QString& text) {
    return archivetext::encode(archivetext::foldLineBreaks(text));
}

std::optional<MessageTime> wallTime(const std::optional<SmsTime>& time) {
    if (!time || !time->date.isValid() || !time->time.isValid())
        return std::nullopt;
    MessageTime at;
    at.year = static_cast<std::int16_t>(time->date.year());
    at.month = static_cast<std::int8_t>(time->date.month());
    at.day = static_cast<std::int8_t>(time->date.day());
    at.hour = static_cast<std::int8_t>(time->time.hour());
    at.minute = static_cast<std::int8_t>(time->time.minute());
    at.second = static_cast<std::int8_t>(time->time.second());
    return at.isValid() ? std::optional(at) : std::nullopt;
}

Message archivedMessage(const JoinedMessage& m) {
    FolderKind folder = FolderKind::Inbox;
    MessageStatus status = MessageStatus::Read;
    if (m.kind == PduKind::Submit) {
        const bool unsent = m.status == StoredStatus::StoredUnsent;
        folder = unsent ? FolderKind::Draft : FolderKind::Outbox;
        status = unsent ? MessageStatus::Unsent : MessageStatus::Sent;
    } else if (m.status == StoredStatus::ReceivedUnread) {
        status = MessageStatus::Unread;
    }
    return record::phoneMessage(folder, status, archived(m.address.number), m.locations,
                                archived(m.text), wallTime(m.time));
}

} // namespace

ReadResult archivedMessages(const std::vector<JoinedMessage>& messages) {
    ReadResult read;
    for (const JoinedMessage& m : messages) {
        Message message = archivedMessage(m);
        read.folder(message.folder).push_back(std::move(message));
    }
    return read;
}

std::optional<Phonebook> archivedPhonebook(const std::vector<PhonebookContact>& contacts) {
    if (contacts.empty())
        return std::nullopt;
    Phonebook book;
    book.entries.reserve(contacts.size());
    for (const PhonebookContact& c : contacts)
        book.entries.push_back({archived(c.number), archived(c.name)});
    return book;
}

StandardReadJob::StandardReadJob(ReadContext context, QObject* parent)
    : ReadJob(parent), m_context(std::move(context)), m_commands(m_context.limits),
      m_line(new PhoneLine(m_context.port, this)) {
    connect(m_line, &PhoneLine::lost, this, &StandardReadJob::lineLost);
    connect(m_line, &PhoneLine::failed, this, &StandardReadJob::lineFailed);
}

void StandardReadJob::ask(const AtCommand& command, Step next) {
    m_asked = command.text;
    m_line->exchange({command}, [this, next](const Reply& reply) {
        replied();
        if (m_cancelled) {
            finish({Kind::Cancelled, std::nullopt});
            return;
        }
        try {
            (this->*next)(reply);
        } catch (const std::bad_alloc&) {
            finish({Kind::Failed, Failure::outOfMemory()});
        }
    });
}

// One step per reply; the bar's end moves on as the read learns what is left.
void StandardReadJob::replied() {
    ++m_replies;
    if (m_replies >= progress().state().maximum)
        progress().setMaximum(m_replies + 1);
    progress().setPosition(m_replies);
}

void StandardReadJob::expect(int replies) {
    progress().setMaximum(progress().state().maximum + replies);
}

void StandardReadJob::cancel() {
    m_cancelled = true;
    if (m_motorola) {
        m_motorola->cancel();
        return;
    }
    m_files.cancel();
    if (m_line->isWaiting()) {
        m_line->abandon();
        QTimer::singleShot(0, this, [this] { finish({Kind::Cancelled, std::nullopt}); });
    }
}

void StandardReadJob::start() {
    // Set-up, storages and phonebooks: the listings add theirs as they come.
    progress().setMaximum(16);
    progress().setPosition(0);
    progress().setTextVisible(false);
    progress().setVisible(true);
    if (!m_line->reopen())
        return; // lineLost() ends the read
    emit stageReached(ReadStage::Listing, 0, 0);
    ask(m_commands.resync(), &StandardReadJob::askEchoOn);
}

void StandardReadJob::askEchoOn(const Reply&) {
    ask(m_commands.echoOn(), &StandardReadJob::askNumericErrors);
}

void StandardReadJob::askNumericErrors(const Reply&) {
    ask(m_commands.numericErrors(), &StandardReadJob::askWhoMadeIt);
}

void StandardReadJob::askWhoMadeIt(const Reply& reply) {
    if (m_context.dialogue)
        askPduMode(reply);
    else
        ask(m_commands.manufacturer(), &StandardReadJob::takeManufacturer);
}

void StandardReadJob::takeManufacturer(const Reply& reply) {
    const Parsed<std::string> maker = parseManufacturer(reply.bytes);
    if (errorOf(reply) || !maker) {
        ask(m_commands.identification(), &StandardReadJob::takeIdentification);
        return;
    }
    takeIdentification(reply);
}

void StandardReadJob::takeIdentification(const Reply& reply) {
    const Parsed<std::string> maker = parseManufacturer(reply.bytes);
    if (!errorOf(reply) && maker && dialogueForMaker(*maker) == PhoneDialogue::Motorola)
        readAsMotorola();
    else
        askPduMode(reply);
}

// The Motorola read does it all from here, its bar and stages passed on.
void StandardReadJob::readAsMotorola() {
    m_line->abandon();
    ReadContext context = m_context;
    context.dialogue = PhoneDialogue::Motorola;
    m_motorola = new PhoneReadJob(std::move(context), this);
    connect(&m_motorola->progress(), &ProgressSignal::changed, this,
            [this](const ProgressState& state) {
                progress().setMaximum(state.maximum);
                progress().setPosition(state.position);
                progress().setTextVisible(state.textVisible);
                progress().setVisible(state.visible);
            });
    connect(m_motorola, &ReadJob::stageReached, this, &ReadJob::stageReached);
    connect(m_motorola, &Job::finished, this, [this] {
        m_finished = true;
        m_outcome = m_motorola->outcome();
        finishFromEventLoop();
    });
    m_motorola->start();
}

void StandardReadJob::askPduMode(const Reply&) {
    ask(m_commands.pduMode(), &StandardReadJob::askStorages);
}

void StandardReadJob::askStorages(const Reply&) {
    ask(m_commands.storagesOffered(), &StandardReadJob::takeOfferedStorages);
}

void StandardReadJob::takeOfferedStorages(const Reply& reply) {
    const Parsed<OfferedStorages> offered = parseOfferedStorages(reply.bytes);
    if (!errorOf(reply) && offered)
        m_storages = storagesToRead(offered->read);
    ask(m_commands.storagesSelected(), &StandardReadJob::takeSelectedStorages);
}

void StandardReadJob::takeSelectedStorages(const Reply& reply) {
    const Parsed<std::vector<SelectedStorage>> selected = parseSelectedStorages(reply.bytes);
    if (!errorOf(reply) && selected && !selected->empty())
        m_selected = selected->front().name;
    if (m_storages.empty()) {
        // Nothing to choose from: the storage the phone has selected is
        // listed, under its name where the phone tells it.
        m_chooseStorages = false;
        m_storages.push_back(m_selected.value_or("MT"));
    }
    expect(static_cast<int>(m_storages.size()) * 3);
    readNextStorage();
}

void StandardReadJob::readNextStorage() {
    if (m_storage == m_storages.size()) {
        putStorageBack();
        return;
    }
    emit stageReached(ReadStage::Listing, int(m_storage), int(m_storages.size()));
    m_use.reset();
    m_listing = {};
    if (m_chooseStorages)
        ask(m_commands.chooseStorage(m_storages[m_storage]), &StandardReadJob::takeStorageChosen);
    else
        ask(m_commands.listAll(), &StandardReadJob::takeListing);
}

bool StandardReadJob::skipsPast(const FinalCode& code, ErrorMeaning meaning,
                                const std::string& place) {
    switch (meaning) {
    case ErrorMeaning::Empty:
        return true;
    case ErrorMeaning::Unavailable:
        m_leftOut.unavailable.push_back(latin1(place) + QStringLiteral(": ") + latin1(code.line));
        return true;
    case ErrorMeaning::Refused:
        break;
    }
    lineFailed(refusalOf(m_asked, code));
    return false;
}

void StandardReadJob::takeStorageChosen(const Reply& reply) {
    if (const FinalCode* code = errorOf(reply)) {
        if (skipsPast(*code, messageStorageError(*code), m_storages[m_storage]))
            storageDone();
        return;
    }
    if (const Parsed<StorageUse> use = parseStorageChosen(reply.bytes))
        m_use = *use;
    ask(m_commands.listAll(), &StandardReadJob::takeListing);
}

void StandardReadJob::takeListing(const Reply& reply) {
    if (const FinalCode* code = errorOf(reply)) {
        if (skipsPast(*code, messageStorageError(*code), m_storages[m_storage]))
            storageDone();
        return;
    }
    m_listing = parsePduListing(reply.bytes);
    const std::string& storage = m_storages[m_storage];
    for (const std::string& line : m_listing.unreadable)
        m_leftOut.undecodable.push_back(latin1(storage) + QStringLiteral(": ") + latin1(line));
    if (m_listing.messages.empty()) {
        storageDone();
        return;
    }
    if (!indexesCanBeLocations(m_listing.messages, m_use)) {
        readByLocation();
        return;
    }
    // A listing numbered otherwise than the storage shows itself at its
    // last index: the message read there is another one.
    ask(m_commands.readMessage(m_listing.messages.back().index),
        &StandardReadJob::checkLastLocation);
}

void StandardReadJob::checkLastLocation(const Reply& reply) {
    const Parsed<std::optional<ReadPdu>> read = parsePduRead(reply.bytes);
    if (!errorOf(reply) && read && *read && sameMessage(m_listing.messages.back(), **read)) {
        decodeListed(m_listing.messages);
        storageDone();
        return;
    }
    readByLocation();
}

void StandardReadJob::readByLocation() {
    if (!m_use) { // no size to go by: the listing is all there is
        decodeListed(m_listing.messages);
        storageDone();
        return;
    }
    m_location = 0;
    m_located.clear();
    expect(m_use->total);
    readNextLocation();
}

void StandardReadJob::readNextLocation() {
    if (++m_location > m_use->total) {
        decodeListed(m_located);
        storageDone();
        return;
    }
    emit stageReached(ReadStage::Listing, m_location - 1, m_use->total);
    ask(m_commands.readMessage(m_location), &StandardReadJob::takeLocation);
}

void StandardReadJob::takeLocation(const Reply& reply) {
    const std::string& storage = m_storages[m_storage];
    if (const FinalCode* code = errorOf(reply)) {
        // Phones answer an empty location with an error of their choice.
        if (messageStorageError(*code) == ErrorMeaning::Unavailable) {
            skipsPast(*code, ErrorMeaning::Unavailable, storage);
            m_location = m_use->total;
        }
        readNextLocation();
        return;
    }
    const Parsed<std::optional<ReadPdu>> read = parsePduRead(reply.bytes);
    if (!read)
        m_leftOut.undecodable.push_back(placeName(storage, m_location) + QStringLiteral(": ") +
                                        latin1(read.error().line));
    else if (*read)
        m_located.push_back({m_location, (*read)->status, (*read)->tpduLength, (*read)->hex, {}});
    readNextLocation();
}

void StandardReadJob::decodeListed(const std::vector<ListedPdu>& listed) {
    const std::string& storage = m_storages[m_storage];
    for (const ListedPdu& m : listed) {
        m_anyListed = true;
        const PduDecoding decoded = decodePdu(m.hex, m.tpduLength);
        if (decoded)
            m_parts.push_back({{storage, m.index}, m.status, *decoded.pdu});
        else
            m_leftOut.undecodable.push_back(placeName(storage, m.index) + QStringLiteral(": ") +
                                            pduErrorText(decoded.error));
    }
}

void StandardReadJob::storageDone() {
    ++m_storage;
    readNextStorage();
}

// Where the phone reads and deletes stays as the user had it.
void StandardReadJob::putStorageBack() {
    if (m_chooseStorages && m_selected)
        ask(m_commands.chooseStorage(*m_selected), &StandardReadJob::joinMessages);
    else
        joinMessages({});
}

void StandardReadJob::joinMessages(const Reply&) {
    if (!m_anyListed && m_leftOut.undecodable.isEmpty()) {
        finish({Kind::NothingListed, std::nullopt});
        return;
    }
    JoinedMessages joined = joinLongMessages(std::move(m_parts));
    m_leftOut.statusReports = joined.statusReports;
    m_leftOut.incompleteMessages = joined.incompleteMessages;
    m_leftOut.missingParts = joined.missingParts;
    m_read = archivedMessages(joined.messages);
    askCharsets();
}

void StandardReadJob::askCharsets() {
    emit stageReached(ReadStage::Phonebook, 0, 0);
    ask(m_commands.charsetsOffered(), &StandardReadJob::takeCharsets);
}

void StandardReadJob::takeCharsets(const Reply& reply) {
    const auto offered = parseCharsetsOffered(reply.bytes);
    if (!errorOf(reply) && offered &&
        std::find(offered->begin(), offered->end(), "UCS2") != offered->end())
        ask(m_commands.chooseCharset("UCS2"), &StandardReadJob::takeUcs2Chosen);
    else
        ask(m_commands.charsetSelected(), &StandardReadJob::takeOwnCharset);
}

void StandardReadJob::takeUcs2Chosen(const Reply& reply) {
    if (errorOf(reply)) {
        ask(m_commands.charsetSelected(), &StandardReadJob::takeOwnCharset);
        return;
    }
    m_charset = PhoneCharset::Ucs2;
    askPhonebooks();
}

void StandardReadJob::takeOwnCharset(const Reply& reply) {
    const Parsed<std::string> own = parseCharsetSelected(reply.bytes);
    m_charset = !errorOf(reply) && own ? charsetNamed(*own) : PhoneCharset::Other;
    askPhonebooks();
}

void StandardReadJob::askPhonebooks() {
    ask(m_commands.phonebooksOffered(), &StandardReadJob::takePhonebooks);
}

void StandardReadJob::takePhonebooks(const Reply& reply) {
    const auto offered = parsePhonebooksOffered(reply.bytes);
    if (!errorOf(reply) && offered)
        m_phonebooks = storagesToRead(*offered);
    if (m_phonebooks.empty())
        m_phonebooks.push_back({}); // the phonebook the phone has selected
    expect(static_cast<int>(m_phonebooks.size()) * 2);
    readNextPhonebook();
}

void StandardReadJob::readNextPhonebook() {
    if (m_phonebook == m_phonebooks.size()) {
        storeEverything();
        return;
    }
    const std::string& book = m_phonebooks[m_phonebook];
    if (book.empty())
        ask(m_commands.phonebookRange(), &StandardReadJob::takePhonebookRange);
    else
        ask(m_commands.choosePhonebook(book), &StandardReadJob::takePhonebookChosen);
}

void StandardReadJob::takePhonebookChosen(const Reply& reply) {
    if (const FinalCode* code = errorOf(reply)) {
        if (skipsPast(*code, phonebookError(*code), m_phonebooks[m_phonebook]))
            phonebookDone();
        return;
    }
    ask(m_commands.phonebookRange(), &StandardReadJob::takePhonebookRange);
}

void StandardReadJob::takePhonebookRange(const Reply& reply) {
    if (const FinalCode* code = errorOf(reply)) {
        if (skipsPast(*code, phonebookError(*code), m_phonebooks[m_phonebook]))
            phonebookDone();
        return;
    }
    const Parsed<PhonebookRange> range = parsePhonebookRange(reply.bytes);
    if (!range) { // a phonebook without positions
        phonebookDone();
        return;
    }
    m_chunks = phonebookChunks(*range, StandardCommands::PhonebookChunk);
    m_chunk = 0;
    expect(static_cast<int>(m_chunks.size()));
    readNextChunk();
}

void StandardReadJob::readNextChunk() {
    if (m_chunk == m_chunks.size()) {
        phonebookDone();
        return;
    }
    emit stageReached(ReadStage::Phonebook, int(m_chunk), int(m_chunks.size()));
    const auto [first, last] = m_chunks[m_chunk];
    ask(m_commands.phonebookEntries(first, last), &StandardReadJob::takeContacts);
}

void StandardReadJob::takeContacts(const Reply& reply) {
    if (const FinalCode* code = errorOf(reply)) {
        if (!skipsPast(*code, phonebookError(*code), m_phonebooks[m_phonebook]))
            return;
        if (phonebookError(*code) == ErrorMeaning::Unavailable)
            m_chunk = m_chunks.size() - 1;
        ++m_chunk;
        readNextChunk();
        return;
    }
    const auto contacts = parsePhonebookContacts(reply.bytes, m_charset);
    if (!contacts) {
        refuseReply(contacts.error());
        return;
    }
    m_contacts.insert(m_contacts.end(), contacts->begin(), contacts->end());
    ++m_chunk;
    readNextChunk();
}

void StandardReadJob::phonebookDone() {
    ++m_phonebook;
    readNextPhonebook();
}

void StandardReadJob::storeEverything() {
    m_readShown = true;
    m_listed = archivedPhonebook(m_contacts);
    m_storing = true;
    emit stageReached(ReadStage::Archive, 0, 0);
    m_files.start(
        [this](Cancellation& cancel) {
            try {
                m_storeFailure = storePhoneRead(m_context.workDir, m_read, m_listed,
                                                m_context.phonebook, &cancel, &m_appended);
            } catch (const std::bad_alloc&) {
                m_storeFailure = Failure::outOfMemory();
            }
        },
        [this] { stored(); });
}

void StandardReadJob::stored() {
    if (m_files.stopped())
        finish({Kind::Cancelled, std::nullopt});
    else if (m_storeFailure)
        finish({Kind::Failed, *m_storeFailure});
    else
        finish({Kind::Finished, std::nullopt});
}

void StandardReadJob::refuseReply(const ReplyError& error) {
    PhoneFailure failure;
    failure.kind = PhoneFailure::Kind::UnfitReply;
    failure.command = m_asked;
    failure.mismatch = ReplyMismatch::UnexpectedLine;
    failure.subject = error.line;
    lineFailed(failure);
}

void StandardReadJob::lineLost(LineLoss loss) {
    if (m_storing)
        return;
    finish({m_cancelled ? Kind::Cancelled : lostKind(loss), std::nullopt});
}

void StandardReadJob::lineFailed(const PhoneFailure& failure) {
    finish({m_cancelled ? Kind::Cancelled : Kind::PhoneFailed, std::nullopt,
            m_cancelled ? std::nullopt : std::optional(failure)});
}

void StandardReadJob::finish(ReadOutcome outcome) {
    if (m_finished)
        return;
    m_finished = true;
    m_line->abandon();
    m_outcome = std::move(outcome);
    if (m_readShown && m_outcome.kind != Kind::Cancelled) {
        m_outcome.read = m_read;
        m_outcome.phonebook = m_listed;
        m_outcome.appended = m_appended;
    }
    m_outcome.leftOut = m_leftOut;
    progress().setVisible(false);
    progress().setTextVisible(true);
    finishFromEventLoop();
}

} // namespace qb
