#pragma once
// Printing or saving as PDF on a worker thread: the document is made there
// too, from rows the list handed over, so thousands of messages keep the
// window's thread free.
#include "core/Job.h"
#include "core/JobWorker.h"
#include "export/print/MessagePrint.h"

#include <QPagedPaintDevice>
#include <functional>
#include <memory>

namespace qb {

class PrintJob : public Job {
    Q_OBJECT
  public:
    using Document = std::function<PrintedDocument()>;
    // Onto a printer (or any paged device) the caller set up.
    PrintJob(Document document, std::unique_ptr<QPagedPaintDevice> device,
             QObject* parent = nullptr);
    // As a PDF at `path`.
    PrintJob(Document document, QString path, QPageSize::PageSizeId pageSize,
             QObject* parent = nullptr);
    ~PrintJob() override;

    void start() override;
    void cancel() override { m_worker.cancel(); }

    const MaybeFailure& failure() const { return m_failure; }
    bool cancelled() const { return m_worker.stopped(); }
    int printedCount() const { return m_printed; }
    const QString& path() const { return m_path; }

  private:
    Document m_document;
    std::unique_ptr<QPagedPaintDevice> m_device;
    QString m_path;
    QPageSize::PageSizeId m_pageSize = QPageSize::A4;
    MaybeFailure m_failure;
    int m_printed = 0;
    JobWorker m_worker{*this}; // last: destroyed first, waiting for the work
};

} // namespace qb
