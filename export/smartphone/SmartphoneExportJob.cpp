#include "export/smartphone/SmartphoneExportJob.h"

#include <new>

namespace qb {

SmartphoneExportJob::SmartphoneExportJob(QString workDir, QString targetDir, QObject* parent)
    : Job(parent), m_workDir(std::move(workDir)), m_targetDir(std::move(targetDir)) {}

void SmartphoneExportJob::start() {
    m_worker.start([this](Cancellation& cancel) {
        if (cancel.stopsHere())
            return;
        try {
            m_result = exportForSmartphone(m_workDir, m_targetDir);
        } catch (const std::bad_alloc&) {
            m_result.failure = Failure::outOfMemory();
        }
    });
}

} // namespace qb
