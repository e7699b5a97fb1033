#include "export/smartphone/SmartphoneExportJob.h"

namespace qb {

SmartphoneExportJob::SmartphoneExportJob(QString workDir, QString targetDir, QObject* parent)
    : Job(parent), m_workDir(std::move(workDir)), m_targetDir(std::move(targetDir)) {}

void SmartphoneExportJob::start() {
    m_worker.start([this](Cancellation& cancel) {
        if (cancel.stopsHere())
            return;
        m_result = exportForSmartphone(m_workDir, m_targetDir);
    });
}

} // namespace qb
