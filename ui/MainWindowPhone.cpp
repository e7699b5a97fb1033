// The main window's side of the phone link: it shows what the phone
// controller reports (connection status, the end of a read) and closes the
// ports at exit.
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "controllers/PhoneController.h"
#include "controllers/UserDialogs.h"
#include "models/ImageList.h"
#include "models/MessageListModel.h"
#include "phonelink/PhonePort.h"
#include "phonelink/PhoneWatcher.h"
#include "ui/ApplicationTitle.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MessageViewer.h"
#include "ui/StatusPanel.h"
#include "ui/StatusProgress.h"

#include <QMessageBox>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace {

// The window's message boxes for the commands.
class Dialogs : public qb::UserDialogs {
  public:
    explicit Dialogs(QWidget* parent) : m_parent(parent) {}
    void inform(const QString& text) override {
        QMessageBox::information(m_parent, qb::ui::ApplicationTitle, text);
    }
    void tell(const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, qb::ui::ApplicationTitle, text, QMessageBox::Ok,
                        m_parent);
        box.exec();
    }
    void fail(const QString& text) override {
        QMessageBox::critical(m_parent, qb::ui::ApplicationTitle, text);
    }
    void ask(const QString& question, std::function<void(bool)> answered) override {
        answered(QMessageBox::question(m_parent, qb::ui::ApplicationTitle, question,
                                       QMessageBox::Yes | QMessageBox::No,
                                       QMessageBox::No) == QMessageBox::Yes);
    }

  private:
    QWidget* m_parent;
};

} // namespace

void MainWindow::createDeviceWatcher() {
    m_phoneWatcher = new qb::PhoneWatcher(this);
    m_dialogs = std::make_unique<Dialogs>(this);
    m_phone = new qb::PhoneController(m_workspace, *m_phoneWatcher, m_commands, *m_dialogs, this);
    connect(m_phone, &qb::PhoneController::connectionChanged, this,
            &MainWindow::showConnectionState);
    connect(m_phone, &qb::PhoneController::readEnded, this, &MainWindow::expandPhoneNode);
    connect(m_phone, &qb::PhoneController::phoneCaptionsChanged, this,
            &MainWindow::setPhoneCaptions);
    connect(m_phone, &qb::PhoneController::archiveChanged, this, [this] {
        reloadArchive();
        loadPhonebook();
    });
    connect(m_phone, &qb::PhoneController::phoneFolderChanged, this,
            &MainWindow::refreshShownPhoneFolder);
    connect(m_phone, &qb::PhoneController::deletedOnPhone, this,
            [this](qb::FolderKind, const std::vector<int>& positions) {
                m_messages->removeRecords(positions);
                m_viewer->clear();
            });
    // One busy state: the command controls rest while a job runs.
    connect(&m_commands, &qb::CommandState::busyChanged, this, [this](bool busy) {
        if (busy)
            m_jobBusy.emplace(m_busy);
        else
            m_jobBusy.reset();
    });
    connect(&m_commands, &qb::CommandState::progressChanged, this,
            [this](const qb::ProgressState& state) {
                m_progress->setMaximum(state.maximum);
                m_progress->setPosition(state.position);
                m_progress->setTextVisible(state.textVisible);
                m_progress->setVisible(state.visible);
            });
}

qb::PhonePort* MainWindow::activePort() const {
    return m_phone->activePort();
}

void MainWindow::setDeletionPort(qb::AtPort* port) {
    m_phone->setDeletionPort(port);
}

void MainWindow::refreshConnectionStatus() {
    m_phone->refreshConnection();
}

void MainWindow::showConnectionState(bool connected, const QString& phoneCaption) {
    if (connected) {
        m_readButton->setEnabled(!isBusy());
        m_statusPanel->setText(QStringLiteral(" Состояние: Подключен"));
        m_statusPanel->setImage(qb::Image::Connected);
        m_folderTree->setCaption(qb::PhoneNode, phoneCaption);
    } else {
        m_statusPanel->setText(QStringLiteral(" Состояние: Отключен"));
        m_statusPanel->setImage(qb::Image::Disconnected);
        m_readButton->setEnabled(false);
    }
}

void MainWindow::readPhone() {
    // The menu item acts only while the toolbar button would.
    if (!m_readButton->isEnabled() || m_commands.isBusy())
        return;
    setMessagePanel(QString());
    m_phone->readPhone();
}

void MainWindow::expandPhoneNode() {
    QTreeWidgetItem* phone = node(qb::PhoneNode);
    m_folderTree->expandItem(phone);
    for (int i = 0; i < phone->childCount(); ++i)
        m_folderTree->expandItem(phone->child(i));
}

// Rows of a phone folder carry positions of the read that filled them. After a
// new read those positions name other messages, and deleting from such rows
// would remove the wrong entries: the shown phone folder is listed afresh.
void MainWindow::refreshShownPhoneFolder() {
    if (!qb::isPhoneFolder(m_shownFolder))
        return;
    if (m_folderTree->selectedPosition() == m_shownFolder) {
        fillList();
        return;
    }
    m_shownFolder = -1;
    m_messages->clear();
    m_viewer->clear();
    m_exportSelectedButton->setEnabled(false);
    m_exportAllButton->setEnabled(false);
}

// --- Closing

void MainWindow::closePorts() {
    qb::PhonePortList& ports = m_phoneWatcher->ports();
    for (int i = 0; i < ports.count(); ++i) {
        if (qb::PhonePort* port = ports.at(i); port->isOpen())
            port->close();
    }
}
