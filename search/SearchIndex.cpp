#include "search/SearchIndex.h"

#include "search/ByteSearch.h"
#include "search/SearchFolding.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace qb {
namespace {

// How many documents a scan passes between two looks at its cancellation:
// a few hundred microseconds of work.
constexpr std::size_t CheckEvery = 4096;

using Part = PreparedFolder::Part;

// The number's digits with its leading plus, when they differ from the number
// as written: a search for "9161234567" then finds "8 (916) 123-45-67".
void numberDigits(QStringView number, QString& digits) {
    digits.clear();
    for (const QChar c : number)
        if (c.isDigit() || (c == u'+' && digits.isEmpty()))
            digits += c;
    if (digits.size() == number.size())
        digits.clear();
}

// A term in the compact part's bytes; none when a character has no byte, and
// then no compact document can hold it.
std::optional<std::string> compactTerm(const QString& term) {
    std::string bytes;
    bytes.reserve(std::size_t(term.size()));
    for (const QChar c : term) {
        const std::uint8_t byte = compactByte(c.unicode());
        if (byte == 0)
            return std::nullopt;
        bytes += char(byte);
    }
    return bytes;
}

bool holds(std::string_view document, const std::string& term) {
    return findBytes(document.data(), document.data() + document.size(), term) != nullptr;
}

bool holds(std::u16string_view document, const QString& term) {
    return document.find(std::u16string_view(
               QStringView(term).utf16(), std::size_t(term.size()))) != std::u16string_view::npos;
}

// The document holding byte `at`, looked for from `first` on in growing steps:
// the next match is most often in one of the next few documents.
std::size_t documentAt(const Part& part, std::size_t first, std::size_t at) {
    const std::size_t count = part.positions.size();
    std::size_t low = first;
    std::size_t step = 1;
    while (low + step < count && part.starts[low + step] <= at) {
        low += step;
        step *= 2;
    }
    const auto from = part.starts.begin() + std::ptrdiff_t(low) + 1;
    const auto to = part.starts.begin() + std::ptrdiff_t(std::min(low + step, count)) + 1;
    return std::size_t(std::upper_bound(from, to, at) - part.starts.begin()) - 1;
}

// Finds the documents holding every term: the longest term (the likeliest to
// be rare) is looked for through the bytes of a few thousand documents at a
// time, and only a document it occurs in is searched for the others.
bool scanCompact(const Part& part, const std::vector<std::string>& terms,
                 std::vector<int>& positions, Cancellation* cancel) {
    const std::size_t count = part.positions.size();
    const auto pivot = std::max_element(terms.begin(), terms.end(),
                                        [](auto& a, auto& b) { return a.size() < b.size(); });
    const char* bytes = part.bytes.data();
    for (std::size_t block = 0; block < count; block += CheckEvery) {
        if (stopsHere(cancel))
            return false;
        const std::size_t blockEnd = part.starts[std::min(count, block + CheckEvery)];
        std::size_t from = part.starts[block];
        std::size_t document = block;
        while (from < blockEnd) {
            const char* found = findBytes(bytes + from, bytes + blockEnd, *pivot);
            if (!found)
                break;
            document = documentAt(part, document, std::size_t(found - bytes));
            const std::size_t end = part.starts[document + 1];
            const std::string_view text(bytes + part.starts[document], end - part.starts[document]);
            const bool holdsAll =
                std::all_of(terms.begin(), terms.end(), [&](const std::string& term) {
                    return &term == &*pivot || holds(text, term);
                });
            if (holdsAll)
                positions.push_back(part.positions[document]);
            from = end;
        }
    }
    return true;
}

bool scanWide(const Part& part, const std::vector<QString>& terms, std::vector<int>& positions,
              Cancellation* cancel) {
    for (std::size_t k = 0; k < part.positions.size(); ++k) {
        if (k % CheckEvery == 0 && stopsHere(cancel))
            return false;
        const std::u16string_view text(part.units.data() + part.starts[k],
                                       part.starts[k + 1] - part.starts[k]);
        if (std::all_of(terms.begin(), terms.end(),
                        [&](const QString& term) { return holds(text, term); }))
            positions.push_back(part.positions[k]);
    }
    return true;
}

} // namespace

