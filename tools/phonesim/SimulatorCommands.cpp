// The message and phonebook commands of the simulated phone.
#include "tools/phonesim/AtText.h"
#include "tools/phonesim/PhoneSimulator.h"
#include "tools/phonesim/SmsPdu.h"

#include <algorithm>

namespace qb {

using namespace at;

namespace {

constexpr std::string_view ServiceCentre = "+79168999100";
constexpr int CmsInvalidIndex = 321;
constexpr std::string_view Storages = "(\"ME\",\"SM\",\"MT\")";

// Real parts of one long message can come through different service centres.
std::string serviceCentreOf(const SimMessage& m) {
    std::string centre(ServiceCentre);
    if (m.part && m.part->sequence > 1)
        centre.back() = static_cast<char>('0' + (m.part->sequence - 1) % 10);
    return centre;
}

std::string storageGroup(const std::vector<std::string>& storages) {
    std::string group = "(";
    for (const auto& name : storages)
        group += (group.size() > 1 ? "," : "") + quoted(name);
    return group + ")";
}

// Motorola phones send the date year first, month and day without padding.
std::string phoneDate(const SimMessage& m) {
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(m.year) + "/" + std::to_string(m.month) + "/" + std::to_string(m.day) +
           "," + two(m.hour) + ":" + two(m.minute) + ":" + two(m.second);
}

bool isStorage(const std::string& name) {
    return name == "ME" || name == "SM" || name == "MT";
}

bool offered(const std::vector<std::string>& storages, const std::string& name) {
    return std::find(storages.begin(), storages.end(), name) != storages.end();
}

// A listing filter: text mode names a status or "ALL", PDU mode gives 0 to 4.
bool matchesFilter(const std::string& filter, bool textMode, SmsStatus status) {
    if (textMode)
        return filter == "ALL" || filter == statusText(status);
    int code = 0;
    return toInt(filter, code) && (code == 4 || code == statusCode(status));
}

bool validFilter(const std::string& filter, bool textMode) {
    int code = 0;
    if (!textMode)
        return toInt(filter, code) && code >= 0 && code <= 4;
    return filter == "ALL" || filter == "REC UNREAD" || filter == "REC READ" ||
           filter == "STO UNSENT" || filter == "STO SENT";
}

} // namespace

PhoneSimulator::Reply PhoneSimulator::messaging(const Command& command) {
    const std::string& n = command.name;
    const auto form = command.form;
    if (n == "+CMGF" && form == Command::Form::Set) {
        const std::string mode{trim(command.argument)};
        if (mode != "0" && mode != "1")
            return error();
        m_textMode = mode == "1";
        return {};
    }
    if (n == "+CMGF" && form == Command::Form::Read)
        return {{"+CMGF: " + std::string(m_textMode ? "1" : "0")}};
    if (n == "+CMGF" && form == Command::Form::Test)
        return {{"+CMGF: (0-1)"}};
    if (n == "+CPMS")
        return storages(command);
    if (n == "+MMGL" && standard())
        return error(); // Motorola's own listing
    if ((n == "+CMGL" || n == "+MMGL") && form == Command::Form::Set)
        return listMessages(unquote(command.argument), n == "+MMGL");
    if ((n == "+CMGL" || n == "+MMGL") && form == Command::Form::Action)
        return listMessages(m_textMode ? "REC UNREAD" : "0", n == "+MMGL");
    if (n == "+CMGR" && form == Command::Form::Set)
        return readMessage(command.argument);
    if (n == "+CMGD" && form == Command::Form::Set)
        return deleteMessage(command.argument);
    if (n == "+CSCA" && form == Command::Form::Read)
        return {{"+CSCA: " + quoted(ServiceCentre) + ",145"}};
    if ((n == "+CNMI" || n == "+CSDH") && form == Command::Form::Set)
        return {};
    return error();
}

std::vector<SimMessage*> PhoneSimulator::storedMessages() {
    std::vector<SimMessage*> found;
    for (const char* storage : {"ME", "SM"}) // "MT" is the phone and SIM together
        if (m_messageStorage == storage || m_messageStorage == "MT")
            for (auto& m : m_content.messages)
                if (m.storage == storage && !(m_textMode && m.statusReport))
                    found.push_back(&m);
    return found;
}

int PhoneSimulator::location(const SimMessage& message) const {
    if (m_messageStorage == "MT" && message.storage == "SM")
        return message.index + m_content.messageCapacity;
    return message.index;
}

SimMessage* PhoneSimulator::messageAt(std::string_view argument) {
    int index = 0;
    if (!toInt(argument, index))
        return nullptr;
    for (SimMessage* m : storedMessages())
        if (location(*m) == index)
            return m;
    return nullptr;
}

int PhoneSimulator::storageTotal(const std::string& storage) const {
    if (storage == "SM")
        return m_content.simCapacity;
    if (storage == "MT" && standard())
        return m_content.messageCapacity + m_content.simCapacity;
    return m_content.messageCapacity;
}

// The PDU as the phone lists it, with the padding and the ",0" some phones add.
std::string PhoneSimulator::pduLine(const SimMessage& message) const {
    const PduQuirks& q = m_content.quirks;
    std::string line = encodePdu(message, serviceCentreOf(message)).hex;
    for (int i = 0; i < q.padding; ++i)
        line += "FF";
    return q.trailingComma ? line + ",0" : line;
}

PhoneSimulator::Reply PhoneSimulator::storages(const Command& command) {
    const auto used = std::to_string(storedMessages().size());
    const auto total = std::to_string(storageTotal(m_messageStorage));
    const std::string group = storageGroup(m_content.messageStorages);
    if (command.form == Command::Form::Test)
        return {{"+CPMS: " + group + "," + group + "," + group}};
    if (command.form == Command::Form::Read)
        return {{"+CPMS: " + quoted(m_messageStorage) + "," + used + "," + total + "," +
                 quoted(m_messageStorage) + "," + used + "," + total + ",\"MT\"," + used + "," +
                 total}};
    if (command.form != Command::Form::Set)
        return error();
    const std::string first = unquote(command.argument.substr(0, command.argument.find(',')));
    if (!isStorage(first) || !offered(m_content.messageStorages, first))
        return error();
    m_messageStorage = first;
    const auto now = std::to_string(storedMessages().size());
    const auto size = std::to_string(storageTotal(first));
    return {{"+CPMS: " + now + "," + size + "," + now + "," + size + "," + now + "," + size}};
}

PhoneSimulator::Reply PhoneSimulator::listMessages(std::string_view filter, bool motorolaListing) {
    const std::string f{filter};
    if (!validFilter(f, m_textMode))
        return error();
    const std::string prefix = motorolaListing ? "+MMGL: " : "+CMGL: ";
    const PduQuirks& quirks = m_content.quirks;
    Reply reply;
    int listed = 0;
    for (SimMessage* m : storedMessages()) {
        if (!matchesFilter(f, m_textMode, m->status))
            continue;
        ++listed;
        const std::string index =
            std::to_string(quirks.listingNumbersInOrder ? listed : location(*m));
        if (!m_textMode) {
            const EncodedPdu pdu = encodePdu(*m, serviceCentreOf(*m));
            reply.lines.push_back(prefix + index + "," + std::to_string(statusCode(m->status)) +
                                  (quirks.listingAlpha ? ",," : ",") +
                                  std::to_string(pdu.tpduLength));
            reply.lines.push_back(pduLine(*m));
        } else if (motorolaListing) {
            // Motorola's own listing: no date, the number closes the line.
            reply.lines.push_back(prefix + index + ", " + quoted(statusText(m->status)) + ", " +
                                  quoted(m->number));
            reply.lines.push_back(encodeText(m->text, m_charset));
        } else {
            const std::string date = isReceived(m->status) ? quoted(phoneDate(*m)) : "";
            reply.lines.push_back(prefix + index + "," + quoted(statusText(m->status)) + "," +
                                  quoted(m->number) + ",," + date);
            reply.lines.push_back(encodeText(m->text, m_charset));
        }
        // Only the standard listing marks what it lists as read; Motorola's does not.
        if (!motorolaListing && m->status == SmsStatus::ReceivedUnread)
            m->status = SmsStatus::ReceivedRead;
    }
    return reply;
}

PhoneSimulator::Reply PhoneSimulator::readMessage(std::string_view argument) {
    SimMessage* found = messageAt(argument);
    if (!found)
        return error(CmsInvalidIndex);
    SimMessage& m = *found;
    Reply reply;
    if (m_textMode) {
        std::string header = "+CMGR: " + quoted(statusText(m.status)) + ", " + quoted(m.number);
        if (isReceived(m.status))
            header += ", " + quoted(phoneDate(m));
        reply.lines = {header, encodeText(m.text, m_charset)};
    } else {
        const EncodedPdu pdu = encodePdu(m, serviceCentreOf(m));
        const std::string stat = std::to_string(statusCode(m.status));
        reply.lines = {"+CMGR: " + (m_content.quirks.readLength
                                        ? stat + ",," + std::to_string(pdu.tpduLength)
                                        : stat),
                       pduLine(m)};
    }
    if (m.status == SmsStatus::ReceivedUnread)
        m.status = SmsStatus::ReceivedRead;
    return reply;
}

PhoneSimulator::Reply PhoneSimulator::deleteMessage(std::string_view argument) {
    const SimMessage* found = messageAt(argument.substr(0, argument.find(',')));
    int index = 0;
    if (!found && !toInt(argument.substr(0, argument.find(',')), index))
        return error();
    if (!found)
        return error(CmsInvalidIndex);
    auto& messages = m_content.messages;
    messages.erase(messages.begin() + (found - messages.data()));
    return {};
}

std::vector<SimContact>* PhoneSimulator::phonebookContacts() {
    return m_phonebookStorage == "SM" ? &m_content.simContacts : &m_content.contacts;
}

PhoneSimulator::Reply PhoneSimulator::phonebook(const Command& command) {
    const bool sim = m_phonebookStorage == "SM";
    const bool both = m_phonebookStorage == "MT" && standard();
    const std::size_t count =
        phonebookContacts()->size() + (both ? m_content.simContacts.size() : 0);
    const auto used = std::to_string(count);
    const auto size = std::to_string(sim ? m_content.simPhonebookSize : m_content.phonebookSize);
    switch (command.form) {
    case Command::Form::Test:
        if (command.name == "+CPBS")
            return {{"+CPBS: " + std::string(Storages)}};
        return {{"+CPBR: (1-" + size + "),40,24"}};
    case Command::Form::Read:
        if (command.name == "+CPBS")
            return {{"+CPBS: " + quoted(m_phonebookStorage) + "," + used + "," + size}};
        return error();
    case Command::Form::Set:
        if (command.name == "+CPBR")
            return readPhonebook(command.argument);
        if (!isStorage(unquote(command.argument)))
            return error();
        m_phonebookStorage = unquote(command.argument);
        return {};
    case Command::Form::Action:
        break;
    }
    return error();
}

PhoneSimulator::Reply PhoneSimulator::readPhonebook(std::string_view argument) {
    const auto comma = argument.find(',');
    int first = 0;
    int last = 0;
    if (!toInt(argument.substr(0, comma), first) ||
        !toInt(comma == std::string_view::npos ? argument.substr(0, comma)
                                               : argument.substr(comma + 1),
               last))
        return error();
    // A standard phone's "MT" is its own phonebook, then the SIM's.
    std::vector<SimContact> contacts = *phonebookContacts();
    if (m_phonebookStorage == "MT" && standard())
        contacts.insert(contacts.end(), m_content.simContacts.begin(), m_content.simContacts.end());
    Reply reply;
    const int count = static_cast<int>(contacts.size());
    for (int pos = std::max(first, 1); pos <= std::min(last, count); ++pos) {
        const SimContact& c = contacts[static_cast<std::size_t>(pos - 1)];
        const std::string type = !c.number.empty() && c.number[0] == '+' ? "145" : "129";
        if (!reply.lines.empty() && !standard())
            reply.lines.emplace_back(); // Motorola phones leave an empty line between entries
        const std::string name = encodeText(c.name, m_charset);
        reply.lines.push_back("+CPBR: " + std::to_string(pos) + "," + quoted(c.number) + "," +
                              type + "," + (standard() ? quoted(name) : name));
    }
    if (reply.lines.empty() && (comma == std::string_view::npos || standard()))
        return {{}, m_verboseErrors ? "+CME ERROR: 22" : "ERROR"};
    return reply;
}

} // namespace qb
