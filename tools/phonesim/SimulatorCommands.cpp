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

// Motorola phones send the date year first, month and day without padding.
std::string phoneDate(const SimMessage& m) {
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(m.year) + "/" + std::to_string(m.month) + "/" + std::to_string(m.day) +
           "," + two(m.hour) + ":" + two(m.minute) + ":" + two(m.second);
}

bool isStorage(const std::string& name) {
    return name == "ME" || name == "SM" || name == "MT";
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
    if (m_messageStorage != "SM") // the SIM holds none; "MT" is the phone and SIM together
        for (auto& m : m_content.messages)
            found.push_back(&m);
    return found;
}

PhoneSimulator::Reply PhoneSimulator::storages(const Command& command) {
    const auto used = std::to_string(storedMessages().size());
    const auto total = std::to_string(m_content.messageCapacity);
    if (command.form == Command::Form::Test)
        return {{"+CPMS: " + std::string(Storages) + "," + std::string(Storages) + "," +
                 std::string(Storages)}};
    if (command.form == Command::Form::Read)
        return {{"+CPMS: " + quoted(m_messageStorage) + "," + used + "," + total + "," +
                 quoted(m_messageStorage) + "," + used + "," + total + ",\"MT\"," + used + "," +
                 total}};
    if (command.form != Command::Form::Set)
        return error();
    const std::string first = unquote(command.argument.substr(0, command.argument.find(',')));
    if (!isStorage(first))
        return error();
    m_messageStorage = first;
    const auto now = std::to_string(storedMessages().size());
    return {{"+CPMS: " + now + "," + total + "," + now + "," + total + "," + now + "," + total}};
}

PhoneSimulator::Reply PhoneSimulator::listMessages(std::string_view filter, bool motorolaListing) {
    const std::string f{filter};
    if (!validFilter(f, m_textMode))
        return error();
    const std::string prefix = motorolaListing ? "+MMGL: " : "+CMGL: ";
    Reply reply;
    for (SimMessage* m : storedMessages()) {
        if (!matchesFilter(f, m_textMode, m->status))
            continue;
        const std::string index = std::to_string(m->index);
        if (!m_textMode) {
            const EncodedPdu pdu = encodePdu(*m, ServiceCentre);
            reply.lines.push_back(prefix + index + "," + std::to_string(statusCode(m->status)) +
                                  ",," + std::to_string(pdu.tpduLength));
            reply.lines.push_back(pdu.hex);
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
    int index = 0;
    const auto stored = storedMessages();
    const auto it = std::find_if(stored.begin(), stored.end(), [&](const SimMessage* m) {
        return toInt(argument, index) && m->index == index;
    });
    if (it == stored.end())
        return error(CmsInvalidIndex);
    SimMessage& m = **it;
    Reply reply;
    if (m_textMode) {
        std::string header = "+CMGR: " + quoted(statusText(m.status)) + ", " + quoted(m.number);
        if (isReceived(m.status))
            header += ", " + quoted(phoneDate(m));
        reply.lines = {header, encodeText(m.text, m_charset)};
    } else {
        const EncodedPdu pdu = encodePdu(m, ServiceCentre);
        reply.lines = {"+CMGR: " + std::to_string(statusCode(m.status)) + ",," +
                           std::to_string(pdu.tpduLength),
                       pdu.hex};
    }
    if (m.status == SmsStatus::ReceivedUnread)
        m.status = SmsStatus::ReceivedRead;
    return reply;
}

PhoneSimulator::Reply PhoneSimulator::deleteMessage(std::string_view argument) {
    int index = 0;
    if (!toInt(argument.substr(0, argument.find(',')), index))
        return error();
    auto& messages = m_content.messages;
    const auto it = std::find_if(messages.begin(), messages.end(),
                                 [&](const SimMessage& m) { return m.index == index; });
    if (it == messages.end() || m_messageStorage == "SM")
        return error(CmsInvalidIndex);
    messages.erase(it);
    return {};
}

PhoneSimulator::Reply PhoneSimulator::phonebook(const Command& command) {
    const bool sim = m_phonebookStorage == "SM";
    const auto used = std::to_string(sim ? 0 : m_content.contacts.size());
    const auto size = std::to_string(m_content.phonebookSize);
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
    Reply reply;
    const int count = m_phonebookStorage == "SM" ? 0 : static_cast<int>(m_content.contacts.size());
    for (int pos = std::max(first, 1); pos <= std::min(last, count); ++pos) {
        const SimContact& c = m_content.contacts[static_cast<std::size_t>(pos - 1)];
        const std::string type = !c.number.empty() && c.number[0] == '+' ? "145" : "129";
        if (!reply.lines.empty())
            reply.lines.emplace_back(); // Motorola phones leave an empty line between entries
        reply.lines.push_back("+CPBR: " + std::to_string(pos) + "," + quoted(c.number) + "," +
                              type + "," + encodeText(c.name, m_charset));
    }
    if (reply.lines.empty() && comma == std::string_view::npos)
        return {{}, m_verboseErrors ? "+CME ERROR: 22" : "ERROR"};
    return reply;
}

} // namespace qb
