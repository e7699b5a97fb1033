// The standard dialogue's steps, in the order a read takes them, against the
// simulated standard phone: its commands, parsers, PDU decoding and the
// joining of long messages together give back what the phone holds. The
// simulator encodes its PDUs on its own, so this checks the decoder against
// an independent encoder too.
#include "codecs/LongMessages.h"
#include "reading/PduListing.h"
#include "reading/PhoneIdentity.h"
#include "reading/StandardCommands.h"
#include "reading/StandardPhonebook.h"
#include "reading/StorageReplies.h"
#include "tools/phonesim/PhoneSimulator.h"

#include <gtest/gtest.h>

#include <map>

using namespace qb;
using Names = std::vector<std::string>;

namespace {

QString u(const char16_t* text) {
    return QString::fromUtf16(text);
}

class StandardDialogue {
  public:
    explicit StandardDialogue(PhoneContent content) : m_phone(std::move(content)) {}

    std::string ask(const AtCommand& command) { return m_phone.feed(command.text + "\r"); }
    std::vector<std::string> sent;

    // The storage's messages as a read takes them: listed, then, where the
    // listing's indexes cannot be trusted as locations, location by location.
    std::vector<StoredPdu> readStorage(const std::string& storage) {
        const auto use = parseStorageChosen(ask(m_commands.chooseStorage(storage)));
        EXPECT_TRUE(use);
        const PduListing listing = parsePduListing(ask(m_commands.listAll()));
        EXPECT_TRUE(listing.unreadable.empty());
        if (trustworthy(listing, use ? std::optional(*use) : std::nullopt))
            return decoded(storage, listing.messages);
        std::vector<ListedPdu> located;
        for (int index = 1; use && index <= use->total; ++index) {
            const auto read = parsePduRead(ask(m_commands.readMessage(index)));
            if (read && *read)
                located.push_back({index, (*read)->status, (*read)->tpduLength, (*read)->hex, {}});
        }
        return decoded(storage, located);
    }

  private:
    bool trustworthy(const PduListing& listing, std::optional<StorageUse> use) {
        if (!indexesCanBeLocations(listing.messages, use))
            return false;
        if (listing.messages.empty())
            return true;
        const ListedPdu& last = listing.messages.back();
        const auto read = parsePduRead(ask(m_commands.readMessage(last.index)));
        return read && *read && sameMessage(last, **read);
    }

    static std::vector<StoredPdu> decoded(const std::string& storage,
                                          const std::vector<ListedPdu>& listed) {
        std::vector<StoredPdu> parts;
        for (const ListedPdu& m : listed) {
            const PduDecoding d = decodePdu(m.hex, m.tpduLength);
            EXPECT_TRUE(d) << m.hex;
            if (d)
                parts.push_back({{storage, m.index}, m.status, *d.pdu});
        }
        return parts;
    }

    PhoneSimulator m_phone;
    StandardCommands m_commands;
};

struct ReadPhone {
    JoinedMessages messages;
    std::vector<PhonebookContact> contacts;
    PhoneDialogue dialogue = PhoneDialogue::Motorola;
};

ReadPhone readPhone(StandardDialogue& phone) {
    const StandardCommands commands;
    ReadPhone read;
    phone.ask(commands.resync());
    phone.ask(commands.echoOn());
    phone.ask(commands.numericErrors());
    const auto maker = parseManufacturer(phone.ask(commands.manufacturer()));
    read.dialogue = maker ? dialogueForMaker(*maker) : PhoneDialogue::Standard;
    phone.ask(commands.pduMode());
    const auto offered = parseOfferedStorages(phone.ask(commands.storagesOffered()));
    const auto selected = parseSelectedStorages(phone.ask(commands.storagesSelected()));
    std::vector<StoredPdu> parts;
    for (const std::string& storage : storagesToRead(offered ? offered->read : Names{})) {
        std::vector<StoredPdu> more = phone.readStorage(storage);
        parts.insert(parts.end(), more.begin(), more.end());
    }
    if (selected && !selected->empty())
        phone.ask(commands.chooseStorage(selected->front().name)); // as the user had it
    read.messages = joinLongMessages(parts);

    const auto charsets = parseCharsetsOffered(phone.ask(commands.charsetsOffered()));
    PhoneCharset charset = PhoneCharset::Ucs2;
    if (!charsets || std::find(charsets->begin(), charsets->end(), "UCS2") == charsets->end()) {
        const auto own = parseCharsetSelected(phone.ask(commands.charsetSelected()));
        charset = own ? charsetNamed(*own) : PhoneCharset::Other;
    } else {
        phone.ask(commands.chooseCharset("UCS2"));
    }
    const auto books = parsePhonebooksOffered(phone.ask(commands.phonebooksOffered()));
    for (const std::string& book : storagesToRead(books ? *books : Names{})) {
        phone.ask(commands.choosePhonebook(book));
        const auto range = parsePhonebookRange(phone.ask(commands.phonebookRange()));
        if (!range)
            continue;
        for (const auto& [first, last] :
             phonebookChunks(*range, StandardCommands::PhonebookChunk)) {
            const auto contacts =
                parsePhonebookContacts(phone.ask(commands.phonebookEntries(first, last)), charset);
            if (contacts)
                read.contacts.insert(read.contacts.end(), contacts->begin(), contacts->end());
        }
    }
    return read;
}

// The messages by number and kind ("+79161234567/0": received); where a
// number has several, the one listed first.
std::map<QString, const JoinedMessage*> byNumber(const JoinedMessages& joined) {
    std::map<QString, const JoinedMessage*> found;
    for (const JoinedMessage& m : joined.messages)
        found.emplace(m.address.number + u'/' + QString::number(int(m.kind)), &m);
    return found;
}

} // namespace

