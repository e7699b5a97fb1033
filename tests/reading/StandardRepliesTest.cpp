// The standard dialogue's reply parsers. Cases named after a device replay
// its real reply as ModemManager's modem-helper tests
// (src/tests/test-modem-helpers.c, GPL-2.0-or-later) record it; the others
// are made up to the shapes TS 27.005 and 27.007 allow.
#include "reading/PduErrorText.h"
#include "reading/PduListing.h"
#include "reading/PhoneIdentity.h"
#include "reading/StandardCommands.h"
#include "reading/StandardPhonebook.h"
#include "reading/StorageReplies.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

using Names = std::vector<std::string>;

// A reply as the framing hands it over: the echo, the answer, the final code.
std::string reply(const std::string& command, const std::string& answer,
                  const std::string& final = "OK") {
    return command + "\r\r\n" + answer + (answer.empty() ? "" : "\r\n") + "\r\n" + final + "\r\n";
}

const std::string GenericPdu =
    "07914306073011F00405812261F700003130916191314095C274D96D2FBBD3E437280CB2BEC961F3DB5D76818E"
    "F2F0381D9E83E06F39A8CC2E9FD372F77BEE0249CBE37A594E0E83E2F532085E2F93CB73D0B93CA7A7DFEEB01C"
    "447F93DF7310BD3E07CDCB727B7A9C7ECF41E432C8FC96B7C32079189E26874179D0F8DD7E93C3A0B21B246AA6"
    "41D637396C7EBBCB22D0FD7E77B5D376B3AB3C07";

} // namespace

