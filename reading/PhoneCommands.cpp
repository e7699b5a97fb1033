#include "reading/PhoneCommands.h"

namespace qb {

AtCommand PhoneCommands::command(std::string text, OnError onError) const {
    return {std::move(text), m_limits.command, onError};
}

std::vector<AtCommand> PhoneCommands::setUp() const {
    return {command("AT"), command("AT+CMGF=1"), command("AT+CSCS=UCS2"),
            command("AT+CPBS=\"MT\"")};
}

AtCommand PhoneCommands::listing() const {
    return {"at+mmgl=\"ALL\"", m_limits.listing, OnError::Stop};
}

AtCommand PhoneCommands::resync() const {
    return command("AT");
}

AtCommand PhoneCommands::readMessage(const std::string& index) const {
    return command("AT+CMGR=" + index);
}

std::vector<AtCommand> PhoneCommands::phonebookStorageAndRange() const {
    return {command("AT+CPBS=\"MT\""), phonebookRange()};
}

AtCommand PhoneCommands::phonebookRange() const {
    return command("AT+CPBR=?", OnError::Answer);
}

AtCommand PhoneCommands::phonebookEntries(const std::optional<std::string>& rangeEnd) const {
    return {"at+cpbr=1," + rangeEnd.value_or(""), m_limits.phonebook, OnError::Answer};
}

AtCommand PhoneCommands::pduMode() const {
    return command("AT+CMGF=0");
}

AtCommand PhoneCommands::deleteMessage(const std::string& indexCell) const {
    return command("AT+CMGD=" + indexCell, OnError::Answer);
}

} // namespace qb
