// The main window's side of the phone link: following the device watcher,
// the connection status, the read command and closing the ports at exit.
#include "ui/TForm1.h"

#include "archive/FolderTree.h"
#include "phonelink/MotoATMode.h"
#include "phonelink/MotoATModemItem.h"
#include "reading/dialogue/PhoneRead.h"
#include "ui/BusyScope.h"
#include "ui/FolderTreeWidget.h"
#include "ui/ImageList.h"
#include "ui/MessageListModel.h"
#include "ui/MessageViewer.h"
#include "ui/StatusPanel.h"

#include <QMessageBox>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace {

const QString DeviceBusy = QStringLiteral("Утройство занято!");
const QString NoPermission = QStringLiteral(
    "Нет прав на доступ к телефону (%1).\n"
    "Добавьте пользователя в группу dialout или установите правило udev, "
    "которое поставляется с Quillbox, и подключите телефон заново.");
const QString PhoneVanished = QStringLiteral(
    "Телефон отключён во время чтения. Чтение прервано, архив не изменён.");

void tell(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, QStringLiteral("Quillbox 1.1"), text);
}

} // namespace

void TForm1::createDeviceWatcher()
{
    MotoATMode1 = new qb::TMotoATMode(this);
    connect(MotoATMode1, &qb::TMotoATMode::portRemoved, this, &TForm1::forgetPort);
}

void TForm1::forgetPort(qb::TMotoATModemItem* port)
{
    if (ActivePort == port)
        ActivePort = nullptr;
}

qb::PortSource TForm1::portSource()
{
    return [this]() -> qb::AtPort* { return ActivePort; };
}

void TForm1::RefreshConnectionStatus()
{
    if (MotoATMode1->DeviseCount() >= 1) {
        ActivePort = MotoATMode1->List().ItemAt(0);
        suiButton1->setEnabled(!isBusy());
        m_statusPanel->setText(QStringLiteral(" Состояние: Подключен"));
        m_statusPanel->setImage(qb::ui::Image::Connected);
        // sysfs gives the USB product string in UTF-8, not in the archive's code page.
        const std::string& location = ActivePort->ModemInfo().LocationInformation;
        SMS->setCaption(qb::PhoneNode, QString::fromUtf8(location.data(), qsizetype(location.size())));
    } else {
        m_statusPanel->setText(QStringLiteral(" Состояние: Отключен"));
        m_statusPanel->setImage(qb::ui::Image::Disconnected);
        suiButton1->setEnabled(false);
    }
}

void TForm1::Timer2Timer()
{
    RefreshConnectionStatus();
}

// --- The read command

bool TForm1::openActivePort()
{
    if (ActivePort && ActivePort->Open())
        return true;
    const bool denied = ActivePort && ActivePort->lastOpenError() == qb::OpenError::NoPermission;
    if (denied) {
        const std::string& path = ActivePort->ModemInfo().DevicePath;
        tell(this, NoPermission.arg(QString::fromLocal8Bit(path.data(), qsizetype(path.size()))));
    } else {
        tell(this, DeviceBusy);
    }
    return false;
}

void TForm1::suiButton1Click()
{
    if (isBusy() || !openActivePort())
        return;
    setMessagePanel(QString());
    progress().setMaximum(100);
    progress().setVisible(true);
    progress().setPosition(0);

    qb::ReadOutcome outcome;
    {
        qb::ui::BusyScope busy(*this);
        qb::ReadContext context{portSource(), progress(),      Memo2,       Memo3,  fieldBounds,
                                ProgressStepSize, readResult, phonebook, WorkDir};
        outcome = qb::InboxExecute(context);
    }
    progress().setTextVisible(true);
    switch (outcome.kind) {
    case qb::ReadOutcome::Kind::PortVanished:
        progress().setVisible(false);
        tell(this, PhoneVanished);
        break;
    case qb::ReadOutcome::Kind::Failed:
        progress().setVisible(false);
        showFailure(*outcome.failure);
        finishPhoneRead(); // the phone folders show what was read before the stop
        break;
    case qb::ReadOutcome::Kind::Finished:
    case qb::ReadOutcome::Kind::NothingListed:
        finishPhoneRead();
        break;
    }
    RefreshConnectionStatus();
}

void TForm1::finishPhoneRead()
{
    QTreeWidgetItem* phone = node(qb::PhoneNode);
    SMS->expandItem(phone);
    for (int i = 0; i < phone->childCount(); ++i)
        SMS->expandItem(phone->child(i));
    progress().setVisible(false);
    const auto readSomething = [this](qb::FolderKind kind) {
        const qb::ReadEntry* first = readResult.folder(kind).find(1);
        return first && !first->Index.empty();
    };
    if (readSomething(qb::FolderKind::Inbox) || readSomething(qb::FolderKind::Outbox)
        || readSomething(qb::FolderKind::Draft)) {
        SetPhoneCaptions();
        ReloadArchive();
        LoadPhonebook();
    }
    refreshShownPhoneFolder();
}

// Rows of a phone folder carry positions of the read that filled them. After a
// new read those positions name other messages, and deleting from such rows
// would remove the wrong entries: the shown phone folder is listed afresh.
void TForm1::refreshShownPhoneFolder()
{
    if (!qb::isPhoneFolder(ShownFolder))
        return;
    if (SMS->selectedPosition() == ShownFolder) {
        FillList();
        return;
    }
    ShownFolder = -1;
    m_messages->clear();
    suiMemo1->clear();
    suiButton5->setEnabled(false);
    suiButton6->setEnabled(false);
}

// --- Closing

void TForm1::FormClose()
{
    qb::TMotoATModemList& ports = MotoATMode1->List();
    for (int i = 0; i < ports.Count(); ++i) {
        if (qb::TMotoATModemItem* port = ports.ItemAt(i); port->IsOpen())
            port->Close();
    }
}
