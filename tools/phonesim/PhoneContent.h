#pragma once
// What the simulated phone holds: its identity, its messages and its
// phonebook, read from a small UTF-8 text file (format in README.md).
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

enum class SmsStatus { ReceivedUnread, ReceivedRead, StoredUnsent, StoredSent };

// "REC UNREAD", "REC READ", "STO UNSENT", "STO SENT".
std::string_view statusText(SmsStatus status);
// The numeric status of the PDU-mode commands: 0 to 3 in the order above.
int statusCode(SmsStatus status);
bool isReceived(SmsStatus status);

// One part of a long message, stored at an index of its own.
struct SimPart {
    int reference = 0;
    int count = 1;
    int sequence = 1;
    bool ucs2 = false; // every part of the message in one coding, as phones send them
};

struct SimMessage {
    int index = 0;
    SmsStatus status = SmsStatus::ReceivedRead;
    std::string number;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    // UTF-8; line breaks are stored as CR LF, as phones keep them. A part's
    // text may end or begin with half a surrogate pair, kept as its three-byte form.
    std::string text;
    std::string storage = "ME";  // "ME", the phone's memory, or "SM", the SIM
    std::optional<SimPart> part; // a part of a long message
    bool statusReport = false;   // a delivery report, listed as received
};

struct SimContact {
    std::string number;
    std::string name; // UTF-8
};

// Motorola's own dialogue, or only the standard commands in PDU mode.
enum class PhoneKind { Motorola, Standard };

// How a standard phone's PDU mode differs from the tidy form, as real phones do.
struct PduQuirks {
    int padding = 0;            // octets of FF after every PDU
    bool trailingComma = false; // ",0" after every PDU line
    bool readLength = true;     // +CMGR: <stat>,,<length>, else +CMGR: <stat>
    bool listingAlpha = true;   // +CMGL: <i>,<stat>,,<length>, else +CMGL: <i>,<stat>,<length>
    bool listingNumbersInOrder = false; // listing indexes 1, 2, ...: not the storage locations
    bool ucs2 = true;                   // AT+CSCS="UCS2" accepted
};

struct PhoneContent {
    PhoneKind kind = PhoneKind::Motorola;
    std::string manufacturer = "Motorola CE, Copyright 2000";
    std::string model = "MODEL=V3";
    std::string revision = "R374_G_0E.41.C3R_A";
    std::string imei = "354431001234563";
    int phonebookSize = 250;
    int messageCapacity = 500;
    int simCapacity = 30;
    int simPhonebookSize = 100;
    // The storages AT+CPMS=? offers for reading ("MT" is both together).
    std::vector<std::string> messageStorages{"ME", "SM", "MT"};
    PduQuirks quirks;
    std::vector<SimMessage> messages;
    std::vector<SimContact> contacts;    // position k in the phone's phonebook is contacts[k - 1]
    std::vector<SimContact> simContacts; // position k on the SIM is simContacts[k - 1]
};

class ContentError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws ContentError naming the line at fault.
PhoneContent parsePhoneContent(std::string_view text);
PhoneContent loadPhoneContent(const std::string& path);

} // namespace qb
