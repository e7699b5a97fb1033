#pragma once
// Which way a message went: the phone keeps received messages in its Inbox,
// sent ones in its Outbox and unsent ones among its drafts.
namespace qb {

enum class MessageDirection { Received, Sent, Unsent };

} // namespace qb
