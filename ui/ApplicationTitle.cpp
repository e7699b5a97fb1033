#include "ui/ApplicationTitle.h"

#include "models/Icons.h"

#include <QApplication>

namespace qb::ui {

void applyApplicationIdentity() {
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    QApplication::setOrganizationName(QStringLiteral("Quillbox"));
    QApplication::setApplicationVersion(programVersion());
    QApplication::setDesktopFileName(QStringLiteral("quillbox"));
    QApplication::setWindowIcon(programIcon());
}

} // namespace qb::ui
