#include "export/smartphone/AndroidSmsXml.h"

#include "numbers/CorrespondentKeys.h"

#include "archive/FolderTree.h"
#include "archive/RecordLines.h"
#include "export/smartphone/XmlText.h"

#include "core/ArchiveText.h"
#include "core/Failure.h"
#include "core/HugePages.h"
#include "export/smartphone/EstimatedDates.h"

#include <QDateTime>
#include <QHash>
#include <QUuid>

#include <algorithm>
#include <charconv>
#include <ctime>
#include <unordered_map>
#include <vector>

namespace qb {
namespace {

int64_t daysFromCivil(int year, int month, int day) {
    // Days since 1970-01-01 of a proleptic Gregorian date.
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

std::optional<int64_t> localEpochMs(const MessageTime& s) {
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

namespace {

void appendDigits(std::string& out, int value, int width) {
    char digits[8];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = char('0' + value % 10);
    out.append(digits, std::size_t(width));
}

// "24 Apr 2008 11:00:00": the time as the phone stamped it, in local time.
void appendReadableDate(std::string& out, const MessageTime& s) {
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

std::optional<MessageTime> localTime(int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return std::nullopt;
    MessageTime time;
    time.year = static_cast<std::int16_t>(local.tm_year + 1900);
    time.month = static_cast<std::int8_t>(local.tm_mon + 1);
    time.day = static_cast<std::int8_t>(local.tm_mday);
    time.hour = static_cast<std::int8_t>(local.tm_hour);
    time.minute = static_cast<std::int8_t>(local.tm_min);
    time.second = static_cast<std::int8_t>(local.tm_sec);
    return time;
}

// The app's own types: 1 received, 2 sent, 3 draft.
char androidType(FolderKind kind) {
    return kind == FolderKind::Inbox ? '1' : kind == FolderKind::Outbox ? '2' : '3';
}

bool hasAddress(const MessageView& message) {
    return message.number.find_first_not_of(' ') != std::string_view::npos;
}

// One message as it is to be written.
struct Planned {
    MessageView message;
    std::optional<int64_t> ms; // none: date "0"
    std::optional<MessageTime> stamp;
    bool estimated = false;
};

// The list's text for a contact without a name, in Windows-1251.
const std::string_view NoName = "\xC1\xE5\xE7 \xE8\xEC\xE5\xED\xE8";

class SmsWriter {
  public:
    SmsWriter(const Phonebook& phonebook, AndroidSmsXml& out) : m_names(phonebook), m_out(out) {}

    void write(const Planned& planned) {
        const MessageView& message = planned.message;
        char digits[24];
        const std::string_view date(
            digits, std::to_chars(digits, digits + sizeof digits, planned.ms.value_or(0)).ptr);
        std::string& xml = m_out.xml;
        xml += "  <sms protocol=\"0\" address=\"";
        text(message.number);
        xml += "\" date=\"";
        xml += date;
        xml += "\" type=\"";
        xml += androidType(message.folder);
        xml += "\" subject=\"null\" body=\"";
        text(message.text);
        xml += "\" toa=\"null\" sc_toa=\"null\" service_center=\"null\" read=\"";
        xml += message.status == MessageStatus::Unread ? '0' : '1';
        xml += "\" status=\"-1\" locked=\"0\" date_sent=\"";
        xml += message.folder == FolderKind::Inbox ? date : std::string_view("0");
        xml += "\" readable_date=\"";
        if (planned.stamp)
            appendReadableDate(xml, *planned.stamp);
        xml += "\" contact_name=\"";
        xml += contactName(message.folder, message.number);
        xml += "\" />\n";
        ++m_out.messages;
    }

  private:
    void text(std::string_view cp1251) {
        m_out.droppedCharacters += m_text.append(m_out.xml, cp1251);
    }

    // The escaped name, looked up once per correspondent: an archive holds
    // many messages of few people.
    const std::string& contactName(FolderKind kind, std::string_view number) {
        std::string key = char('0' + int(kind)) + std::string(number);
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

// Where the phone kept the message: a standard phone's first part's place,
// else the one index of a Motorola phone's storage.
void setPlace(StoredMessage& place, const MessageView& message) {
    place.index = message.index;
    if (message.index)
        return;
    const std::vector<StorageLocation> places = record::phoneLocations(record::indexLine(message));
    if (places.empty())
        return;
    place.storage = places.front().storage;
    place.index = places.front().index;
}

// Every message with its time: its own, an estimate, or none, as chosen.
std::vector<Planned> planMessages(const Archive& archive, UndatedMessages undated) {
    std::size_t total = 0;
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        total += static_cast<std::size_t>(archive.folder(kind).count());
    std::vector<Planned> planned;
    std::vector<StoredMessage> stored;
    planned.reserve(total);
    stored.reserve(total);
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        for (const MessageView message : archive.folder(kind)) {
            Planned plan{message, std::nullopt, message.time, false};
            if (plan.stamp)
                plan.ms = localEpochMs(*plan.stamp);
            if (!plan.ms)
                plan.stamp.reset();
            // One left out for want of an address takes no part in the estimate.
            StoredMessage place{std::nullopt, plan.ms, kind == FolderKind::Inbox, {}};
            if (hasAddress(message))
                setPlace(place, message);
            stored.push_back(std::move(place));
            planned.push_back(plan);
        }
    }
    if (undated == UndatedMessages::Estimate) {
        const std::vector<std::optional<int64_t>> times = estimateTimes(stored);
        for (std::size_t i = 0; i < planned.size(); ++i) {
            if (!planned[i].ms && times[i]) {
                planned[i].ms = times[i];
                planned[i].stamp = localTime(*times[i]);
                planned[i].estimated = true;
            }
        }
    }
    return planned;
}

// Drafts whose conversation (their correspondent) holds another draft.
int draftsSharingConversation(const std::vector<Planned>& written, const QString& homeRegion) {
    const CorrespondentKeys keys =
        homeRegion.isEmpty() ? CorrespondentKeys() : CorrespondentKeys(homeRegion);
    QHash<QString, int> drafts;
    for (const Planned& planned : written)
        if (planned.message.folder == FolderKind::Draft)
            ++drafts[keys.keyOf(archivetext::decode(planned.message.number))];
    int sharing = 0;
    for (const int count : std::as_const(drafts))
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
    for (const Planned& planned : written)
        bytes += 400 + 3 * (planned.message.text.size() + planned.message.number.size()) +
                 3 * longestName;
    return bytes;
}

std::string newBackupSet() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

} // namespace

AndroidSmsXml androidSmsXml(const Archive& archive, const Phonebook& phonebook,
                            const AndroidSmsOptions& options) {
    tzset(); // once: the conversions below rely on the zone read here
    AndroidSmsXml out;
    const std::vector<Planned> planned = planMessages(archive, options.undated);
    std::vector<Planned> written;
    written.reserve(planned.size());
    for (const Planned& plan : planned) {
        // A message without an address fits no conversation on Android.
        if (!hasAddress(plan.message))
            ++out.withoutAddress;
        else if (!plan.ms && options.undated == UndatedMessages::Skip)
            ++out.skippedUndated;
        else
            written.push_back(plan);
    }
    for (const Planned& plan : written) {
        out.undated += !plan.ms;
        out.estimated += plan.estimated;
    }
    out.draftsSharingConversation = draftsSharingConversation(written, options.homeRegion);

    const int64_t backupDate = options.backupDate.value_or(QDateTime::currentMSecsSinceEpoch());
    out.xml = "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses count=\"";
    out.xml += std::to_string(written.size()) + "\" backup_set=\"";
    appendXmlAttribute(out.xml, options.backupSet.empty() ? newBackupSet() : options.backupSet);
    out.xml += "\" backup_date=\"" + std::to_string(backupDate) + "\" type=\"full\">\n";
    out.xml.reserve(sizeEstimate(written, phonebook));
    adviseHugePages(out.xml);
    SmsWriter writer(phonebook, out);
    for (const Planned& plan : written)
        writer.write(plan);
    out.xml += "</smses>\n";
    return out;
}

} // namespace qb
