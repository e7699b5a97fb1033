// The main window's deleting: the Delete key in the list and deleting the
// selected messages on the phone (in the archive: MainWindowArchive.cpp).
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "controllers/PhoneController.h"
#include "core/Cp1251.h"
#include "models/MessageListModel.h"
#include "ui/ApplicationTitle.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MessageViewer.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QTableView>

using qb::MessageRow;

namespace {

const QString DeleteQuestion = QStringLiteral("Вы действительно хотите удалить сообщения?");

} // namespace

void MainWindow::handleListKey(QKeyEvent* event) {
    if (isBusy())
        return;
    if (event->key() == Qt::Key_A && event->modifiers().testFlag(Qt::ControlModifier)) {
        event->accept();
        m_messageList->selectAll();
    } else if (event->key() == Qt::Key_Delete) {
        event->accept();
        const auto answer =
            QMessageBox::question(this, qb::ui::ApplicationTitle, DeleteQuestion,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
        const int target = deletionTarget();
        if (qb::isPhoneFolder(target))
            deleteOnPhone(qb::folderKindOfNode(target));
        else if (qb::isArchiveFolder(target))
            deleteRowsInArchive(qb::folderKindOfNode(target));
    }
}

// The rows carry record numbers of the folder the list shows. When the tree's
// selection has moved away from it without a refill (keys other than the
// arrows move it too), those numbers belong to another folder: delete nothing.
int MainWindow::deletionTarget() const {
    const int selected = m_folderTree->selectedPosition();
    return selected == m_shownFolder ? selected : -1;
}

void MainWindow::deleteSelectedOnPhone() {
    const int target = deletionTarget();
    if (qb::isPhoneFolder(target))
        deleteOnPhone(qb::folderKindOfNode(target));
}

void MainWindow::deleteOnPhone(qb::FolderKind folder) {
    std::vector<qb::DeleteRow> rows;
    for (const int row : selectedRows()) {
        const MessageRow& shown = m_messages->row(row);
        rows.push_back({shown.record, qb::cp1251::fromUnicode(shown.index)});
    }
    m_phone->deleteOnPhone(folder, std::move(rows));
}
