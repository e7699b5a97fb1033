#include "controllers/Application.h"

#include "controllers/ArchiveController.h"
#include "controllers/ExportController.h"
#include "controllers/PhoneController.h"
#include "controllers/PortChoice.h"
#include "controllers/ReadOnPlug.h"
#include "controllers/UserDialogs.h"
#include "export/ExportTemplate.h"
#include "models/FolderCaptions.h"
#include "models/SettingsStore.h"
#include "numbers/CorrespondentKeys.h"
#include "phonelink/PhoneWatcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QPagedPaintDevice>
#include <utility>

namespace qb {

Application::Application(const QString& workDir, UserDialogs& dialogs,
                         std::unique_ptr<PhoneWatcher> watcher,
                         std::unique_ptr<SettingsStore> settings, QObject* parent)
    : QObject(parent), m_dialogs(dialogs),
      m_settings(settings ? std::move(settings) : std::make_unique<SettingsStore>()),
      m_watcher(watcher ? std::move(watcher) : std::make_unique<PhoneWatcher>()) {
    m_workspace.workDir = workDir;
    m_archive = new ArchiveController(m_workspace, m_commands, m_dialogs, this);
    m_exporter = new ExportController(m_workspace, m_commands, m_dialogs, this);
    m_phone = new PhoneController(m_workspace, *m_watcher, m_commands, m_dialogs, this);
    m_list = new ListController(m_workspace, *m_settings, m_commands, m_dialogs, this);
    // The remembered port first: the phone's state and the read on plugging
    // start from the ports it lists.
    m_portChoice = new PortChoice(*m_watcher, *m_settings, m_commands, this);
    m_readOnPlug = new ReadOnPlug(*m_watcher, m_commands, *m_settings, this);
    m_keys = std::make_shared<const CorrespondentKeys>();
    m_search = new SearchController(m_workspace, m_keys, this);
    m_connectionTimer.setObjectName(QStringLiteral("connectionTimer"));
    m_connectionTimer.setInterval(500);
    wireControllers();
}

Application::~Application() = default;

void Application::wireControllers() {
    // The phone: its state, a read that changed the archive, deletions.
    connect(m_phone, &PhoneController::connectionChanged, &m_commands,
            [this](bool connected) { m_commands.setConnected(connected); });
    connect(m_phone, &PhoneController::phoneCaptionsChanged, this, &Application::showPhoneCaptions);
    connect(m_phone, &PhoneController::archiveChanged, m_archive,
            &ArchiveController::reloadArchive);
    connect(m_phone, &PhoneController::phoneFolderChanged, m_list,
            &ListController::phoneFoldersChanged);
    connect(m_phone, &PhoneController::deletedOnPhone, m_list,
            [this](FolderKind folder, const std::vector<int>& positions) {
                m_list->removeRecords(phoneFolderNode(folder), positions);
            });
    connect(m_phone, &PhoneController::note, this, &Application::noted);
    // A phone plugged in, read by itself, and what became of that read.
    connect(m_readOnPlug, &ReadOnPlug::readDue, this, &Application::readOnPlugDue);
    connect(m_phone, &PhoneController::readReported, this, [this](const ReadReport& report) {
        if (report.start == ReadStart::Unattended)
            emit readNoticed(readNotice(report));
    });
    // The archive: read again, changed behind the rows, records deleted.
    connect(m_archive, &ArchiveController::archiveReloaded, m_list, &ListController::clearViewer);
    connect(m_archive, &ArchiveController::archiveReplaced, m_list,
            &ListController::archiveFoldersChanged);
    connect(m_archive, &ArchiveController::recordsDeleted, m_list,
            [this](FolderKind folder, const std::vector<int>& records) {
                m_list->removeRecords(archiveFolderNode(folder), records);
            });
    connect(m_archive, &ArchiveController::archiveLent, m_list, &ListController::setArchiveLent);
    connect(m_archive, &ArchiveController::noted, this, &Application::noted);
    connect(m_exporter, &ExportController::smartphoneExported, this, &Application::noted);
    // Closing waits for the cancelled job to end.
    connect(&m_commands, &CommandState::busyChanged, this, [this](bool busy) {
        if (!busy && m_quitWhenIdle)
            QTimer::singleShot(0, this, &Application::readyToQuit);
    });
    // A port chosen by hand is looked at before the phone's state is taken.
    connect(&m_connectionTimer, &QTimer::timeout, m_portChoice, &PortChoice::recheck);
    connect(&m_connectionTimer, &QTimer::timeout, m_phone, &PhoneController::refreshConnection);
    connect(m_portChoice, &PortChoice::choiceChanged, this, &Application::portChosen);
    connect(&m_commands, &CommandState::busyChanged, this, [this](bool busy) {
        if (!busy && m_portAwaited)
            QTimer::singleShot(0, this, &Application::takeAwaitedPort);
    });
    wireSearch();
}

void Application::wireSearch() {
    // The search's copies of the folders follow every change to them.
    connect(m_phone, &PhoneController::phoneFolderChanged, m_search,
            &SearchController::phoneFoldersChanged);
    connect(m_phone, &PhoneController::deletedOnPhone, m_search,
            [this](FolderKind folder) { m_search->folderChanged(phoneFolderNode(folder)); });
    connect(m_archive, &ArchiveController::archiveReplaced, m_search,
            &SearchController::archiveFoldersChanged);
    connect(m_archive, &ArchiveController::recordsDeleted, m_search,
            [this](FolderKind folder) { m_search->folderChanged(archiveFolderNode(folder)); });
    connect(m_archive, &ArchiveController::archiveLent, m_search,
            &SearchController::setArchiveLent);
    // What it finds, the list shows.
    connect(m_search, &SearchController::resultsFound, this,
            [this](std::shared_ptr<const FolderRows> rows, const SearchQuery& query) {
                emit noted(QCoreApplication::translate("MainWindow", "Найдено сообщений: %1")
                               .arg(rows->count()));
                m_list->showResults(std::move(rows), query);
            });
    connect(m_search, &SearchController::searchEnded, this, [this] {
        if (m_list->listing() == Listing::Results) {
            m_list->returnToFolder();
            emit noted(QString());
        }
    });
    connect(m_search, &SearchController::conversationFound, this,
            [this](const GatheredConversation& conversation) {
                emit noted(QCoreApplication::translate("MainWindow", "Сообщений в переписке: %1")
                               .arg(conversation.rows->count()));
                m_list->showConversation(conversation);
            });
    // A deletion's job has ended: the next folder's, if any.
    connect(&m_commands, &CommandState::busyChanged, this, [this](bool busy) {
        if (!busy && !m_deletions.empty())
            QTimer::singleShot(0, this, &Application::runNextDeletion);
    });
}

void Application::start() {
    // Read off the window's thread; the commands rest meanwhile.
    m_archive->reloadArchive();
    m_phone->refreshConnection();
    noteMissingPort();
    m_connectionTimer.start();
    // Written when missing, once the working directory is known; a failure
    // leaves the program without a template until the editor saves one.
    if (const MaybeFailure failure = ensureDefaultTemplate(m_workspace.workDir))
        m_dialogs.fail(failure->text());
}

void Application::showPhoneCaptions() {
    QStringList captions;
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        captions << folderCaption(kind, m_workspace.phoneCount(kind));
    emit phoneCaptionsChanged(captions);
}

// --- The commands

void Application::connectPhone() {
    if (!enabled(Command::Connect))
        return;
    emit noted(QString());
    m_portChoice->recheck();
    m_phone->refreshConnection();
    noteMissingPort();
}

void Application::readPhone() {
    if (!enabled(Command::Read))
        return;
    emit noted(QString());
    m_phone->readPhone();
}

void Application::choosePortAutomatically() {
    choosePort(QString());
}

void Application::choosePort(const QString& path) {
    m_portAwaited.reset();
    if (!enabled(Command::ChoosePort)) {
        // The menu is off while a command runs, but the path dialog may have
        // been open when it began: the choice waits rather than vanishing.
        m_portAwaited = path;
        return;
    }
    if (path.isEmpty())
        m_portChoice->chooseAutomatic();
    else
        m_portChoice->choosePort(path);
}

void Application::takeAwaitedPort() {
    if (m_portAwaited && enabled(Command::ChoosePort))
        choosePort(*std::exchange(m_portAwaited, std::nullopt));
}

void Application::portChosen() {
    m_phone->refreshConnection();
    emit noted(QString());
    noteMissingPort();
}

void Application::noteMissingPort() {
    if (!m_portChoice->isAutomatic() && !m_phone->isConnected())
        emit noted(missingPortText(m_portChoice->chosenPort()));
}

void Application::readOnPlugDue() {
    // The job that just ended may have been cancelled for closing.
    if (m_commands.isBusy() || m_quitWhenIdle)
        return;
    emit noted(QString());
    m_phone->readPhone(ReadStart::Unattended);
}

void Application::beginImport() {
    emit noted(QString());
}

void Application::importArchive(const QString& source) {
    if (enabled(Command::Import))
        m_archive->importArchive(source);
}

void Application::deleteSelected() {
    if (!enabled(Command::DeleteSelected))
        return;
    m_dialogs.ask(
        QCoreApplication::translate("MainWindow", "Вы действительно хотите удалить сообщения?"),
        [this](bool yes) {
            if (yes && m_list->listing() != Listing::Folder) {
                deleteGathered(true, true);
                return;
            }
            // The rows are the listed folder's, where the user chose them.
            const std::optional<TreeNode> target = m_list->listedFolder();
            if (!yes || !target)
                return;
            if (isPhoneFolder(*target))
                deleteOnPhone(folderKindOfNode(*target));
            else if (isArchiveFolder(*target))
                deleteInArchive(folderKindOfNode(*target));
        });
}

// Файл ▸ "Удалить сообщение": only on the archive folder the list shows.
void Application::deleteSelectedInArchive() {
    if (enabled(Command::DeleteInArchive) && m_list->listing() != Listing::Folder)
        return deleteGathered(true, false);
    const std::optional<TreeNode> target = m_list->listedFolder();
    if (enabled(Command::DeleteInArchive) && target && isArchiveFolder(*target))
        deleteInArchive(folderKindOfNode(*target));
}

void Application::deleteInArchive(FolderKind folder) {
    m_archive->deleteRecords(folder, m_list->selectedRecords());
}

// Файл ▸ "Удалить все сообщения": asks nothing, the files go to the trash.
void Application::deleteAllInArchive() {
    if (enabled(Command::DeleteAllInArchive))
        m_archive->deleteAll();
}

void Application::deleteSelectedOnPhone() {
    if (enabled(Command::DeleteOnPhone) && m_list->listing() != Listing::Folder)
        return deleteGathered(false, true);
    const std::optional<TreeNode> target = m_list->listedFolder();
    if (enabled(Command::DeleteOnPhone) && target && isPhoneFolder(*target))
        deleteOnPhone(folderKindOfNode(*target));
}

void Application::deleteOnPhone(FolderKind folder) {
    m_phone->deleteOnPhone(folder, m_list->selectedPhoneRows());
}

std::optional<ExportSource> Application::beginExport(ExportMode mode) {
    if (!enabled(mode == ExportMode::Selected ? Command::ExportSelected : Command::ExportAll))
        return std::nullopt;
    emit noted(QString());
    return m_list->exportSource(mode);
}

void Application::exportForSmartphone(const QString& targetDir) {
    if (enabled(Command::ExportForSmartphone))
        m_exporter->exportForSmartphone(targetDir);
}

void Application::cancelJob() {
    if (enabled(Command::CancelJob))
        m_deletions.clear(); // the folders after this one are kept too
    m_commands.cancelByUser();
}

// The selected rows of each folder, taken now: a deletion in one folder
// leaves the records of the others where they are.
void Application::deleteGathered(bool inArchive, bool onPhone) {
    m_deletions.clear();
    for (const TreeNode folder : m_list->selectedFolders()) {
        if (isArchiveFolder(folder) && inArchive)
            m_deletions.push_back({folder, m_list->selectedRecords(folder), {}});
        else if (isPhoneFolder(folder) && onPhone)
            m_deletions.push_back({folder, {}, m_list->selectedPhoneRows(folder)});
    }
    runNextDeletion();
}

void Application::runNextDeletion() {
    if (m_deletions.empty() || m_commands.isBusy() || m_quitWhenIdle)
        return;
    const Deletion next = std::move(m_deletions.front());
    m_deletions.pop_front();
    if (isArchiveFolder(next.folder))
        m_archive->deleteRecords(folderKindOfNode(next.folder), next.records);
    else
        m_phone->deleteOnPhone(folderKindOfNode(next.folder), next.phoneRows);
}

// --- Search, conversations, printing

void Application::searchFor(const QString& typed) {
    if (enabled(Command::Search))
        m_search->search(typed);
}

void Application::endSearch() {
    if (!enabled(Command::EndSearch))
        return;
    m_search->endSearch();
    m_list->returnToFolder();
    emit noted(QString());
    emit searchFieldCleared();
}

void Application::showSelectedFolder() {
    if (m_list->listing() == Listing::Folder) {
        m_list->showSelectedFolder();
        return;
    }
    m_search->endSearch();
    m_list->returnToFolder(); // lists the folder chosen before, or forgets it
    m_list->showSelectedFolder();
    emit noted(QString());
    emit searchFieldCleared();
}

void Application::showConversation() {
    if (!enabled(Command::ShowConversation))
        return;
    const std::optional<std::pair<QString, QString>> correspondent =
        m_list->selectedCorrespondent();
    if (!correspondent)
        return;
    if (m_search->isSearching()) {
        m_search->endSearch();
        emit searchFieldCleared();
    }
    m_search->showConversation(correspondent->first, correspondent->second);
}

void Application::print(std::unique_ptr<QPagedPaintDevice> device) {
    if (!enabled(Command::Print))
        return;
    if (std::optional<PrintJob::Document> document = m_list->printSource())
        runPrintJob(std::make_unique<PrintJob>(std::move(*document), std::move(device)));
}

void Application::savePdf(const QString& path, QPageSize::PageSizeId pageSize) {
    if (!enabled(Command::SavePdf))
        return;
    if (std::optional<PrintJob::Document> document = m_list->printSource())
        runPrintJob(std::make_unique<PrintJob>(std::move(*document), path, pageSize));
}

void Application::runPrintJob(std::unique_ptr<PrintJob> job) {
    emit noted(QString());
    m_commands.run(
        std::move(job),
        [this](PrintJob& done) {
            if (done.failure())
                m_dialogs.fail(done.failure()->text());
            else if (done.cancelled())
                emit noted(QCoreApplication::translate("MainWindow", "Печать прервана"));
            else if (done.path().isEmpty())
                emit noted(QCoreApplication::translate("MainWindow", "Напечатано сообщений: %1")
                               .arg(done.printedCount()));
            else
                emit noted(QCoreApplication::translate("MainWindow", "Сохранено в PDF: %1")
                               .arg(QDir::toNativeSeparators(done.path())));
        },
        UserCancel::Yes);
}

bool Application::requestQuit() {
    if (m_commands.isBusy()) {
        // The job still works on the program's state: it is cancelled, and
        // the program ends once it has ended.
        m_quitWhenIdle = true;
        m_commands.cancel();
        return false;
    }
    m_quitWhenIdle = false;
    m_phone->closePorts();
    return true;
}

} // namespace qb
