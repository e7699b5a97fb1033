#include "ui/MessageBoxes.h"

#include "core/NativeDir.h"
#include "ui/ApplicationTitle.h"

namespace qb::ui {

void openMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
                    std::function<void(QMessageBox::StandardButton)> answered) {
    // A folder whose name is not UTF-8 is reached through /proc/self/fd; the
    // user reads its own name.
    auto* box = new QMessageBox(icon, ApplicationTitle, withRealFolderNames(text), buttons, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(defaultButton);
    QObject::connect(box, &QMessageBox::finished, box, [box, answered = std::move(answered)] {
        if (answered)
            answered(box->standardButton(box->clickedButton()));
    });
    box->open();
}

} // namespace qb::ui
