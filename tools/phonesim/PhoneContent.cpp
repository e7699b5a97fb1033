#include "tools/phonesim/PhoneContent.h"

#include "tools/phonesim/SmsPdu.h"
#include "tools/phonesim/TextCodec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <sstream>

namespace qb {

namespace {

constexpr std::array<std::string_view, 4> StatusTexts{"REC UNREAD", "REC READ", "STO UNSENT",
                                                      "STO SENT"};
// A delivery report, kept among the received messages.
constexpr std::string_view ReportStatus = "REPORT";

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

bool yesOrNo(std::string_view value, bool& out) {
    if (value != "yes" && value != "no")
        return false;
    out = value == "yes";
    return true;
}

std::vector<std::string> commaList(std::string_view value) {
    std::vector<std::string> items;
    while (!value.empty()) {
        const auto comma = std::min(value.find(','), value.size());
        if (const auto item = trim(value.substr(0, comma)); !item.empty())
            items.emplace_back(item);
        value.remove_prefix(std::min(comma + 1, value.size()));
    }
    return items;
}

class Parser {
  public:
    PhoneContent run(std::string_view text);

  private:
    [[noreturn]] void fail(const std::string& why) const {
        throw ContentError("line " + std::to_string(m_line) + ": " + why);
    }
    void section(std::string_view name);
    void phoneLine(std::string_view line);
    bool standardSetting(const std::string& key, std::string_view value);
    void messageLine(std::string_view line);
    void addParts(SimMessage m, std::string_view indexes);
    void add(SimMessage m);
    void contactLine(std::string_view line);
    void parseDate(std::string_view date, SimMessage& m) const;

    PhoneContent m_content;
    std::string m_section;
    std::string m_storage; // of the messages or phonebook section being read
    int m_references = 0;  // long messages so far, for their references
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
            section(line.substr(1, line.size() - 2));
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

// [messages] and [phonebook] are the phone's memory; [messages SM] and
// [phonebook SM] the SIM's.
void Parser::section(std::string_view name) {
    const auto blank = name.find(' ');
    m_section = name.substr(0, blank);
    m_storage = blank == std::string_view::npos ? "ME" : std::string(trim(name.substr(blank)));
    const bool stored = m_section == "messages" || m_section == "phonebook";
    if ((m_section != "phone" && !stored) || (m_section == "phone" && blank != std::string::npos) ||
        (m_storage != "ME" && m_storage != "SM"))
        fail("unknown section [" + std::string(name) + "]");
}

bool Parser::standardSetting(const std::string& key, std::string_view value) {
    PduQuirks& q = m_content.quirks;
    if (key == "kind" && (value == "motorola" || value == "standard")) {
        m_content.kind = value == "standard" ? PhoneKind::Standard : PhoneKind::Motorola;
        return true;
    }
    if (key == "message storages") {
        m_content.messageStorages = commaList(value);
        return true;
    }
    if (key == "listing indexes" && (value == "locations" || value == "order")) {
        q.listingNumbersInOrder = value == "order";
        return true;
    }
    return (key == "sim capacity" && toInt(value, m_content.simCapacity)) ||
           (key == "sim phonebook size" && toInt(value, m_content.simPhonebookSize)) ||
           (key == "pdu padding" && toInt(value, q.padding)) ||
           (key == "pdu trailing comma" && yesOrNo(value, q.trailingComma)) ||
           (key == "read length" && yesOrNo(value, q.readLength)) ||
           (key == "listing alpha" && yesOrNo(value, q.listingAlpha)) ||
           (key == "ucs2" && yesOrNo(value, q.ucs2));
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
    else if (standardSetting(key, value))
        return;
    else
        fail("unknown or invalid setting \"" + key + "\"");
}

void Parser::messageLine(std::string_view line) {
    const auto f = splitFields(line, 5);
    if (f.size() != 5)
        fail("a message needs index|status|number|date|text");
    SimMessage m;
    m.storage = m_storage;
    const std::string_view status = trim(f[1]);
    const auto known = std::find(StatusTexts.begin(), StatusTexts.end(), status);
    if (status == ReportStatus)
        m.statusReport = true;
    else if (known == StatusTexts.end())
        fail("unknown status \"" + std::string(f[1]) + "\"");
    else
        m.status = static_cast<SmsStatus>(known - StatusTexts.begin());
    m.number = trim(f[2]);
    parseDate(trim(f[3]), m);
    m.text = unescape(f[4]);
    if (f[0].find(',') != std::string_view::npos) {
        addParts(std::move(m), f[0]);
        return;
    }
    if (!toInt(f[0], m.index) || m.index < 1)
        fail("invalid index \"" + std::string(f[0]) + "\"");
    add(std::move(m));
}

// A long message: one index per part, in part order, "-" for a part the
// phone does not hold. The text is cut into that many parts.
void Parser::addParts(SimMessage m, std::string_view indexes) {
    const std::vector<std::string> places = commaList(indexes);
    bool ucs2 = false;
    const auto texts = splitIntoParts(utf8ToUtf16(m.text), places.size(), ucs2);
    if (texts.empty() || m.statusReport)
        fail("the text does not fit " + std::to_string(places.size()) + " parts");
    const int reference = ucs2 ? 0x1200 + ++m_references : 0x40 + ++m_references;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i] == "-")
            continue;
        SimMessage part = m;
        if (!toInt(places[i], part.index) || part.index < 1)
            fail("invalid index \"" + places[i] + "\"");
        part.text = utf16ToUtf8(texts[i]);
        part.part = SimPart{reference, int(places.size()), int(i + 1), ucs2};
        add(std::move(part));
    }
}

void Parser::add(SimMessage m) {
    for (const auto& other : m_content.messages)
        if (other.index == m.index && other.storage == m.storage)
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
    auto& contacts = m_storage == "SM" ? m_content.simContacts : m_content.contacts;
    contacts.push_back({std::string(trim(f[0])), std::string(trim(f[1]))});
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
