#include "tools/phonesim/PhoneSimulator.h"

#include "tools/phonesim/AtText.h"

#include <algorithm>

namespace qb {

using namespace at;

namespace {

std::string format(const std::vector<std::string>& lines, const std::string& final) {
    std::string out = "\r\n";
    for (const auto& line : lines)
        out += line + "\r\n";
    if (!lines.empty())
        out += "\r\n";
    return out + final + "\r\n";
}

} // namespace

PhoneSimulator::PhoneSimulator(PhoneContent content) : m_content(std::move(content)) {
    std::sort(m_content.messages.begin(), m_content.messages.end(),
              [](const SimMessage& a, const SimMessage& b) { return a.index < b.index; });
}

void PhoneSimulator::setCommandObserver(std::function<void(std::string_view)> observer) {
    m_observer = std::move(observer);
}

void PhoneSimulator::refuse(std::string commandLine, int cmsCode) {
    m_refusals[upper(trim(commandLine))] = cmsCode;
}

std::string PhoneSimulator::feed(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        if (c == '\n')
            continue; // the LF after a command's CR is swallowed, never echoed
        if (m_echo)
            out += c;
        if (c == '\r') {
            out += execute(m_line);
            m_line.clear();
        } else if (c == '\b') {
            if (!m_line.empty())
                m_line.pop_back();
        } else {
            m_line += c;
        }
    }
    return out;
}

std::string PhoneSimulator::execute(std::string_view line) {
    line = trim(line);
    if (line.empty())
        return {};
    if (m_observer)
        m_observer(line);
    if (line.size() < 2 || upper(line.substr(0, 2)) != "AT")
        return {}; // modems ignore lines that are not commands
    if (const auto refusal = m_refusals.find(upper(line)); refusal != m_refusals.end())
        return format({}, error(refusal->second).final);
    Command command;
    std::string_view body = line.substr(2);
    const auto end = body.find_first_of("=?");
    command.name = upper(body.substr(0, end));
    if (end != std::string_view::npos) {
        const std::string_view rest = body.substr(end);
        if (rest == "?")
            command.form = Command::Form::Read;
        else if (rest == "=?")
            command.form = Command::Form::Test;
        else if (rest[0] == '=') {
            command.form = Command::Form::Set;
            command.argument = rest.substr(1);
        } else {
            return format({}, "ERROR");
        }
    }
    const Reply reply = dispatch(command);
    return format(reply.lines, reply.final);
}

PhoneSimulator::Reply PhoneSimulator::dispatch(const Command& command) {
    if (command.name.empty() || command.name[0] != '+')
        return basic(command);
    const std::string& n = command.name;
    if (n == "+CGMI" || n == "+CGMM" || n == "+CGMR" || n == "+CGSN" || n == "+CFUN" ||
        n == "+CMEE" || n == "+CPIN" || n == "+MODE" || n == "+CSQ" || n == "+CSCS")
        return identity(command);
    if (n == "+CPBS" || n == "+CPBR")
        return phonebook(command);
    return messaging(command);
}

PhoneSimulator::Reply PhoneSimulator::basic(const Command& command) {
    const std::string& n = command.name;
    if (command.form != Command::Form::Action)
        return error();
    if (n == "E0" || n == "E1")
        m_echo = n == "E1";
    else if (n == "Z" || n == "&F") {
        m_echo = true;
        m_textMode = false;
        m_verboseErrors = false;
    } else if (n == "I")
        return {{m_content.manufacturer, m_content.model}};
    else if (!n.empty() && n != "V1" && n != "Q0" && n != "&C1" && n != "&D2")
        return error();
    return {};
}

PhoneSimulator::Reply PhoneSimulator::identity(const Command& command) {
    const std::string& n = command.name;
    const bool query = command.form == Command::Form::Action || command.form == Command::Form::Read;
    if (standard() && command.form == Command::Form::Action) {
        // Other makers answer the identification commands bare.
        if (n == "+CGMI")
            return {{m_content.manufacturer}};
        if (n == "+CGMM")
            return {{m_content.model}};
        if (n == "+CGMR")
            return {{m_content.revision}};
        if (n == "+CGSN")
            return {{m_content.imei}};
    }
    if (n == "+CGMI" && command.form == Command::Form::Action)
        return {{"+CGMI: " + quoted(m_content.manufacturer)}};
    if (n == "+CGMM" && command.form == Command::Form::Action)
        return {
            {"+CGMM: \"GSM900\",\"GSM1800\",\"GSM1900\",\"GSM850\"," + quoted(m_content.model)}};
    if (n == "+CGMR" && command.form == Command::Form::Action)
        return {{"+CGMR: " + quoted(m_content.revision)}};
    if (n == "+CGSN" && command.form == Command::Form::Action)
        return {{"+CGSN: IMEI" + m_content.imei}};
    if (n == "+CSQ" && query)
        return {{"+CSQ: 21,99"}};
    if (n == "+CPIN" && command.form == Command::Form::Read)
        return {{"+CPIN: READY"}};
    if (n == "+CFUN" && command.form == Command::Form::Read)
        return {{"+CFUN: 1"}};
    if (n == "+CMEE" && command.form == Command::Form::Read)
        return {{"+CMEE: " + std::to_string(m_verboseErrors ? 1 : 0)}};
    if (n == "+CMEE" && command.form == Command::Form::Set) {
        m_verboseErrors = trim(command.argument) != "0";
        return {};
    }
    if (n == "+CSCS" && command.form == Command::Form::Test)
        return {{m_content.quirks.ucs2 ? "+CSCS: (\"8859-1\",\"GSM\",\"IRA\",\"UCS2\")"
                                       : "+CSCS: (\"8859-1\",\"GSM\",\"IRA\")"}};
    if (n == "+CSCS" && command.form == Command::Form::Read) {
        const char* names[] = {"UCS2", "GSM", "IRA", "8859-1"};
        return {{"+CSCS: " + quoted(names[static_cast<int>(m_charset)])}};
    }
    if (n == "+CSCS" && command.form == Command::Form::Set) {
        const std::string name = unquote(command.argument);
        if (name == "UCS2" && m_content.quirks.ucs2)
            m_charset = Charset::Ucs2;
        else if (name == "GSM")
            m_charset = Charset::Gsm;
        else if (name == "IRA" || name == "ASCII")
            m_charset = Charset::Ira;
        else if (name == "8859-1")
            m_charset = Charset::Latin1;
        else
            return error();
        return {};
    }
    if ((n == "+CFUN" || n == "+MODE") && command.form == Command::Form::Set)
        return {};
    return error();
}

PhoneSimulator::Reply PhoneSimulator::error(int cmsCode) const {
    if (cmsCode != 0)
        return {{}, "+CMS ERROR: " + std::to_string(cmsCode)};
    return {{}, "ERROR"};
}

} // namespace qb
