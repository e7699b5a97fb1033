#pragma once
// What goes on paper from the message list: its rows as shown, or the
// conversation it shows with each message's placed time.
#include "controllers/SearchController.h"
#include "export/print/MessagePrint.h"
#include "models/MessageListModel.h"

namespace qb {

// The rows `listRows` of the list (`entries` in its order) with their
// direction, "От" cell, time and text. `conversation`, when the list shows
// one, gives the times; otherwise received messages carry their own.
PrintedDocument printedRows(const QString& title, const FolderRows& rows,
                            const std::vector<MessageListModel::Entry>& entries,
                            const std::vector<int>& listRows,
                            const GatheredConversation* conversation = nullptr);

} // namespace qb