TEST(OfferedStorages, ReadsTheThreeGroupsInEveryShapePhonesUse) {
    struct Case {
        const char* name;
        std::string answer;
        Names read, write, receive;
    };
    const Case cases[] = {
        {"cinterion",
         R"(+CPMS: ("ME","MT"),("ME","SM","MT"),("SM","MT"))",
         {"ME", "MT"},
         {"ME", "SM", "MT"},
         {"SM", "MT"}},
        {"huawei_mu609", R"(+CPMS: "ME","MT","SM")", {"ME"}, {"MT"}, {"SM"}},
        {"nokia_c6", "+CPMS: (),(),()", {}, {}, {}},
        {"mixed_spaces",
         R"(+CPMS:     (  "ME"  ,  "MT"  )   ,  "ME" ,   (  "SM"  ))",
         {"ME", "MT"},
         {"ME"},
         {"SM"}},
        {"empty_fields", "+CPMS: (),,(  )", {}, {}, {}},
        {"one_group_lower_case", R"(+CPMS: ("sm","me"))", {"SM", "ME"}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto offered = parseOfferedStorages(reply("AT+CPMS=?", c.answer));
        ASSERT_TRUE(offered) << offered.error().what;
        EXPECT_EQ(offered->read, c.read);
        EXPECT_EQ(offered->write, c.write);
        EXPECT_EQ(offered->receive, c.receive);
    }
}

TEST(OfferedStorages, ARefusalOrAStrangeAnswerIsAnError) {
    EXPECT_FALSE(parseOfferedStorages(reply("AT+CPMS=?", "", "ERROR")));
    EXPECT_FALSE(parseOfferedStorages(reply("AT+CPMS=?", "+CPMS: (),(),(),()")));
}

TEST(StoragesToRead, SimAndPhoneEachOnTheirOwnNeverThroughMtAsWell) {
    struct Case {
        Names offered;
        Names read;
    };
    const Case cases[] = {
        {{"ME", "SM", "MT"}, {"SM", "ME"}},
        {{"SM", "ME"}, {"SM", "ME"}},
        {{"MT", "SM"}, {"MT"}},
        {{"ME", "MT"}, {"MT"}},
        {{"MT"}, {"MT"}},
        {{"SM"}, {"SM"}},
        {{"ME", "BM", "SR"}, {"ME"}},
        {{"BM", "SR", "TA"}, {}},
        {{}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(storagesToRead(c.offered), c.read);
}

TEST(SelectedStorages, ReadsEachStorageWithItsCounts) {
    const auto selected =
        parseSelectedStorages(reply("AT+CPMS?", R"(+CPMS: "ME",1,100,"MT",5,100,"TA",1,100)"));
    ASSERT_TRUE(selected);
    ASSERT_EQ(selected->size(), 3u);
    EXPECT_EQ((*selected)[1].name, "MT");
    EXPECT_EQ((*selected)[1].use.used, 5);
    EXPECT_EQ((*selected)[1].use.total, 100);
    EXPECT_FALSE(parseSelectedStorages(reply("AT+CPMS?", R"(+CPMS: "ME",1)")));
    EXPECT_FALSE(parseSelectedStorages(reply("AT+CPMS?", R"(+CPMS: "ME",x,100)")));
}

TEST(StorageChosen, TheFirstPairCountsTheStorageJustChosen) {
    for (const char* answer : {"+CPMS: 5,30,5,30,5,30", "+CPMS: 5,30", R"(+CPMS: "SM",5,30)"}) {
        const auto use = parseStorageChosen(reply("AT+CPMS=\"SM\"", answer));
        ASSERT_TRUE(use) << answer;
        EXPECT_EQ(use->used, 5);
        EXPECT_EQ(use->total, 30);
    }
    EXPECT_FALSE(parseStorageChosen(reply("AT+CPMS=\"SM\"", "", "+CMS ERROR: 310")));
    EXPECT_FALSE(parseStorageChosen(reply("AT+CPMS=\"SM\"", "+CPMS: 5")));
}

TEST(PduListing, ReadsEveryHeaderShapeRealPhonesSend) {
    struct Case {
        const char* name;
        std::string header;
        int index;
        StoredStatus status;
        std::optional<int> length;
    };
    const Case cases[] = {
        {"generic", "+CMGL: 0,1,,147", 0, StoredStatus::ReceivedRead, 147},
        {"pantech_no_alpha", "+CMGL: 17,3,147", 17, StoredStatus::StoredSent, 147},
        {"blanks_after_commas", "+CMGL: 1, 0, , 147", 1, StoredStatus::ReceivedUnread, 147},
        {"quoted_alpha", R"(+CMGL: 2,2,"Mum, home",147)", 2, StoredStatus::StoredUnsent, 147},
        {"trailing_zero", "+CMGL: 3,1,,147,0", 3, StoredStatus::ReceivedRead, 147},
        {"no_length", "+CMGL: 4,1", 4, StoredStatus::ReceivedRead, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PduListing listing =
            parsePduListing(reply("AT+CMGL=4", c.header + "\r\n" + GenericPdu));
        ASSERT_EQ(listing.messages.size(), 1u);
        EXPECT_TRUE(listing.unreadable.empty());
        const ListedPdu& m = listing.messages[0];
        EXPECT_EQ(m.index, c.index);
        EXPECT_EQ(m.status, c.status);
        EXPECT_EQ(m.tpduLength, c.length);
        EXPECT_EQ(m.hex, GenericPdu);
        EXPECT_EQ(m.header, c.header);
    }
}

TEST(PduListing, TakesThePduLineAsPhonesPadIt) {
    for (const std::string& line : {GenericPdu + ",0", "\"" + GenericPdu + "\"", GenericPdu + "  ",
                                    std::string("07914306073011f0") + GenericPdu.substr(16)}) {
        const PduListing listing =
            parsePduListing(reply("AT+CMGL=4", "+CMGL: 1,1,,147\r\n" + line));
        ASSERT_EQ(listing.messages.size(), 1u) << line;
        EXPECT_EQ(listing.messages[0].hex, GenericPdu);
    }
}

TEST(PduListing, ManyMessagesAndLinesThatAreNone) {
    const std::string answer = "+CMGL: 17,3,35\r\n" + GenericPdu + "\r\n" +
                               "+CMGL: abc,1,,147\r\n" + GenericPdu + "\r\n" + // no index
                               "+CMGL: 5,7,,147\r\n" + GenericPdu + "\r\n" +   // no status
                               "+CMGL: 6,1,,147\r\n" +                         // no PDU
                               "+CMGL: 15,3,35\r\n" + GenericPdu + "\r\n" + "stray text";
    const PduListing listing = parsePduListing(reply("AT+CMGL=4", answer));
    ASSERT_EQ(listing.messages.size(), 2u);
    EXPECT_EQ(listing.messages[0].index, 17);
    EXPECT_EQ(listing.messages[1].index, 15);
    EXPECT_EQ(listing.unreadable,
              Names({"+CMGL: abc,1,,147", "+CMGL: 5,7,,147", "+CMGL: 6,1,,147", "stray text"}));
    EXPECT_TRUE(parsePduListing(reply("AT+CMGL=4", "")).messages.empty());
}

TEST(PduListing, IndexesThatCannotBeLocations) {
    auto listed = [](std::initializer_list<int> indexes) {
        std::vector<ListedPdu> messages;
        for (int index : indexes)
            messages.push_back({index, StoredStatus::ReceivedRead, std::nullopt, "00", ""});
        return messages;
    };
    EXPECT_TRUE(indexesCanBeLocations(listed({0, 1, 7})));
    EXPECT_TRUE(indexesCanBeLocations(listed({1, 30}), StorageUse{2, 30}));
    EXPECT_FALSE(indexesCanBeLocations(listed({1, 2, 1})));
    EXPECT_FALSE(indexesCanBeLocations(listed({1, 31}), StorageUse{2, 30}));
    EXPECT_TRUE(indexesCanBeLocations(listed({}), StorageUse{0, 0}));
}

TEST(PduRead, ReadsTheMessageInEveryShape) {
    struct Case {
        const char* name;
        std::string answer;
        StoredStatus status;
        std::optional<int> length;
    };
    const Case cases[] = {
        {"generic_same_line", "+CMGR: 1,,147 " + GenericPdu, StoredStatus::ReceivedRead, 147},
        {"telit_quoted_alpha", "+CMGR: 0,\"\",147\r\n" + GenericPdu, StoredStatus::ReceivedUnread,
         147},
        {"status_only", "+CMGR: 3\r\n" + GenericPdu, StoredStatus::StoredSent, std::nullopt},
        {"trailing_zero", "+CMGR: 2,,147\r\n" + GenericPdu + ",0", StoredStatus::StoredUnsent, 147},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = parsePduRead(reply("AT+CMGR=1", c.answer));
        ASSERT_TRUE(read) << read.error().what;
        ASSERT_TRUE(*read);
        EXPECT_EQ((*read)->status, c.status);
        EXPECT_EQ((*read)->tpduLength, c.length);
        EXPECT_EQ((*read)->hex, GenericPdu);
    }
}

TEST(PduRead, AnEmptyLocationAndAnAnswerThatIsNone) {
    for (const std::string& answer :
         {std::string(), std::string("+CMGR: 0,,0"), std::string("+CMGR: 0,,0\r\n00")}) {
        const auto read = parsePduRead(reply("AT+CMGR=9", answer));
        ASSERT_TRUE(read) << answer;
        EXPECT_FALSE(*read) << answer;
    }
    EXPECT_FALSE(parsePduRead(reply("AT+CMGR=9", "+CMGR: \"REC READ\",\"+7916\"\r\n0041")));
    EXPECT_FALSE(parsePduRead(reply("AT+CMGR=9", "+CMGL: 1,1,,147\r\n" + GenericPdu)));
}

TEST(PduRead, TheSameMessageWhateverItsPadding) {
    const ListedPdu listed{4, StoredStatus::ReceivedRead, 147, GenericPdu, ""};
    EXPECT_TRUE(sameMessage(listed, {StoredStatus::ReceivedRead, 147, GenericPdu + "FFFF"}));
    EXPECT_FALSE(sameMessage(listed, {StoredStatus::ReceivedRead, 147, GenericPdu.substr(2)}));
}

TEST(Charsets, OfferedAndSelected) {
    const auto offered = parseCharsetsOffered(reply("AT+CSCS=?", R"(+CSCS: ("IRA","GSM","ucs2"))"));
    ASSERT_TRUE(offered);
    EXPECT_EQ(*offered, Names({"IRA", "GSM", "UCS2"}));
    const auto selected = parseCharsetSelected(reply("AT+CSCS?", R"(+CSCS: "GSM")"));
    ASSERT_TRUE(selected);
    EXPECT_EQ(*selected, "GSM");
    EXPECT_FALSE(parseCharsetSelected(reply("AT+CSCS?", "", "ERROR")));
    EXPECT_EQ(charsetNamed("\"UCS2\""), PhoneCharset::Ucs2);
    EXPECT_EQ(charsetNamed("8859-1"), PhoneCharset::Latin1);
    EXPECT_EQ(charsetNamed("PCCP437"), PhoneCharset::Other);
}

TEST(Phonebooks, OfferedAndTheirRange) {
    const auto offered = parsePhonebooksOffered(
        reply("AT+CPBS=?", R"(+CPBS: ("ME","SM","FD","LD","MC","RC","DC","ON","EN"))"));
    ASSERT_TRUE(offered);
    EXPECT_EQ(storagesToRead(*offered), Names({"SM", "ME"}));

    struct Case {
        const char* answer;
        int first, last;
        std::optional<int> number, name;
    };
    const Case cases[] = {{"+CPBR: (1-250),40,24", 1, 250, 40, 24},
                          {"+CPBR: (501-750),40,15", 501, 750, 40, 15},
                          {"+CPBR: (1-250),50,14,,,,40,20", 1, 250, 50, 14},
                          {"+CPBR: (1-100)", 1, 100, std::nullopt, std::nullopt},
                          {"+CPBR: 1-10,20,14", 1, 10, 20, 14}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const auto range = parsePhonebookRange(reply("AT+CPBR=?", c.answer));
        ASSERT_TRUE(range);
        EXPECT_EQ(range->first, c.first);
        EXPECT_EQ(range->last, c.last);
        EXPECT_EQ(range->numberLength, c.number);
        EXPECT_EQ(range->nameLength, c.name);
    }
    for (const char* answer : {"+CPBR: (),40,24", "+CPBR: (250-1)", "+CPBR: (1-x)", "OK"})
        EXPECT_FALSE(parsePhonebookRange(reply("AT+CPBR=?", answer))) << answer;
}

TEST(Phonebooks, RangesAskedInChunks) {
    using Chunks = std::vector<std::pair<int, int>>;
    EXPECT_EQ(phonebookChunks({501, 620, {}, {}}, 50),
              Chunks({{501, 550}, {551, 600}, {601, 620}}));
    EXPECT_EQ(phonebookChunks({1, 1, {}, {}}, 50), Chunks({{1, 1}}));
    EXPECT_EQ(phonebookChunks({1, 3, {}, {}}, 0), Chunks({{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_TRUE(phonebookChunks({1, 0, {}, {}}, 50).empty());
}

TEST(Phonebooks, EntriesInUcs2AndInThePhonesOwnCharset) {
    const std::string ucs2 = "+CPBR: 1,\"+79161234567\",145,\"041C0430043C0430\"\r\n\r\n"
                             "+CPBR: 2,\"79031234567\",145,\"D83DDE00\",0\r\n"
                             "+CPBR: 3,\"002B0037003900300033\",145,\"0041\"\r\n"
                             "+CPBR: 4,\"900\",129,\"Bank\"";
    const auto contacts = parsePhonebookContacts(reply("AT+CPBR=1,50", ucs2), PhoneCharset::Ucs2);
    ASSERT_TRUE(contacts) << contacts.error().what;
    ASSERT_EQ(contacts->size(), 4u);
    EXPECT_EQ((*contacts)[0].index, 1);
    EXPECT_EQ((*contacts)[0].number, u"+79161234567");
    EXPECT_EQ((*contacts)[0].name, u"Мама");
    EXPECT_EQ((*contacts)[1].number, u"+79031234567"); // international without its "+"
    EXPECT_EQ((*contacts)[1].name, u"😀");
    EXPECT_EQ((*contacts)[2].number, u"+7903"); // the number as UCS2 digits
    EXPECT_EQ((*contacts)[3].name, u"Bank");    // not UCS2 digits: as it stands

    const std::string gsm = "+CPBR: 7,\"112\",129,\"Hans M\x7Cller\"\r\n"
                            "+CPBR: 8,\"113\",129,\"Caf\xE9, bar\"";
    const auto own = parsePhonebookContacts(reply("AT+CPBR=1,50", gsm), PhoneCharset::Gsm);
    ASSERT_TRUE(own);
    EXPECT_EQ((*own)[0].name, u"Hans Möller");
    EXPECT_EQ((*own)[1].name, u"Café, bar");
    EXPECT_TRUE(parsePhonebookContacts(reply("AT+CPBR=1,50", ""), PhoneCharset::Ucs2)->empty());
    EXPECT_FALSE(
        parsePhonebookContacts(reply("AT+CPBR=1,50", "+CPBR: 1,\"1\""), PhoneCharset::Ucs2));
}

TEST(PhoneIdentity, TheMakerAndTheDialogueItSpeaks) {
    struct Case {
        std::string command, answer, maker;
        PhoneDialogue dialogue;
    };
    const Case cases[] = {
        {"AT+CGMI", R"(+CGMI: "Motorola CE, Copyright 2000")", "Motorola CE, Copyright 2000",
         PhoneDialogue::Motorola},
        {"AT+CGMI", "MOTOROLA", "MOTOROLA", PhoneDialogue::Motorola},
        {"AT+CGMI", "Nokia", "Nokia", PhoneDialogue::Standard},
        {"AT+CGMI", "\"SAMSUNG ELECTRONICS\"", "SAMSUNG ELECTRONICS", PhoneDialogue::Standard},
        {"ATI", "Sony Ericsson\r\nK750i", "Sony Ericsson", PhoneDialogue::Standard},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const auto maker = parseManufacturer(reply(c.command, c.answer));
        ASSERT_TRUE(maker);
        EXPECT_EQ(*maker, c.maker);
        EXPECT_EQ(dialogueForMaker(*maker), c.dialogue);
    }
    EXPECT_FALSE(parseManufacturer(reply("AT+CGMI", "", "ERROR")));
}

TEST(StandardCommands, TextsBoundsAndErrorPolicies) {
    const StandardCommands commands;
    const DialogueLimits limits;
    EXPECT_EQ(commands.listAll().text, "AT+CMGL=4");
    EXPECT_EQ(commands.listAll().limits.answerMs, limits.listing.answerMs);
    EXPECT_EQ(commands.listAll().onError, OnError::Answer);
    EXPECT_EQ(commands.pduMode().text, "AT+CMGF=0");
    EXPECT_EQ(commands.pduMode().onError, OnError::Stop);
    EXPECT_EQ(commands.chooseStorage("SM").text, "AT+CPMS=\"SM\"");
    EXPECT_EQ(commands.chooseCharset("UCS2").text, "AT+CSCS=\"UCS2\"");
    EXPECT_EQ(commands.choosePhonebook("ME").text, "AT+CPBS=\"ME\"");
    EXPECT_EQ(commands.phonebookEntries(501, 550).text, "AT+CPBR=501,550");
    EXPECT_EQ(commands.phonebookEntries(1, 50).limits.maxBytes, limits.phonebook.maxBytes);
    EXPECT_EQ(commands.readMessage(7).text, "AT+CMGR=7");
    EXPECT_EQ(commands.deleteMessage(0).text, "AT+CMGD=0");
}

TEST(StandardCommands, WhatAnErrorSaysAboutAStorage) {
    auto code = [](const char* line) { return *parseFinalCode(line); };
    EXPECT_EQ(messageStorageError(code("+CMS ERROR: 321")), ErrorMeaning::Empty);
    EXPECT_EQ(messageStorageError(code("+CMS ERROR: 310")), ErrorMeaning::Unavailable);
    EXPECT_EQ(messageStorageError(code("+CMS ERROR: 500")), ErrorMeaning::Refused);
    EXPECT_EQ(messageStorageError(code("ERROR")), ErrorMeaning::Refused);
    EXPECT_EQ(phonebookError(code("+CME ERROR: 22")), ErrorMeaning::Empty);
    EXPECT_EQ(phonebookError(code("+CME ERROR: 10")), ErrorMeaning::Unavailable);
    EXPECT_EQ(phonebookError(code("+CMS ERROR: 22")), ErrorMeaning::Refused);
}

TEST(PduErrorText, NamesWhereThePduEnds) {
    EXPECT_EQ(pduErrorText({PduProblem::Truncated, PduField::UserData, 27}),
              QString::fromUtf16(u"обрывается в поле «текст» (байт 27)"));
    EXPECT_EQ(pduErrorText({PduProblem::NotHex, PduField::Hex, 0}),
              QString::fromUtf16(u"не шестнадцатеричные цифры"));
    EXPECT_EQ(pduErrorText({PduProblem::BadUserData, PduField::UserDataHeader, 26}),
              QString::fromUtf16(u"заголовок длиннее текста (байт 26)"));
}
