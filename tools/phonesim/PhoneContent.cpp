#include "tools/phonesim/PhoneContent.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <sstream>

namespace qb {

namespace {

constexpr std::array<std::string_view, 4> StatusTexts{"REC UNREAD", "REC READ", "STO UNSENT",
                                                      "STO SENT"};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Splits at the first count - 1 bars; the last field keeps any further bars.
std::vector<std::string_view> splitFields(std::string_view line, std::size_t count) {
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const auto bar = line.find('|');
        if (bar == std::string_view::npos)
            break;
        fields.push_back(line.substr(0, bar));
        line.remove_prefix(bar + 1);
    }
    fields.push_back(line);
    return fields;
}

bool toInt(std::string_view s, int& value) {
    s = trim(s);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

// "\n" is a line break (kept as CR LF), "\\" a backslash.
std::string unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            out += "\r\n";
            ++i;
        } else if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

class Parser {
  public:
    PhoneContent run(std::string_view text);

  private:
    [[noreturn]] void fail(const std::string& why) const {
        throw ContentError("line " + std::to_string(m_line) + ": " + why);
    }
    void phoneLine(std::string_view line);
    void messageLine(std::string_view line);
    void contactLine(std::string_view line);
    void parseDate(std::string_view date, SimMessage& m) const;

    PhoneContent m_content;
    std::string m_section;
    int m_line = 0;
};

PhoneContent Parser::run(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::string raw;
    while (std::getline(in, raw)) {
        ++m_line;
        const std::string_view line = trim(raw);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            m_section = line.substr(1, line.size() - 2);
            if (m_section != "phone" && m_section != "messages" && m_section != "phonebook")
                fail("unknown section [" + m_section + "]");
        } else if (m_section == "phone") {
            phoneLine(line);
        } else if (m_section == "messages") {
            messageLine(line);
        } else if (m_section == "phonebook") {
            contactLine(line);
        } else {
            fail("text outside a section");
        }
    }
    return std::move(m_content);
}

void Parser::phoneLine(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        fail("expected key = value");
    const std::string key{trim(line.substr(0, eq))};
    const std::string_view value = trim(line.substr(eq + 1));
    if (key == "manufacturer")
        m_content.manufacturer = value;
    else if (key == "model")
        m_content.model = value;
    else if (key == "revision")
        m_content.revision = value;
    else if (key == "imei")
        m_content.imei = value;
    else if (key == "phonebook size" && toInt(value, m_content.phonebookSize))
        return;
    else if (key == "message capacity" && toInt(value, m_content.messageCapacity))
        return;
    else
        fail("unknown or invalid setting \"" + key + "\"");
}

void Parser::messageLine(std::string_view line) {
    const auto f = splitFields(line, 5);
    if (f.size() != 5)
        fail("a message needs index|status|number|date|text");
    SimMessage m;
    if (!toInt(f[0], m.index) || m.index < 1)
        fail("invalid index \"" + std::string(f[0]) + "\"");
    const auto status = std::find(StatusTexts.begin(), StatusTexts.end(), trim(f[1]));
    if (status == StatusTexts.end())
        fail("unknown status \"" + std::string(f[1]) + "\"");
    m.status = static_cast<SmsStatus>(status - StatusTexts.begin());
    m.number = trim(f[2]);
    parseDate(trim(f[3]), m);
    m.text = unescape(f[4]);
    for (const auto& other : m_content.messages)
        if (other.index == m.index)
            fail("index " + std::to_string(m.index) + " used twice");
    m_content.messages.push_back(std::move(m));
}

void Parser::parseDate(std::string_view date, SimMessage& m) const {
    if (date.empty())
        return;
    int* parts[] = {&m.year, &m.month, &m.day, &m.hour, &m.minute, &m.second};
    const char separators[] = "//,::";
    for (int i = 0; i < 6; ++i) {
        const auto end = i < 5 ? date.find(separators[i]) : date.size();
        if (end == std::string_view::npos || !toInt(date.substr(0, end), *parts[i]))
            fail("date must read YYYY/MM/DD,hh:mm:ss");
        date.remove_prefix(i < 5 ? end + 1 : end);
    }
}

void Parser::contactLine(std::string_view line) {
    const auto f = splitFields(line, 2);
    if (f.size() != 2 || trim(f[0]).empty())
        fail("a contact needs number|name");
    m_content.contacts.push_back({std::string(trim(f[0])), std::string(trim(f[1]))});
}

} // namespace

std::string_view statusText(SmsStatus status) {
    return StatusTexts[static_cast<std::size_t>(status)];
}

int statusCode(SmsStatus status) {
    return static_cast<int>(status);
}

bool isReceived(SmsStatus status) {
    return status == SmsStatus::ReceivedRead || status == SmsStatus::ReceivedUnread;
}

PhoneContent parsePhoneContent(std::string_view text) {
    return Parser().run(text);
}

PhoneContent loadPhoneContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ContentError("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return parsePhoneContent(text.str());
}

} // namespace qb
