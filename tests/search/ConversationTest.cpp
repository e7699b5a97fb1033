#include "search/Conversation.h"

#include "numbers/CorrespondentKeys.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

constexpr qint64 Minute = 60 * 1000;
constexpr qint64 Noon = 1200000000000; // 10 January 2008, about noon

using D = MessageDirection;

TEST(ConversationTest, UndatedMessagesArePlacedAfterTheirReceivedNeighbours) {
    // One source: Inbox, then Outbox, then Draft, each in stored order.
    const std::vector<TimelineMessage> source = {
        {D::Received, Noon, 1},         {D::Received, Noon + 10 * Minute, 5},
        {D::Received, std::nullopt, 9}, // a damaged stamp
        {D::Sent, std::nullopt, 3},     {D::Sent, std::nullopt, 4},
        {D::Sent, std::nullopt, 7},     {D::Unsent, std::nullopt, std::nullopt}, // index unreadable
    };
    const auto placed = placeInTime(source);
    ASSERT_EQ(placed.size(), source.size());
    EXPECT_EQ(placed[0].time, Noon);
    EXPECT_FALSE(placed[0].estimated);
    EXPECT_EQ(placed[3].time, Noon + 1000); // a second after the received message at 1
    EXPECT_EQ(placed[4].time, Noon + 2000);
    EXPECT_EQ(placed[5].time, Noon + 10 * Minute + 1000);
    EXPECT_EQ(placed[2].time, Noon + 10 * Minute + 2000); // 9 comes after 7
    for (int k : {2, 3, 4, 5})
        EXPECT_TRUE(placed[std::size_t(k)].estimated) << k;
    EXPECT_FALSE(placed[6].time);
    EXPECT_FALSE(placed[6].estimated);
}

TEST(ConversationTest, WithoutAnyReceivedTimeNothingIsEstimated) {
    const auto placed = placeInTime({{D::Sent, std::nullopt, 2}, {D::Unsent, std::nullopt, 3}});
    EXPECT_FALSE(placed[0].time);
    EXPECT_FALSE(placed[1].time);
}

ConversationEntry entry(MessageSource source, D direction, const char* number,
                        std::optional<int> index, PlacedTime time, const char* text) {
    ConversationEntry e;
    e.source = source;
    e.direction = direction;
    e.correspondent = QString::fromUtf8(number);
    e.storageIndex = index;
    e.time = time;
    e.text = QString::fromUtf8(text);
    return e;
}

std::vector<QString> texts(const std::vector<ConversationEntry>& entries) {
    std::vector<QString> out;
    for (const auto& e : entries)
        out.push_back(e.text);
    return out;
}

std::vector<QString> list(std::initializer_list<const char*> items) {
    std::vector<QString> out;
    for (const char* t : items)
        out.push_back(QString::fromUtf8(t));
    return out;
}

TEST(ConversationTest, BothDirectionsInTimeOrderAcrossNumberForms) {
    const auto A = MessageSource::Archive;
    const auto P = MessageSource::Phone;
    const std::vector<ConversationEntry> all = {
        entry(A, D::Received, "+79161234567", 1, {Noon, false}, "Привет! Ты где?"),
        entry(A, D::Received, "+79161234567", 4, {Noon + 20 * Minute, false}, "Жду у метро"),
        entry(A, D::Received, "+79035550011", 2, {Noon + Minute, false}, "Чужое"),
        entry(A, D::Sent, "8 916 123-45-67", 3, {Noon + 1000, true}, "Еду, буду через 15 минут"),
        entry(A, D::Unsent, "89161234567", 6, {Noon + 20 * Minute + 1000, true}, "Уже вижу тебя"),
        // The phone's last read: the same message as the archive's, and one
        // the archive does not hold yet.
        entry(P, D::Received, "+79161234567", 4, {Noon + 20 * Minute, false}, "Жду у метро"),
        entry(P, D::Received, "+79161234567", 7, {Noon + 30 * Minute, false}, "Ты где?!"),
        entry(A, D::Sent, "+7 916 123 45 67", std::nullopt, {}, "Без места"),
    };
    const CorrespondentKeys keys(QStringLiteral("RU"));
    const QString who = keys.keyOf(QStringLiteral("8 (916) 123-45-67"));
    std::vector<ConversationEntry> withThem;
    for (const auto& e : all)
        if (keys.keyOf(e.correspondent) == who)
            withThem.push_back(e);
    EXPECT_EQ(texts(orderConversation(withThem)),
              list({"Привет! Ты где?", "Еду, буду через 15 минут", "Жду у метро", "Уже вижу тебя",
                    "Ты где?!", "Без места"}));
}

TEST(ConversationTest, CopiesAndTies) {
    const auto A = MessageSource::Archive;
    const auto P = MessageSource::Phone;
    const std::vector<ConversationEntry> entries = {
        // Equal times: by storage index.
        entry(A, D::Received, "1", 8, {Noon, false}, "b"),
        entry(A, D::Received, "1", 2, {Noon, false}, "a"),
        // Not a copy: a different text, index or own time.
        entry(P, D::Received, "1", 8, {Noon, false}, "b2"),
        entry(P, D::Received, "1", 9, {Noon, false}, "b"),
        entry(P, D::Received, "1", 8, {Noon + 1, false}, "b"),
        // A copy whose estimate differs, as the phone's neighbours differ
        // from the archive's.
        entry(A, D::Sent, "1", 5, {Noon + 5, true}, "s"),
        entry(P, D::Sent, "1", 5, {Noon + 7, true}, "s"),
        // Undated: the archive's, then the phone's, each by index.
        entry(P, D::Unsent, "1", 3, {}, "p3"),
        entry(A, D::Unsent, "1", std::nullopt, {}, "a-"),
        entry(A, D::Unsent, "1", 4, {}, "a4"),
        entry(P, D::Unsent, "1", 1, {}, "p1"),
    };
    const auto ordered = orderConversation(entries);
    EXPECT_EQ(texts(ordered), list({"a", "b", "b2", "b", "b", "s", "a4", "a-", "p1", "p3"}));
    EXPECT_EQ(ordered[3].source, P);
    EXPECT_EQ(ordered[3].storageIndex, 9);
    EXPECT_EQ(ordered[5].source, A);
}

} // namespace
} // namespace qb
