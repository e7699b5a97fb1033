#include "export/print/PrintJob.h"

#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <new>

namespace qb {

PrintJob::PrintJob(Document document, std::unique_ptr<QPagedPaintDevice> device, QObject* parent)
    : Job(parent), m_document(std::move(document)), m_device(std::move(device)) {}

PrintJob::PrintJob(Document document, QString path, QPageSize::PageSizeId pageSize, QObject* parent)
    : Job(parent), m_document(std::move(document)), m_path(std::move(path)), m_pageSize(pageSize) {}

PrintJob::~PrintJob() = default;

void PrintJob::start() {
    m_worker.start([this](Cancellation& cancel) {
        try {
            const PrintedDocument document = m_document();
            m_printed = static_cast<int>(document.messages.size());
            if (!m_device) {
                m_failure = writeMessagesPdf(m_path, document, m_pageSize, &cancel);
            } else if (!printMessages(*m_device, document, &cancel) && !cancel.requested()) {
                m_failure = Failure::message(QCoreApplication::translate(
                    "PrintJob", "Не удалось напечатать: принтер недоступен."));
            }
        } catch (const std::bad_alloc&) {
            m_failure = Failure::outOfMemory();
        }
    });
}

} // namespace qb
