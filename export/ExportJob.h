#pragma once
// The export run (runExport) on a worker thread, over rows already taken from
// the list on the window's thread.
#include "core/Job.h"
#include "core/JobWorker.h"
#include "export/ExportRun.h"

#include <string>
#include <vector>

namespace qb {

class ExportJob : public Job {
    Q_OBJECT
  public:
    ExportJob(std::vector<std::string> templateLines, std::vector<ExportRow> rows,
              ExportSettings settings, QObject* parent = nullptr);

    void start() override;
    void cancel() override { m_worker.cancel(); }

    // The files written, in order, and the first write that failed.
    const ExportOutcome& outcome() const { return m_outcome; }
    const QStringList& written() const { return m_outcome.written; }
    const MaybeFailure& failure() const { return m_outcome.failure; }
    // Stopped before writing another file; a split export keeps the pieces
    // already written (listed in written()).
    bool cancelled() const { return m_worker.stopped(); }

  private:
    const std::vector<std::string> m_templateLines;
    const std::vector<ExportRow> m_rows;
    const ExportSettings m_settings;
    ExportOutcome m_outcome;
    JobWorker m_worker{*this}; // last: destroyed first, waiting for the work
};

} // namespace qb
