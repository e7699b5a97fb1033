#pragma once
// The phonebook of the standard dialogue (3GPP TS 27.007): the character sets
// the phone offers, its phonebook storages, their range and their entries.
#include "reading/ReplyLines.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qb {

// AT+CSCS=? : `+CSCS: ("IRA","GSM","UCS2")`, names in upper case.
Parsed<std::vector<std::string>> parseCharsetsOffered(std::string_view reply);
// AT+CSCS? : `+CSCS: "GSM"`, the set the phone uses now.
Parsed<std::string> parseCharsetSelected(std::string_view reply);

// The character set names and texts arrive in.
enum class PhoneCharset { Ucs2, Gsm, Ira, Latin1, Utf8, Other };
PhoneCharset charsetNamed(std::string_view name);

// AT+CPBS=? : `+CPBS: ("ME","SM","FD","LD","MC","RC","DC","ON","EN")`. The
// phonebooks to read follow the rule for message storages (storagesToRead):
// "SM" and "ME", "MT" only where one of them is not offered.
Parsed<std::vector<std::string>> parsePhonebooksOffered(std::string_view reply);

// AT+CPBR=? : `+CPBR: (1-250),40,24`: the positions (a SIM phonebook may be
// numbered from 501), and where given the longest number and name.
struct PhonebookRange {
    int first = 1;
    int last = 0;
    std::optional<int> numberLength;
    std::optional<int> nameLength;
};
Parsed<PhonebookRange> parsePhonebookRange(std::string_view reply);

// The ranges to ask for, first to last, at most `perCommand` positions each:
// a phone answers a short range quickly, some refuse a long one, and the
// progress moves with every answer.
std::vector<std::pair<int, int>> phonebookChunks(const PhonebookRange& range, int perCommand);

struct PhonebookContact {
    int index = 0;
    QString number; // "+" in front where the type says international (145)
    QString name;
};

// AT+CPBR=<first>,<last> : `+CPBR: <index>,"<number>",<type>,"<name>"[,...]`
// per entry, blank lines between entries allowed. Names come as UCS2 hex
// digits after AT+CSCS="UCS2" (a name that is no such digits is taken as it
// stands), or in the phone's own character set where UCS2 was refused.
// Numbers that some phones also send as UCS2 digits are read back. A line
// that is no entry is an error.
Parsed<std::vector<PhonebookContact>> parsePhonebookContacts(std::string_view reply,
                                                             PhoneCharset charset);

} // namespace qb
