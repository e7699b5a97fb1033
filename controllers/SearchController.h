#pragma once
// Search as you type over every folder, phone and archive, and the
// conversation with one correspondent across them. It keeps a copy of each
// folder as the list would show it, prepares each for the search off the
// window's thread whenever the folder changes, and hands the list the rows a
// search or a conversation gathered from those copies.
#include "archive/FolderTree.h"
#include "models/FolderRows.h"
#include "search/Conversation.h"
#include "search/SearchRunner.h"

#include <QFutureWatcher>
#include <QObject>
#include <array>
#include <deque>
#include <memory>
#include <optional>

namespace qb {

class CorrespondentKeys;
struct Workspace;
struct PreparedFolder;

// A conversation gathered: its rows in time order, and each row's entry.
struct GatheredConversation {
    std::shared_ptr<const FolderRows> rows;
    std::vector<ConversationEntry> entries; // entries[r] is row r
    QString correspondent;                  // the "От" cell it was asked for
};

// The messages of every folder of `folders` (indexed by TreeNode) whose
// number is the correspondent `key`, in time order.
GatheredConversation
gatherConversation(const std::array<std::shared_ptr<const FolderRows>, TreeNodeCount>& folders,
                   const QString& key, const CorrespondentKeys& keys);

// The rows of `hits` in the order found, from the folders they were found in.
std::shared_ptr<const FolderRows>
gatherHits(const std::array<std::shared_ptr<const FolderRows>, TreeNodeCount>& folders,
           const std::vector<SearchHit>& hits);

class SearchController : public QObject {
    Q_OBJECT
  public:
    SearchController(const Workspace& workspace, std::shared_ptr<const CorrespondentKeys> keys,
                     QObject* parent = nullptr);
    ~SearchController() override;

    // The phone's folders, or the archive's, or one folder, changed: each is
    // copied and prepared again. While the archive is with a job, its
    // folders are copied once it is back.
    void phoneFoldersChanged();
    void archiveFoldersChanged();
    void folderChanged(TreeNode node);
    void setArchiveLent(bool lent);

    // What the search field holds, at every keystroke. Text without a term
    // ends the search: searchEnded() comes.
    void search(const QString& typed);
    void endSearch();
    bool isSearching() const { return m_searching; }
    const SearchQuery& query() const { return m_query; }
    // Every folder copied and prepared: nothing waits to be.
    bool isPrepared() const;

    // Gathers the conversation with the correspondent of `number` off the
    // window's thread; conversationFound() brings it. `shownAs` names it.
    void showConversation(const QString& number, const QString& shownAs);

  signals:
    void resultsFound(std::shared_ptr<const qb::FolderRows> rows, const qb::SearchQuery& query);
    void searchEnded();
    void conversationFound(const qb::GatheredConversation& conversation);
    void prepared();

  private:
    struct Preparation {
        TreeNode node;
        std::shared_ptr<const FolderRows> rows;
    };
    struct Ready {
        TreeNode node;
        std::shared_ptr<const FolderRows> rows;
        std::shared_ptr<const PreparedFolder> prepared;
    };
    void copyNext();
    void prepareNext();
    void install(Ready ready);
    void showResult(const SearchResult& result);

    const Workspace& m_workspace;
    std::shared_ptr<const CorrespondentKeys> m_keys;
    SearchRunner m_runner;
    bool m_searching = false;
    SearchQuery m_query;
    bool m_archiveLent = false;
    std::vector<TreeNode> m_copyWhenBack; // changed while the archive was lent
    // Folders waiting to be copied (one per turn of the event loop), and
    // copies waiting to be prepared (one at a time on a worker thread).
    std::deque<TreeNode> m_toCopy;
    bool m_copyQueued = false;
    std::deque<Preparation> m_toPrepare;
    QFutureWatcher<Ready> m_preparing;
    bool m_prepareBusy = false;
    // The copy each folder's prepared form in the index was made from.
    std::array<std::shared_ptr<const FolderRows>, TreeNodeCount> m_indexed;
    QFutureWatcher<GatheredConversation> m_gathering;
};

} // namespace qb

Q_DECLARE_METATYPE(std::shared_ptr<const qb::FolderRows>)
