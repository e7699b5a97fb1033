#include "export/smartphone/AndroidSmsXml.h"

#include "archive/FolderTree.h"
#include "export/smartphone/XmlText.h"

#include "core/Failure.h"
#include "core/HugePages.h"
#include "export/smartphone/EstimatedDates.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QUuid>

#include <algorithm>
#include <charconv>
#include <ctime>
#include <unordered_map>
#include <vector>

namespace qb {
namespace {

// The fields of "DD/MM/YYYY,hh:mm:ss", checked to be a real date and time.
struct Stamp {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
};

int number(std::string_view text, std::size_t at, std::size_t length) {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<Stamp> parseStamp(std::string_view text) {
    // A zone or quote after the seconds is ignored, as the list ignores it.
    if (text.size() < 19 || text[2] != '/' || text[5] != '/' || text[10] != ',' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const Stamp s{number(text, 0, 2),  number(text, 3, 2),  number(text, 6, 4),
                  number(text, 11, 2), number(text, 14, 2), number(text, 17, 2)};
    if (!QDate::isValid(s.year, s.month, s.day) || !QTime::isValid(s.hour, s.minute, s.second))
        return std::nullopt;
    return s;
}

int64_t daysFromCivil(int year, int month, int day) {
    // Days since 1970-01-01 of a proleptic Gregorian date.
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::optional<int64_t> localEpochMs(const Stamp& s) {
    // The local zone's offset at that moment, found the way mktime finds it but
    // with localtime_r, which does not look the zone file up again each call.
    const int64_t wall =
        daysFromCivil(s.year, s.month, s.day) * 86400 + s.hour * 3600 + s.minute * 60 + s.second;
    std::time_t guess = static_cast<std::time_t>(wall);
    for (int round = 0; round < 3; ++round) {
        std::tm local{};
        if (!localtime_r(&guess, &local))
            return std::nullopt;
        const std::time_t next = static_cast<std::time_t>(wall - local.tm_gmtoff);
        if (next == guess)
            break;
        guess = next;
    }
    return int64_t(guess) * 1000;
}

void appendDigits(std::string& out, int value, int width) {
    char digits[8];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = char('0' + value % 10);
    out.append(digits, std::size_t(width));
}

// "24 Apr 2008 11:00:00": the stamp as the archive holds it, in local time.
void appendReadableDate(std::string& out, const Stamp& s) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    appendDigits(out, s.day, s.day < 10 ? 1 : 2);
    out += ' ';
    out += months[s.month - 1];
    out += ' ';
    appendDigits(out, s.year, 4);
    out += ' ';
    appendDigits(out, s.hour, 2);
    out += ':';
    appendDigits(out, s.minute, 2);
    out += ':';
    appendDigits(out, s.second, 2);
}

std::optional<Stamp> localStamp(int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return std::nullopt;
    return Stamp{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                 local.tm_hour, local.tm_min,     local.tm_sec};
}

// The app's own types: 1 received, 2 sent, 3 draft.
char androidType(FolderKind kind) {
    return kind == FolderKind::Inbox ? '1' : kind == FolderKind::Outbox ? '2' : '3';
}

bool hasAddress(const ArchiveRecord& record) {
    return record.correspondent.find_first_not_of(' ') != std::string::npos;
}

// One message as it is to be written.
struct Planned {
    FolderKind kind;
    const ArchiveRecord* record;
    std::optional<int64_t> ms; // none: date "0"
    std::optional<Stamp> stamp;
    bool estimated = false;
};

// The list's text for a contact without a name, in Windows-1251.
const std::string_view NoName = "\xC1\xE5\xE7 \xE8\xEC\xE5\xED\xE8";

class SmsWriter {
  public:
    SmsWriter(const Phonebook& phonebook, AndroidSmsXml& out) : m_names(phonebook), m_out(out) {}

    void write(const Planned& message) {
        const ArchiveRecord& record = *message.record;
        char digits[24];
        const std::string_view date(
            digits, std::to_chars(digits, digits + sizeof digits, message.ms.value_or(0)).ptr);
        std::string& xml = m_out.xml;
        xml += "  <sms protocol=\"0\" address=\"";
        text(record.correspondent);
        xml += "\" date=\"";
        xml += date;
        xml += "\" type=\"";
        xml += androidType(message.kind);
        xml += "\" subject=\"null\" body=\"";
        text(record.text);
        xml += "\" toa=\"null\" sc_toa=\"null\" service_center=\"null\" read=\"";
        xml += record.status == "REC UNREAD" ? '0' : '1';
        xml += "\" status=\"-1\" locked=\"0\" date_sent=\"";
        xml += message.kind == FolderKind::Inbox ? date : std::string_view("0");
        xml += "\" readable_date=\"";
        if (message.stamp)
            appendReadableDate(xml, *message.stamp);
        xml += "\" contact_name=\"";
        xml += contactName(message.kind, record.correspondent);
        xml += "\" />\n";
        ++m_out.messages;
    }

  private:
    void text(std::string_view cp1251) {
        m_out.droppedCharacters += m_text.append(m_out.xml, cp1251);
    }

    // The escaped name, looked up once per correspondent: an archive holds
    // many messages of few people.
    const std::string& contactName(FolderKind kind, const std::string& number) {
        std::string key = char('0' + int(kind)) + number;
        auto [at, added] = m_contactNames.try_emplace(std::move(key));
        if (added) {
            const std::optional<std::string> name = m_names.lookupName(number, kind);
            if (name && !name->empty() && *name != NoName)
                m_out.droppedCharacters += m_text.append(at->second, *name);
            if (at->second.empty()) // as the app writes a number without a contact
                at->second = "(Unknown)";
        }
        return at->second;
    }

    NameIndex m_names;
    Cp1251XmlAttribute m_text;
    std::unordered_map<std::string, std::string> m_contactNames;
    AndroidSmsXml& m_out;
};

// Every message with its time: its own, an estimate, or none, as chosen.
std::vector<Planned> planMessages(const Archive& archive, UndatedMessages undated) {
    std::size_t total = 0;
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        total += archive.folder(kind).records.size();
    std::vector<Planned> planned;
    std::vector<StoredMessage> stored;
    planned.reserve(total);
    stored.reserve(total);
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        for (const ArchiveRecord& record : archive.folder(kind).records) {
            Planned message{kind, &record, std::nullopt, std::nullopt, false};
            if (kind == FolderKind::Inbox && (message.stamp = parseStamp(record.date)))
                message.ms = localEpochMs(*message.stamp);
            if (!message.ms)
                message.stamp.reset();
            // One left out for want of an address takes no part in the estimate.
            const std::optional<int> index =
                hasAddress(record) ? parseBlankLedNumber(record.index) : std::nullopt;
            stored.push_back({index, message.ms, kind == FolderKind::Inbox});
            planned.push_back(message);
        }
    }
    if (undated == UndatedMessages::Estimate) {
        const std::vector<std::optional<int64_t>> times = estimateTimes(stored);
        for (std::size_t i = 0; i < planned.size(); ++i) {
            if (!planned[i].ms && times[i]) {
                planned[i].ms = times[i];
                planned[i].stamp = localStamp(*times[i]);
                planned[i].estimated = true;
            }
        }
    }
    return planned;
}

// Drafts whose conversation (their address) holds another draft.
int draftsSharingConversation(const std::vector<Planned>& written) {
    std::unordered_map<std::string_view, int> drafts;
    for (const Planned& message : written)
        if (message.kind == FolderKind::Draft)
            ++drafts[message.record->correspondent];
    int sharing = 0;
    for (const auto& [address, count] : drafts)
        if (count > 1)
            sharing += count;
    return sharing;
}

// Bytes enough for the messages' XML: outgrowing the reservation would copy
// the whole text over, and pages reserved but never written cost nothing.
std::size_t sizeEstimate(const std::vector<Planned>& written, const Phonebook& phonebook) {
    std::size_t longestName = 0;
    for (const PhonebookEntry& entry : phonebook.entries)
        longestName = std::max(longestName, entry.name.size());
    // A Windows-1251 byte takes at most 3 bytes of UTF-8 or 6 of an escape; texts
    // are mostly letters (2 bytes at most), and the fixed attributes take ~300.
    std::size_t bytes = 512;
    for (const Planned& message : written)
        bytes += 400 + 3 * (message.record->text.size() + message.record->correspondent.size()) +
                 3 * longestName;
    return bytes;
}

std::string newBackupSet() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

} // namespace

std::optional<int64_t> archiveStampToEpochMs(std::string_view stamp) {
    tzset();
    const std::optional<Stamp> fields = parseStamp(stamp);
    return fields ? localEpochMs(*fields) : std::nullopt;
}

AndroidSmsXml androidSmsXml(const Archive& archive, const Phonebook& phonebook,
                            const AndroidSmsOptions& options) {
    tzset(); // once: the conversions below rely on the zone read here
    AndroidSmsXml out;
    const std::vector<Planned> planned = planMessages(archive, options.undated);
    std::vector<Planned> written;
    written.reserve(planned.size());
    for (const Planned& message : planned) {
        // A message without an address fits no conversation on Android.
        if (!hasAddress(*message.record))
            ++out.withoutAddress;
        else if (!message.ms && options.undated == UndatedMessages::Skip)
            ++out.skippedUndated;
        else
            written.push_back(message);
    }
    for (const Planned& message : written) {
        out.undated += !message.ms;
        out.estimated += message.estimated;
    }
    out.draftsSharingConversation = draftsSharingConversation(written);

    const int64_t backupDate = options.backupDate.value_or(QDateTime::currentMSecsSinceEpoch());
    out.xml = "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses count=\"";
    out.xml += std::to_string(written.size()) + "\" backup_set=\"";
    appendXmlAttribute(out.xml, options.backupSet.empty() ? newBackupSet() : options.backupSet);
    out.xml += "\" backup_date=\"" + std::to_string(backupDate) + "\" type=\"full\">\n";
    out.xml.reserve(sizeEstimate(written, phonebook));
    adviseHugePages(out.xml);
    SmsWriter writer(phonebook, out);
    for (const Planned& message : written)
        writer.write(message);
    out.xml += "</smses>\n";
    return out;
}

} // namespace qb
