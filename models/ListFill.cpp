#include "models/ListFill.h"

#include "models/MessageListModel.h"

#include <QElapsedTimer>
#include <algorithm>

namespace qb {

ListFill::ListFill(MessageListModel& model, const Workspace& workspace, TreeNode node,
                   QObject* parent)
    : Job(parent), m_model(model), m_workspace(workspace), m_node(node) {
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &ListFill::appendSlice);
}

ListFill::~ListFill() = default;

void ListFill::start() {
    const bool phone = isPhoneFolder(m_node);
    progress().setTextVisible(false);
    progress().setPosition(0);
    progress().setVisible(true);
    m_model.clear();
    if (!isFolder(m_node))
        return end(); // a group node lists nothing
    const FolderKind kind = folderKindOfNode(m_node);
    m_count = phone ? m_workspace.phoneCount(kind) : m_workspace.archiveCount(kind);
    if (m_count == 0)
        return end();
    m_builder = std::make_unique<MessageRowBuilder>(kind, m_workspace.phonebook);
    if (m_builder->failure()) {
        m_failure = m_builder->failure(); // stops at the first row: nothing is listed
        return end();
    }
    progress().setMaximum(phone ? m_count - 1 : m_count);
    m_model.reserve(m_count);
    m_slices.start();
}

void ListFill::cancel() {
    if (m_ended)
        return;
    m_cancelled = true;
    // Ended from the event loop, so the caller sees finished() after cancel() returns.
    QTimer::singleShot(0, this, &ListFill::end);
    m_slices.stop();
}

MessageRow ListFill::buildRow(int k) {
    const FolderKind kind = folderKindOfNode(m_node);
    if (isPhoneFolder(m_node))
        return m_builder->fromPhone(m_workspace.readResult.folder(kind)[std::size_t(k - 1)], k);
    return m_builder->fromArchive(m_workspace.archive.folder(kind).message(k - 1), k);
}

void ListFill::appendSlice() {
    QElapsedTimer slice;
    slice.start();
    std::vector<MessageRow> rows;
    while (m_next <= m_count) {
        rows.push_back(buildRow(m_next++));
        if (slice.elapsed() >= m_sliceMs)
            break;
    }
    m_model.append(std::move(rows));
    progress().setPosition(m_next - 2);
    if (m_next > m_count)
        end();
}

void ListFill::end() {
    if (m_ended)
        return;
    m_ended = true;
    m_slices.stop();
    progress().setVisible(false);
    progress().setTextVisible(true);
    emit finished();
}

} // namespace qb
