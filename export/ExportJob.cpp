#include "export/ExportJob.h"

namespace qb {

ExportJob::ExportJob(std::vector<std::string> templateLines, std::vector<ExportRow> rows,
                     ExportSettings settings, QObject* parent)
    : Job(parent), m_templateLines(std::move(templateLines)), m_rows(std::move(rows)),
      m_settings(std::move(settings)) {}

void ExportJob::start() {
    m_worker.start([this](Cancellation& cancel) {
        m_outcome = runExport(m_templateLines, m_rows, m_settings, progress(), &cancel);
    });
}

} // namespace qb
