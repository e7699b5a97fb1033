#include "core/ProgressSignal.h"

namespace qb {
namespace {

// Often enough for a bar to move smoothly, seldom enough to cost nothing.
constexpr qint64 ReportIntervalMs = 30;

} // namespace

ProgressSignal::ProgressSignal(QObject* parent) : QObject(parent) {
    qRegisterMetaType<qb::ProgressState>();
}

void ProgressSignal::setPosition(int position) {
    m_state.position = position;
    report(position >= m_state.maximum);
}

void ProgressSignal::setMaximum(int maximum) {
    m_state.maximum = maximum;
    report(true);
}

void ProgressSignal::setTextVisible(bool visible) {
    m_state.textVisible = visible;
    report(true);
}

void ProgressSignal::setVisible(bool visible) {
    m_state.visible = visible;
    report(true);
}

void ProgressSignal::report(bool always) {
    if (m_state == m_reported)
        return;
    if (!always && m_sinceReport.isValid() && m_sinceReport.elapsed() < ReportIntervalMs)
        return;
    m_reported = m_state;
    m_sinceReport.start();
    emit changed(m_state);
}

} // namespace qb
