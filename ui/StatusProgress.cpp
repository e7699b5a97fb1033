#include "ui/StatusProgress.h"

#include <QProgressBar>

namespace qb::ui {

int StatusProgress::position() const {
    return m_bar->value();
}

void StatusProgress::setPosition(int position) {
    m_bar->setValue(position);
}

void StatusProgress::setMaximum(int maximum) {
    // A folder of one message asks for maximum 0; the bar then shows "busy",
    // which is what an almost empty run looks like anyway.
    m_bar->setMaximum(maximum < 0 ? 0 : maximum);
}

void StatusProgress::setTextVisible(bool visible) {
    m_bar->setTextVisible(visible);
}

void StatusProgress::setVisible(bool visible) {
    m_bar->setVisible(visible);
}

} // namespace qb::ui
