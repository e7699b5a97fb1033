#include "export/ExportJob.h"

#include <new>

namespace qb {

ExportJob::ExportJob(std::vector<std::string> templateLines, std::vector<ExportRow> rows,
                     ExportSettings settings, QObject* parent)
    : Job(parent), m_templateLines(std::move(templateLines)), m_rows(std::move(rows)),
      m_settings(std::move(settings)) {}

void ExportJob::start() {
    m_worker.start([this](Cancellation& cancel) {
        try {
            m_outcome = runExport(m_templateLines, m_rows, m_settings, progress(), &cancel);
        } catch (const std::bad_alloc&) {
            m_outcome.failure = Failure::outOfMemory();
        }
    });
}

} // namespace qb
