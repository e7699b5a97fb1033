#pragma once
// Listing a folder without holding the window. Rows are built and appended in
// slices of a few milliseconds, each slice a turn of the event loop, so the
// window handles its input and repaints between them; 100 000 rows still take
// well under a second. The folder's source must not change while the fill runs
// (the one command state keeps every other command from starting).
#include "archive/FolderTree.h"
#include "archive/Workspace.h"
#include "core/Job.h"
#include "models/MessageRows.h"

#include <QTimer>
#include <memory>

namespace qb {

class MessageListModel;

class ListFill : public Job {
    Q_OBJECT
  public:
    ListFill(MessageListModel& model, const Workspace& workspace, TreeNode node,
             QObject* parent = nullptr);
    ~ListFill() override;

    // Clears the list and starts appending; a group node lists nothing.
    void start() override;
    // The rows listed so far stay.
    void cancel() override;

    TreeNode node() const { return m_node; }
    // Set when the phonebook cannot be used for names: nothing is listed then.
    const MaybeFailure& failure() const { return m_failure; }
    bool cancelled() const { return m_cancelled; }
    // How long one slice builds rows before the window gets its turn.
    void setSliceMilliseconds(int milliseconds) { m_sliceMs = milliseconds; }

  private:
    void appendSlice();
    MessageRow buildRow(int k);
    void end();

    MessageListModel& m_model;
    const Workspace& m_workspace;
    TreeNode m_node;
    std::unique_ptr<MessageRowBuilder> m_builder;
    QTimer m_slices;
    int m_count = 0;
    int m_next = 1; // record number k of the next row
    int m_sliceMs = 8;
    bool m_cancelled = false;
    bool m_ended = false;
    MaybeFailure m_failure;
};

} // namespace qb
