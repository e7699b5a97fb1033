#include "ui/CommandButton.h"

#include <QActionEvent>

namespace qb::ui {

CommandButton::CommandButton(QAction* command, const QIcon& picture, const QString& hint,
                             QWidget* parent)
    : QToolButton(parent), m_picture(picture), m_hint(hint) {
    setDefaultAction(command);
    showOwnFace();
}

void CommandButton::actionEvent(QActionEvent* event) {
    QToolButton::actionEvent(event);
    if (event->action() == defaultAction())
        showOwnFace();
}

void CommandButton::showOwnFace() {
    setIcon(m_picture);
    setText(m_hint);
    setToolTip(m_hint);
}

} // namespace qb::ui
