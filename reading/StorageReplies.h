#pragma once
// The message storages of the standard dialogue (3GPP TS 27.005, +CPMS): which
// the phone offers, which to read, and how full each is.
#include "reading/ReplyLines.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The storages offered for each of +CPMS's three parameters: reading and
// deleting, writing and sending, receiving. Names in upper case ("SM", "ME").
struct OfferedStorages {
    std::vector<std::string> read;
    std::vector<std::string> write;
    std::vector<std::string> receive;
};

// AT+CPMS=? : `+CPMS: ("ME","SM","MT"),("ME","SM","MT"),("SM","MT")`; also a
// single name standing for a group (`+CPMS: "ME","MT","SM"`), empty groups
// (`+CPMS: (),(),()`) and blanks anywhere. Missing groups are empty.
Parsed<OfferedStorages> parseOfferedStorages(std::string_view reply);

// The storages to list, in this order, from those offered for reading.
//
// "MT" is the phone's memory and the SIM's together. Where both "SM" and "ME"
// are offered, each is read on its own and "MT" is not read: listing "MT" too
// would give every message a second time. Only where one of the two is not
// offered does "MT" stand in for both, on its own, for the same reason; and a
// phone offering only one of them is read there. Other storages hold no
// messages of the user's (broadcasts "BM", status reports "SR", the
// terminal adaptor "TA"). Empty when none of the three is offered (a phone
// answering `+CPMS: (),(),()`): the read then lists the storage the phone has
// selected, without choosing one.
std::vector<std::string> storagesToRead(const std::vector<std::string>& offered);

// How full a storage is.
struct StorageUse {
    int used = 0;
    int total = 0;
};

// The storages selected now and how full they are, for putting the phone's
// own choice back after the read.
struct SelectedStorage {
    std::string name;
    StorageUse use;
};

// AT+CPMS? : `+CPMS: "ME",1,100,"MT",5,100,"TA",1,100` (one to three storages).
Parsed<std::vector<SelectedStorage>> parseSelectedStorages(std::string_view reply);

// AT+CPMS="SM" : `+CPMS: 5,30,5,30,5,30`, the first pair being the storage just
// chosen for reading. Some phones put the names in as in the AT+CPMS? answer.
Parsed<StorageUse> parseStorageChosen(std::string_view reply);

} // namespace qb
