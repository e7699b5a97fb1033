#include "reading/StandardCommands.h"

namespace qb {

AtCommand StandardCommands::command(std::string text, OnError onError) const {
    return {std::move(text), m_limits.command, onError};
}

AtCommand StandardCommands::resync() const {
    return command("AT");
}

AtCommand StandardCommands::echoOn() const {
    return command("ATE1", OnError::Answer);
}

AtCommand StandardCommands::numericErrors() const {
    return command("AT+CMEE=1", OnError::Answer);
}

AtCommand StandardCommands::manufacturer() const {
    return command("AT+CGMI", OnError::Answer);
}

AtCommand StandardCommands::identification() const {
    return command("ATI", OnError::Answer);
}

AtCommand StandardCommands::pduMode() const {
    return command("AT+CMGF=0");
}

AtCommand StandardCommands::storagesOffered() const {
    return command("AT+CPMS=?", OnError::Answer);
}

AtCommand StandardCommands::storagesSelected() const {
    return command("AT+CPMS?", OnError::Answer);
}

AtCommand StandardCommands::chooseStorage(const std::string& name) const {
    return command("AT+CPMS=\"" + name + "\"", OnError::Answer);
}

AtCommand StandardCommands::listAll() const {
    return {"AT+CMGL=4", m_limits.listing, OnError::Answer};
}

AtCommand StandardCommands::readMessage(int index) const {
    return command("AT+CMGR=" + std::to_string(index), OnError::Answer);
}

AtCommand StandardCommands::deleteMessage(int index) const {
    return command("AT+CMGD=" + std::to_string(index), OnError::Answer);
}

AtCommand StandardCommands::charsetsOffered() const {
    return command("AT+CSCS=?", OnError::Answer);
}

AtCommand StandardCommands::charsetSelected() const {
    return command("AT+CSCS?", OnError::Answer);
}

AtCommand StandardCommands::chooseCharset(const std::string& name) const {
    return command("AT+CSCS=\"" + name + "\"", OnError::Answer);
}

AtCommand StandardCommands::phonebooksOffered() const {
    return command("AT+CPBS=?", OnError::Answer);
}

AtCommand StandardCommands::choosePhonebook(const std::string& name) const {
    return command("AT+CPBS=\"" + name + "\"", OnError::Answer);
}

AtCommand StandardCommands::phonebookRange() const {
    return command("AT+CPBR=?", OnError::Answer);
}

AtCommand StandardCommands::phonebookEntries(int first, int last) const {
    return {"AT+CPBR=" + std::to_string(first) + "," + std::to_string(last), m_limits.phonebook,
            OnError::Answer};
}

ErrorMeaning messageStorageError(const FinalCode& code) {
    if (code.kind != FinalCode::Kind::CmsError || !code.number)
        return ErrorMeaning::Refused;
    if (*code.number >= 310 && *code.number <= 318)
        return ErrorMeaning::Unavailable;
    if (*code.number == 321)
        return ErrorMeaning::Empty;
    return ErrorMeaning::Refused;
}

ErrorMeaning phonebookError(const FinalCode& code) {
    if (code.kind != FinalCode::Kind::CmeError || !code.number)
        return ErrorMeaning::Refused;
    if (*code.number >= 10 && *code.number <= 18)
        return ErrorMeaning::Unavailable;
    if (*code.number == 21 || *code.number == 22)
        return ErrorMeaning::Empty;
    return ErrorMeaning::Refused;
}

} // namespace qb
