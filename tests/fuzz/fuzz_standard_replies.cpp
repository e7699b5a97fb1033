// Any bytes as the replies of the standard dialogue: storages, character
// sets, phonebooks, their range and entries, the maker.
#include "reading/PhoneIdentity.h"
#include "reading/StandardPhonebook.h"
#include "reading/StorageReplies.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto offered = qb::parseOfferedStorages(text)) {
        // Only storages that hold the user's messages are read, each once.
        const auto read = qb::storagesToRead(offered->read);
        if (read.size() > 2 || (read.size() == 2 && read != std::vector<std::string>{"SM", "ME"}))
            std::abort();
    }
    (void)qb::parseSelectedStorages(text);
    if (const auto use = qb::parseStorageChosen(text); use && (use->used < 0 || use->total < 0))
        std::abort();
    (void)qb::parseCharsetsOffered(text);
    (void)qb::parseCharsetSelected(text);
    (void)qb::parsePhonebooksOffered(text);
    if (const auto range = qb::parsePhonebookRange(text)) {
        // The chunks cover the range, in order, none empty or overlapping.
        int next = range->first;
        for (const auto& [first, last] : qb::phonebookChunks(*range, 50)) {
            if (first != next || last < first || last - first >= 50)
                std::abort();
            next = last + 1;
        }
        if (next != range->last + 1)
            std::abort();
    }
    for (const auto charset :
         {qb::PhoneCharset::Ucs2, qb::PhoneCharset::Gsm, qb::PhoneCharset::Utf8})
        (void)qb::parsePhonebookContacts(text, charset);
    if (const auto maker = qb::parseManufacturer(text); maker && maker->empty())
        std::abort();
    return 0;
}
