#pragma once
// A conversation, a search's results or a selection on paper: each message
// with its direction, correspondent, time and text; received messages on the
// left, sent and unsent ones on the right, as the conversation view shows
// them. Every page has a header with the title and the page number.
#include "core/Cancellation.h"
#include "core/Failure.h"
#include "core/MessageDirection.h"

#include <QDateTime>
#include <QPageSize>
#include <QString>
#include <optional>
#include <vector>

class QPagedPaintDevice;

namespace qb {

struct PrintedMessage {
    MessageDirection direction = MessageDirection::Received;
    QString correspondent; // as the list shows it: the name and the number
    std::optional<QDateTime> time;
    bool timeEstimated = false; // placed by its neighbours: printed as "about"
    QString text;
};

struct PrintedDocument {
    QString title; // on every page, and the PDF's own title
    std::vector<PrintedMessage> messages;
};

// Paints the messages on `device` from its first page, adding pages as they
// fill, within the device's page layout (a QPrinter's as its dialog set it).
// Thousands of messages take seconds: run it off the window's thread; it
// looks at `cancel` between messages and pages. False when the device cannot
// be painted on or the work stopped.
bool printMessages(QPagedPaintDevice& device, const PrintedDocument& document,
                   Cancellation* cancel = nullptr);

// The document as a PDF at `path`, with margins of 15 mm, written whole: a
// failed or stopped write leaves what was there (stopped, it reports no
// failure). Its text is selectable and searchable, Cyrillic included.
MaybeFailure writeMessagesPdf(const QString& path, const PrintedDocument& document,
                              QPageSize::PageSizeId pageSize = QPageSize::A4,
                              Cancellation* cancel = nullptr);

} // namespace qb
