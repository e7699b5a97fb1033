#pragma once
// Message boxes opened window-modally over `parent` with open(): the caller
// goes on at once and hears the answer by `answered`, so no box runs a loop of
// its own. Every box carries the program's title.
#include <QMessageBox>
#include <functional>

namespace qb::ui {

void openMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                    std::function<void(QMessageBox::StandardButton)> answered = {});

} // namespace qb::ui
