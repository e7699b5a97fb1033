#include "archive/ArchiveFolder.h"

#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "archive/RecordFields.h"
#include "archive/RecordLines.h"
#include "core/FileStore.h"
#include "core/HugePages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

namespace qb {
ArchiveFolder ArchiveFolder::fromContent(FolderKind kind, std::string content) {
    ArchiveFolder folder(kind);
    folder.m_bytes.resize(content.size());
    std::copy(content.begin(), content.end(), folder.m_bytes.data());
    folder.beginParse();
    folder.parse(folder.m_bytes.view(), true);
    if (!folder.parsed())
        folder.clear();
    return folder;
}

MaybeFailure ArchiveFolder::reload(const QString& path) {
    try {
        bool begun = false;
        const auto arrived = [this, &begun](std::string_view soFar) {
            if (!std::exchange(begun, true))
                beginParse();
            parse(soFar, false);
        };
        const FileReadStatus read = readWholeFileInto(path, m_bytes, MaxFileBytes, arrived);
        if (read.failure) {
            // Refused before reading, the bytes and their records are as they were.
            if (m_bytes.empty())
                clear();
            return read.failure;
        }
        if (!read.exists) {
            clear();
            return std::nullopt;
        }
        if (!begun)
            beginParse();
        parse(m_bytes.view(), true);
        if (parsed())
            return std::nullopt;
        clear();
        return Failure::cannotOpen(
            path, QStringLiteral("Too many lines (the limit is %1)").arg(MaxFolderFileLines));
    } catch (const std::bad_alloc&) {
        // Within the limits, yet more than this process may hold: the folder
        // stays empty rather than half loaded, and the window usable.
        clear();
        return Failure::cannotOpen(path, QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
}

void ArchiveFolder::clear() {
    m_bytes.release();
    fileLines::LineStarts().swap(m_lineStarts);
    m_count = 0;
}

void ArchiveFolder::beginParse() {
    m_lineStarts.clear();
    // Lines of at least 16 bytes, which real ones are by far, fit without
    // growing; a reload overwrites the lines of the last one.
    const std::size_t wanted = m_bytes.capacity() / 16 + 2;
    if (m_lineStarts.capacity() < wanted) {
        fileLines::LineStarts().swap(m_lineStarts);
        m_lineStarts.reserve(wanted);
        adviseHugePages(m_lineStarts.data(), wanted * sizeof(std::uint32_t));
    }
    m_lineStarts.push_back(0);
    m_count = 0;
    m_scanned = 0;
    m_crBefore = false;
}

void ArchiveFolder::parse(std::string_view soFar, bool atEnd) {
    if (lineCount() > MaxFolderFileLines)
        return;
    // Short of the end, the last byte waits for the next piece: a CR there
    // may be half a CR LF.
    const std::size_t to = atEnd || soFar.empty() ? soFar.size() : soFar.size() - 1;
    if (to > m_scanned) {
        fileLines::appendLineStarts(soFar, m_scanned, to, m_crBefore, m_lineStarts);
        m_scanned = to;
    }
    if (!atEnd)
        return;
    // A last line without a break ends with the bytes.
    if (m_lineStarts.back() < soFar.size())
        m_lineStarts.push_back(static_cast<std::uint32_t>(soFar.size()));
    // A partial last record counts; a sent or unsent folder of a single line holds nothing.
    const std::size_t lines = lineCount();
    const std::size_t size = static_cast<std::size_t>(record::lineCount(m_kind));
    const bool tooShort = m_kind != FolderKind::Inbox && lines <= 1;
    m_count = tooShort ? 0 : static_cast<int>((lines + size - 1) / size);
}

bool ArchiveFolder::parsed() {
    return lineCount() <= MaxFolderFileLines;
}

std::string_view ArchiveFolder::line(std::size_t j) const {
    if (j >= lineCount())
        return {};
    const std::size_t start = m_lineStarts[j];
    std::size_t end = m_lineStarts[j + 1];
    // The bytes in front of the next line are this one's break, if any: a
    // line holds no CR or LF of its own.
    if (end > start && m_bytes[end - 1] == '\n')
        --end;
    if (end > start && m_bytes[end - 1] == '\r')
        --end;
    return fileLines::readerView(std::string_view(m_bytes.data() + start, end - start));
}

MessageView ArchiveFolder::message(int i) const {
    const std::size_t size = static_cast<std::size_t>(record::lineCount(m_kind));
    const std::size_t first = static_cast<std::size_t>(i) * size;
    return record::read(m_kind, line(first), line(first + 1), line(first + 2),
                        size > 3 ? line(first + 3) : std::string_view());
}

ArchiveFolder& Archive::folder(FolderKind kind) {
    return byFolderKind(kind, inbox, outbox, draft);
}

const ArchiveFolder& Archive::folder(FolderKind kind) const {
    return const_cast<Archive*>(this)->folder(kind);
}

} // namespace qb