TEST(StandardDialogue, ReadsTheSamplePhoneWholeAndJoined) {
    StandardDialogue phone(loadPhoneContent(QUILLBOX_STANDARD_PHONE));
    const ReadPhone read = readPhone(phone);
    EXPECT_EQ(read.dialogue, PhoneDialogue::Standard);
    EXPECT_EQ(read.messages.messages.size(), 11u);
    EXPECT_EQ(read.messages.statusReports, 1);
    EXPECT_EQ(read.messages.incompleteMessages, 1);
    EXPECT_EQ(read.messages.missingParts, 1);
    const auto m = byNumber(read.messages);

    const JoinedMessage& lena = *m.at(u(u"+79032223344/0"));
    EXPECT_TRUE(lena.text.startsWith(u"Лена, привет!"));
    EXPECT_TRUE(lena.text.endsWith(u"Не забудь подарок!"));
    EXPECT_EQ(lena.locations.size(), 3u);
    EXPECT_EQ(lena.locations[0], (StorageLocation{"SM", 5}));
    EXPECT_EQ(lena.status, StoredStatus::ReceivedUnread);

    EXPECT_EQ(m.at(u(u"InternetSMS/0"))->text, u"Баланс: 120,50 р. Спасибо, что Вы с нами!");
    EXPECT_EQ(m.at(u(u"+306912345678/0"))->text, u"ΔΣ ΩΠ: ΦΓΛΨΞΘ at 8, see you!");
    EXPECT_EQ(m.at(u(u"+8613800138000/0"))->text, u"你好！😀 See you soon 👍");
    EXPECT_TRUE(m.at(u(u"+447700900123/0"))
                    ->text.startsWith(u"Hi! Meet at [Cafe Roma] {8pm}, ~5 EUR or €5"));
    const JoinedMessage& gap = *m.at(u(u"+79264445566/0"));
    EXPECT_NE(gap.text.indexOf(MissingPartMark), -1);
    EXPECT_EQ(gap.missingParts, 1);
    EXPECT_EQ(m.at(u(u"+79055556677/1"))->status, StoredStatus::StoredSent);
    EXPECT_EQ(m.at(u(u"+79167778899/1"))->status, StoredStatus::StoredUnsent);
    EXPECT_EQ(m.at(u(u"+79161234567/1"))->text,
              u"Мам, всё хорошо, позвоню вечером 🙂");
    ASSERT_TRUE(m.at(u(u"+79161234567/0"))->time);
    EXPECT_EQ(m.at(u(u"+79161234567/0"))->time->toDateTime().toString(Qt::ISODate),
              u"2009-05-02T10:15:00+03:00");

    ASSERT_EQ(read.contacts.size(), 8u);
    EXPECT_EQ(read.contacts[0].name, u"Мама");
    EXPECT_EQ(read.contacts[6].name, u"王伟");
    EXPECT_EQ(read.contacts[7].name, u"Νίκος");
}

TEST(StandardDialogue, APhoneWhoseListingIsNoLocationsIsReadLocationByLocation) {
    PhoneContent content = loadPhoneContent(QUILLBOX_STANDARD_PHONE);
    content.quirks = {2, true, false, false, true, false};
    StandardDialogue phone(content);
    const ReadPhone read = readPhone(phone);
    EXPECT_EQ(read.messages.messages.size(), 11u);
    const JoinedMessage& lena = *byNumber(read.messages).at(u(u"+79032223344/0"));
    // The parts' real places, for deleting them.
    EXPECT_EQ(lena.locations, (std::vector<StorageLocation>{{"SM", 5}, {"SM", 3}, {"SM", 4}}));
    // Without UCS2, names come in the phone's own character set.
    EXPECT_EQ(read.contacts[5].name, u"Anna London");
    EXPECT_EQ(read.contacts[0].name, u"????");
}