FolderIndexBuilder::FolderIndexBuilder(int folder) : m_folder(std::make_shared<PreparedFolder>()) {
    m_folder->folder = folder;
    m_folder->compact.starts.push_back(0);
    m_folder->wide.starts.push_back(0);
}

void FolderIndexBuilder::add(QStringView text, QStringView number, QStringView name) {
    numberDigits(number, m_digits);
    const auto fields = {name, number, QStringView(m_digits), text};
    if (addCompact(fields)) {
        m_folder->compact.positions.push_back(m_folder->documentCount++);
        return;
    }
    addWide(fields);
    m_folder->wide.positions.push_back(m_folder->documentCount++);
}

bool FolderIndexBuilder::addCompact(std::initializer_list<QStringView> fields) {
    Part& part = m_folder->compact;
    for (const QStringView field : fields) {
        char16_t previous = 0;
        for (const QChar c : field) {
            if (foldsAway(c.unicode(), previous))
                continue;
            previous = foldUnit(c.unicode());
            const std::uint8_t byte = compactByte(previous);
            if (byte == 0) {
                part.bytes.resize(part.starts.back());
                return false;
            }
            part.bytes += char(byte);
        }
        part.bytes += '\0';
    }
    part.starts.push_back(part.bytes.size());
    return true;
}

void FolderIndexBuilder::addWide(std::initializer_list<QStringView> fields) {
    Part& part = m_folder->wide;
    for (const QStringView field : fields) {
        const FoldedText folded = foldForSearch(field);
        part.units.append(QStringView(folded.text).utf16(), std::size_t(folded.text.size()));
        part.units += u'\0';
    }
    part.starts.push_back(part.units.size());
}

std::shared_ptr<const PreparedFolder> FolderIndexBuilder::finish() {
    auto done = std::move(m_folder);
    // Grown by doubling, the parts would keep up to half again their size for
    // as long as the folder is searched.
    for (Part* part : {&done->compact, &done->wide}) {
        part->bytes.shrink_to_fit();
        part->units.shrink_to_fit();
        part->starts.shrink_to_fit();
        part->positions.shrink_to_fit();
    }
    *this = FolderIndexBuilder(done->folder);
    return done;
}

void SearchIndex::setFolder(std::shared_ptr<const PreparedFolder> folder) {
    const auto at = std::lower_bound(m_folders.begin(), m_folders.end(), folder->folder,
                                     [](const auto& f, int number) { return f->folder < number; });
    if (at != m_folders.end() && (*at)->folder == folder->folder)
        *at = std::move(folder);
    else
        m_folders.insert(at, std::move(folder));
}

void SearchIndex::removeFolder(int folder) {
    std::erase_if(m_folders, [folder](const auto& f) { return f->folder == folder; });
}

int SearchIndex::documentCount() const {
    int count = 0;
    for (const auto& folder : m_folders)
        count += folder->documentCount;
    return count;
}

std::vector<SearchHit> SearchIndex::find(const SearchQuery& query, Cancellation* cancel) const {
    std::vector<std::string> compactTerms;
    bool compactCanMatch = true;
    for (const QString& term : query.terms) {
        auto bytes = compactTerm(term);
        compactCanMatch = compactCanMatch && bytes.has_value();
        if (bytes)
            compactTerms.push_back(std::move(*bytes));
    }
    std::vector<SearchHit> hits;
    std::vector<int> compact;
    std::vector<int> wide;
    for (const auto& folder : m_folders) {
        compact.clear();
        wide.clear();
        if (query.isEmpty()) {
            for (int k = 0; k < folder->documentCount; ++k)
                hits.push_back({folder->folder, k});
            continue;
        }
        if (compactCanMatch && !scanCompact(folder->compact, compactTerms, compact, cancel))
            return {};
        if (!scanWide(folder->wide, query.terms, wide, cancel))
            return {};
        auto c = compact.begin();
        auto w = wide.begin();
        while (c != compact.end() || w != wide.end()) {
            const bool fromCompact = w == wide.end() || (c != compact.end() && *c < *w);
            hits.push_back({folder->folder, fromCompact ? *c++ : *w++});
        }
    }
    return hits;
}

} // namespace qb
