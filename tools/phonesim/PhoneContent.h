#pragma once
// What the simulated phone holds: its identity, its messages and its
// phonebook, read from a small UTF-8 text file (format in README.md).
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

struct SimMessage {
    int index = 0;
    SmsStatus status = SmsStatus::ReceivedRead;
    std::string number;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::string text; // UTF-8; line breaks are stored as CR LF, as phones keep them
};

struct SimContact {
    std::string number;
    std::string name; // UTF-8
};

struct PhoneContent {
    std::string manufacturer = "Motorola CE, Copyright 2000";
    std::string model = "MODEL=V3";
    std::string revision = "R374_G_0E.41.C3R_A";
    std::string imei = "354431001234563";
    int phonebookSize = 250;
    int messageCapacity = 500;
    std::vector<SimMessage> messages;
    std::vector<SimContact> contacts; // position k on the phone is contacts[k - 1]
};

class ContentError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws ContentError naming the line at fault.
PhoneContent parsePhoneContent(std::string_view text);
PhoneContent loadPhoneContent(const std::string& path);

} // namespace qb
