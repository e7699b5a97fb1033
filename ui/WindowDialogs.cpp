#include "ui/WindowDialogs.h"

#include "ui/MessageBoxes.h"

#include <QApplication>

namespace qb::ui {

QWidget* WindowDialogs::parent() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && m_window && m_window->isAncestorOf(modal) ? modal : m_window;
}

void WindowDialogs::inform(const QString& text) {
    openMessageBox(parent(), QMessageBox::Information, text);
}

void WindowDialogs::tell(const QString& text) {
    openMessageBox(parent(), QMessageBox::NoIcon, text);
}

void WindowDialogs::fail(const QString& text) {
    openMessageBox(parent(), QMessageBox::Critical, text);
}

void WindowDialogs::ask(const QString& question, std::function<void(bool)> answered) {
    openMessageBox(parent(), QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::No,
                   [answered = std::move(answered)](QMessageBox::StandardButton button) {
                       answered(button == QMessageBox::Yes);
                   });
}

} // namespace qb::ui
