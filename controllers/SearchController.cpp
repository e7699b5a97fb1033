#include "controllers/SearchController.h"

#include "archive/RecordFields.h"
#include "archive/Workspace.h"
#include "core/ArchiveText.h"
#include "export/smartphone/AndroidSmsXml.h"
#include "numbers/CorrespondentKeys.h"
#include "search/SearchIndex.h"

#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <ctime>
#include <new>

namespace qb {
namespace {

constexpr TreeNode Folders[] = {TreeNode::PhoneInbox,    TreeNode::PhoneOutbox,
                                TreeNode::PhoneDraft,    TreeNode::ArchiveInbox,
                                TreeNode::ArchiveOutbox, TreeNode::ArchiveDraft};

std::size_t slot(TreeNode node) {
    return static_cast<std::size_t>(node);
}

// The folder's text, number and "От" cell, folded for the search.
std::shared_ptr<const PreparedFolder> prepareFolder(const FolderRows& rows, TreeNode node) {
    FolderIndexBuilder index(static_cast<int>(node));
    if (rows.namesFailure()) {
        // No names without a usable phonebook: the text and the number still count.
        for (int p = 0; p < rows.count(); ++p)
            index.add(archivetext::decode(rows.message(p).text), rows.number(p), {});
        return index.finish();
    }
    const std::unique_ptr<MessageRowBuilder> builder = rows.builder();
    for (int p = 0; p < rows.count(); ++p) {
        const MessageRow row = rows.row(*builder, p);
        index.add(row.text, rows.number(p), row.from);
    }
    return index.finish();
}

std::shared_ptr<const FolderRows>
partOf(const std::array<std::shared_ptr<const FolderRows>, TreeNodeCount>& folders,
       std::size_t node) {
    return folders[node] ? folders[node] : FolderRows::none(static_cast<TreeNode>(node));
}

// Every message of one source's three folders, Inbox, Outbox, Draft, placed in time.
void placeSource(const std::array<std::shared_ptr<const FolderRows>, TreeNodeCount>& folders,
                 MessageSource source, const QString& key, const CorrespondentKeys& keys,
                 std::vector<ConversationEntry>& found) {
    std::vector<TimelineMessage> timeline;
    std::vector<ConversationEntry> mine;
    std::vector<std::size_t> mineAt; // where each of mine stands in the timeline
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        const TreeNode node =
            source == MessageSource::Phone ? phoneFolderNode(kind) : archiveFolderNode(kind);
        const std::shared_ptr<const FolderRows>& rows = folders[slot(node)];
        for (int p = 0; rows && p < rows->count(); ++p) {
            const MessageView& message = rows->message(p);
            TimelineMessage one;
            one.direction = directionOf(kind);
            bool plain = false;
            one.storageIndex = record::fields::indexOf(
                kind, message.stored.indexLine.value_or(std::string_view()), plain);
            if (kind == FolderKind::Inbox) {
                if (const std::optional<MessageTime> time = record::fields::timeOf(
                        message.stored.dateLine.value_or(std::string_view())))
                    if (const std::optional<int64_t> ms = localEpochMs(*time))
                        one.time = *ms;
            }
            timeline.push_back(one);
            const QString number = archivetext::decode(message.number);
            if (keys.keyOf(number) != key)
                continue;
            ConversationEntry entry;
            entry.source = source;
            entry.folder = static_cast<int>(node);
            entry.position = p;
            entry.direction = one.direction;
            entry.correspondent = number;
            entry.storageIndex = one.storageIndex;
            entry.text = archivetext::decode(message.text);
            mine.push_back(std::move(entry));
            mineAt.push_back(timeline.size() - 1);
        }
    }
    const std::vector<PlacedTime> placed = placeInTime(timeline);
    for (std::size_t i = 0; i < mine.size(); ++i) {
        mine[i].time = placed[mineAt[i]];
        found.push_back(std::move(mine[i]));
    }
}

} // namespace

GatheredConversation
gatherConversation(const std::array<std::shared_ptr<const FolderRows>, TreeNodeCount>& folders,
                   const QString& key, const CorrespondentKeys& keys) {
    tzset(); // the local times below are read in the zone read here
    std::vector<ConversationEntry> entries;
    if (!key.isEmpty()) {
        placeSource(folders, MessageSource::Phone, key, keys, entries);
        placeSource(folders, MessageSource::Archive, key, keys, entries);
    }
    GatheredConversation conversation;
    conversation.entries = orderConversation(std::move(entries));
    std::vector<std::shared_ptr<const FolderRows>> parts;
    for (std::size_t node = 0; node < folders.size(); ++node)
        parts.push_back(partOf(folders, node));
    std::vector<FolderRows::Pick> picks;
    picks.reserve(conversation.entries.size());
    for (const ConversationEntry& entry : conversation.entries)
        picks.push_back({entry.folder, entry.position});
    conversation.rows = FolderRows::gather(std::move(parts), std::move(picks));
    return conversation;
}

std::shared_ptr<const FolderRows>
gatherHits(const std::array<std::shared_ptr<const FolderRows>, TreeNodeCount>& folders,
           const std::vector<SearchHit>& hits) {
    std::vector<std::shared_ptr<const FolderRows>> parts;
    for (std::size_t node = 0; node < folders.size(); ++node)
        parts.push_back(partOf(folders, node));
    std::vector<FolderRows::Pick> picks;
    picks.reserve(hits.size());
    for (const SearchHit& hit : hits) {
        // A hit beyond the copy it was found in cannot be: the two are replaced together.
        const std::size_t node = static_cast<std::size_t>(hit.folder);
        if (node < parts.size() && hit.position < parts[node]->count())
            picks.push_back({hit.folder, hit.position});
    }
    return FolderRows::gather(std::move(parts), std::move(picks));
}

