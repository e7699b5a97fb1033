#pragma once
// A conversation as a chat for the viewer: received messages on the left,
// sent and unsent ones on the right, each with its time ("около" before a
// time placed by its neighbours, since the phone keeps none for sent ones).
#include "controllers/SearchController.h"

#include <QLocale>
#include <QString>

namespace qb {

// Rich text for Qt's text browser; empty for an empty conversation.
QString chatHtml(const GatheredConversation& conversation, const QLocale& locale = QLocale());

// How a message's time is written in the chat and on paper.
QString timeText(const PlacedTime& time, const QLocale& locale = QLocale());

} // namespace qb
