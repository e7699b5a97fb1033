#pragma once
// A phone's AT command interpreter, with no I/O: bytes from the host go in,
// the bytes the phone sends back come out. It echoes each command line up to
// its CR, answers in the V.25ter verbose layout ("\r\n<line>\r\n" ...
// "\r\nOK\r\n") and keeps its messages and phonebook in a PhoneContent that
// deletions and reads change, as on the real phone. A Motorola phone also
// speaks Motorola's own listing; a standard phone only the commands of
// TS 27.005 and 27.007, with its PDU mode's quirks.
#include "tools/phonesim/PhoneContent.h"
#include "tools/phonesim/TextCodec.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

class PhoneSimulator {
  public:
    explicit PhoneSimulator(PhoneContent content = {});

    // Takes the bytes the host wrote and returns the phone's answer: the echo
    // and the replies of every command completed by a CR.
    std::string feed(std::string_view bytes);

    const PhoneContent& content() const { return m_content; }
    PhoneContent& content() { return m_content; }

    // Called with every command line as received (without its CR).
    void setCommandObserver(std::function<void(std::string_view)> observer);
    // Answers this command line (any letter case) with "+CMS ERROR: <code>"
    // instead of carrying it out.
    void refuse(std::string commandLine, int cmsCode);

  private:
    struct Reply {
        std::vector<std::string> lines;
        std::string final = "OK";
    };
    // One command line taken apart: "AT+CMGR=5" is +CMGR, Set, "5".
    struct Command {
        enum class Form { Action, Read, Test, Set };
        std::string name; // upper case; a basic command such as "E1" keeps its digits
        Form form = Form::Action;
        std::string_view argument; // after "=", as received
    };

    std::string execute(std::string_view line);
    Reply dispatch(const Command& command);
    Reply basic(const Command& command);
    Reply extended(const Command& command);
    Reply messaging(const Command& command);
    Reply phonebook(const Command& command);
    Reply identity(const Command& command);

    Reply listMessages(std::string_view filter, bool motorolaListing);
    Reply readMessage(std::string_view argument);
    Reply deleteMessage(std::string_view argument);
    Reply storages(const Command& command);
    Reply readPhonebook(std::string_view argument);
    Reply error(int cmsCode = 0) const;
    std::vector<SimMessage*> storedMessages();
    // Where a message lies in the storage selected: "MT" numbers the SIM's
    // messages after the phone's memory.
    int location(const SimMessage& message) const;
    SimMessage* messageAt(std::string_view argument);
    std::string pduLine(const SimMessage& message) const;
    std::vector<SimContact>* phonebookContacts();
    int storageTotal(const std::string& storage) const;
    bool standard() const { return m_content.kind == PhoneKind::Standard; }

    PhoneContent m_content;
    std::function<void(std::string_view)> m_observer;
    std::map<std::string, int> m_refusals; // upper-case command line -> +CMS ERROR code
    std::string m_line;
    bool m_echo = true;
    bool m_textMode = false;
    bool m_verboseErrors = false;
    Charset m_charset = Charset::Gsm;
    std::string m_messageStorage = "ME";
    std::string m_phonebookStorage = "ME";
};

} // namespace qb