SearchController::SearchController(const Workspace& workspace,
                                   std::shared_ptr<const CorrespondentKeys> keys, QObject* parent)
    : QObject(parent), m_workspace(workspace), m_keys(std::move(keys)) {
    qRegisterMetaType<std::shared_ptr<const FolderRows>>();
    connect(&m_runner, &SearchRunner::finished, this, &SearchController::showResult);
    connect(&m_preparing, &QFutureWatcher<Ready>::finished, this, [this] {
        m_prepareBusy = false;
        install(m_preparing.future().takeResult());
        prepareNext();
    });
    connect(&m_gathering, &QFutureWatcher<GatheredConversation>::finished, this,
            [this] { emit conversationFound(m_gathering.future().takeResult()); });
}

// A preparation or a gathering under way holds its own copies; its result is dropped.
SearchController::~SearchController() {
    if (m_prepareBusy)
        m_preparing.waitForFinished();
    if (m_gathering.isRunning())
        m_gathering.waitForFinished();
}

// --- Copies of the folders, prepared off the window's thread

void SearchController::phoneFoldersChanged() {
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        folderChanged(phoneFolderNode(kind));
}

void SearchController::archiveFoldersChanged() {
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        folderChanged(archiveFolderNode(kind));
}

void SearchController::folderChanged(TreeNode node) {
    if (!isFolder(node))
        return;
    if (isArchiveFolder(node) && m_archiveLent) {
        if (std::find(m_copyWhenBack.begin(), m_copyWhenBack.end(), node) == m_copyWhenBack.end())
            m_copyWhenBack.push_back(node);
        return;
    }
    if (std::find(m_toCopy.begin(), m_toCopy.end(), node) == m_toCopy.end())
        m_toCopy.push_back(node);
    if (!std::exchange(m_copyQueued, true))
        QTimer::singleShot(0, this, &SearchController::copyNext);
}

void SearchController::setArchiveLent(bool lent) {
    m_archiveLent = lent;
    if (lent) {
        // What was to be copied is copied once the archive is back.
        for (const TreeNode node : m_toCopy)
            if (isArchiveFolder(node))
                folderChanged(node);
        std::erase_if(m_toCopy, [](TreeNode node) { return isArchiveFolder(node); });
        return;
    }
    for (const TreeNode node : std::exchange(m_copyWhenBack, {}))
        folderChanged(node);
}

// One folder per turn of the event loop: a copy of 100 000 messages takes
// the window's thread about as long as showing that folder.
void SearchController::copyNext() {
    m_copyQueued = false;
    if (m_toCopy.empty())
        return;
    const TreeNode node = m_toCopy.front();
    m_toCopy.pop_front();
    const FolderKind kind = folderKindOfNode(node);
    std::shared_ptr<const FolderRows> rows =
        isPhoneFolder(node)
            ? FolderRows::ofPhone(node, m_workspace.readResult.folder(kind), m_workspace.phonebook)
            : FolderRows::ofArchive(node, m_workspace.archive.folder(kind), m_workspace.phonebook);
    std::erase_if(m_toPrepare, [node](const Preparation& p) { return p.node == node; });
    m_toPrepare.push_back({node, std::move(rows)});
    if (!m_prepareBusy)
        prepareNext();
    if (!m_toCopy.empty() && !std::exchange(m_copyQueued, true))
        QTimer::singleShot(0, this, &SearchController::copyNext);
}

void SearchController::prepareNext() {
    if (m_toPrepare.empty() || m_prepareBusy) {
        if (isPrepared())
            emit prepared();
        return;
    }
    Preparation next = std::move(m_toPrepare.front());
    m_toPrepare.pop_front();
    // Busy until its result is taken: a worker done before its finished()
    // has come must not have its result replaced unseen.
    m_prepareBusy = true;
    m_preparing.setFuture(QtConcurrent::run([next = std::move(next)]() -> Ready {
        try {
            return {next.node, next.rows, prepareFolder(*next.rows, next.node)};
        } catch (const std::bad_alloc&) {
            // Too little memory for the copy: the folder is not searched.
            return {next.node, FolderRows::none(next.node), nullptr};
        }
    }));
}

bool SearchController::isPrepared() const {
    return m_toCopy.empty() && m_toPrepare.empty() && !m_prepareBusy && !m_copyQueued;
}

void SearchController::install(Ready ready) {
    SearchIndex index = m_runner.index();
    if (ready.prepared)
        index.setFolder(std::move(ready.prepared));
    else
        index.removeFolder(static_cast<int>(ready.node));
    m_indexed[slot(ready.node)] = std::move(ready.rows);
    // The search on show runs again over the folder as it is now.
    m_runner.setIndex(std::move(index));
}

// --- The search

void SearchController::search(const QString& typed) {
    if (m_runner.search(typed)) {
        m_searching = true;
        return;
    }
    endSearch();
}

void SearchController::endSearch() {
    m_runner.cancel();
    m_query = {};
    if (std::exchange(m_searching, false))
        emit searchEnded();
}

void SearchController::showResult(const SearchResult& result) {
    if (!m_searching)
        return;
    m_query = result.query;
    emit resultsFound(gatherHits(m_indexed, result.hits), m_query);
}

// --- Conversations

void SearchController::showConversation(const QString& number, const QString& shownAs) {
    const QString key = m_keys->keyOf(number);
    if (key.isEmpty())
        return;
    m_gathering.setFuture(QtConcurrent::run([folders = m_indexed, key, keys = m_keys, shownAs] {
        GatheredConversation conversation = gatherConversation(folders, key, *keys);
        conversation.correspondent = shownAs;
        return conversation;
    }));
}

} // namespace qb
