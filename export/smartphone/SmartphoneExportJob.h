#pragma once
// The export for a modern phone (exportForSmartphone) on a worker thread.
#include "core/Job.h"
#include "core/JobWorker.h"
#include "export/smartphone/SmartphoneExport.h"

#include <QString>

namespace qb {

class SmartphoneExportJob : public Job {
    Q_OBJECT
  public:
    SmartphoneExportJob(QString workDir, QString targetDir, QObject* parent = nullptr);

    void start() override;
    // Honoured only before the archive is read: the export itself takes
    // well under the time a user needs to ask.
    void cancel() override { m_worker.cancel(); }

    const SmartphoneExport& result() const { return m_result; }
    bool cancelled() const { return m_worker.stopped(); }

  private:
    const QString m_workDir;
    const QString m_targetDir;
    SmartphoneExport m_result;
    JobWorker m_worker{*this}; // last: destroyed first, waiting for the work
};

} // namespace qb
