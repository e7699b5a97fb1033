#pragma once
// The prepared copy of every folder that a search scans: each message's
// correspondent name, number and text, folded (SearchFolding.h) and laid one
// after another, so that a keystroke costs one pass over memory. A folder is
// prepared once, off the window's thread, and prepared again when it changes;
// a SearchIndex is a cheap copy that a scan keeps while the window goes on.
#include "core/Cancellation.h"
#include "search/SearchQuery.h"

#include <QStringView>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace qb {

// One folder, prepared. Its documents are numbered by the order they were
// added in (their position in the folder).
struct PreparedFolder {
    int folder = 0;
    int documentCount = 0;

    // The documents with a Windows-1251 byte for every folded character (the
    // archive holds nothing else), a byte each; the others in UTF-16. Each
    // document's fields are ended by a zero, which no term holds, so a term
    // never matches across two fields or two documents.
    struct Part {
        std::string bytes;
        std::u16string units;
        std::vector<std::size_t> starts; // document k spans starts[k] to starts[k + 1]
        std::vector<int> positions;      // document k's position in the folder
    };
    Part compact;
    Part wide;
};

class FolderIndexBuilder {
  public:
    explicit FolderIndexBuilder(int folder);

    // The next document: position 0, 1, 2, ... in the order added. `number`
    // is also searchable by its digits alone ("+7 916 123-45-67" holds "9161234567").
    void add(QStringView text, QStringView number, QStringView name);
    std::shared_ptr<const PreparedFolder> finish();

  private:
    bool addCompact(std::initializer_list<QStringView> fields);
    void addWide(std::initializer_list<QStringView> fields);

    std::shared_ptr<PreparedFolder> m_folder;
    QString m_digits;
};

struct SearchHit {
    int folder = 0;
    int position = 0;
    bool operator==(const SearchHit&) const = default;
};

class SearchIndex {
  public:
    // Adds the folder, or replaces the one prepared before with its number.
    void setFolder(std::shared_ptr<const PreparedFolder> folder);
    void removeFolder(int folder);
    int documentCount() const;

    // The documents holding every term of `query` (all of them for an empty
    // one), folder by folder in ascending folder number, each folder's in
    // position order. Looks at `cancel` every few thousand documents and
    // gives nothing once it stops there.
    std::vector<SearchHit> find(const SearchQuery& query, Cancellation* cancel = nullptr) const;

  private:
    std::vector<std::shared_ptr<const PreparedFolder>> m_folders; // by folder number
};

} // namespace qb
