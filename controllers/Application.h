#pragma once
// The program without its window: the working directory's archive and the
// last phone read (the Workspace), the settings, the one command state, the
// phone watcher and the controllers, wired to each other here. main() makes
// one; the window takes it, runs its commands from its actions and shows what
// it reports. Every command does nothing while it is disabled.
#include "archive/Workspace.h"
#include "controllers/CommandState.h"
#include "controllers/ListController.h"
#include "controllers/ReadReport.h"
#include "controllers/SearchController.h"
#include "models/SettingsStore.h"
#include "phonelink/PhoneWatcher.h"

#include <QObject>
#include <QPageSize>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>

namespace qb {

class ArchiveController;
class CorrespondentKeys;
class ExportController;
class PhoneController;
class PortChoice;
class ReadOnPlug;
class UserDialogs;

class Application : public QObject {
    Q_OBJECT
  public:
    // The program working in `workDir`, telling the user through `dialogs`.
    // The phone's ports come from udev, or from `watcher` when one is given.
    // `settings` is the user's own store unless given.
    Application(const QString& workDir, UserDialogs& dialogs,
                std::unique_ptr<PhoneWatcher> watcher = nullptr,
                std::unique_ptr<SettingsStore> settings = nullptr, QObject* parent = nullptr);
    ~Application() override;

    // Reads the archive (a job), takes the phone's state and follows it every
    // 500 ms, and writes the default export template when there is none.
    void start();

    Workspace& workspace() { return m_workspace; }
    const Workspace& workspace() const { return m_workspace; }
    SettingsStore& settings() { return *m_settings; }
    CommandState& commands() { return m_commands; }
    const CommandState& commands() const { return m_commands; }
    PhoneWatcher& watcher() { return *m_watcher; }
    ArchiveController& archive() { return *m_archive; }
    PhoneController& phone() { return *m_phone; }
    ExportController& exporter() { return *m_exporter; }
    ListController& list() { return *m_list; }
    SearchController& search() { return *m_search; }
    // The setting that reads the phone as soon as it is plugged in.
    ReadOnPlug& readOnPlug() { return *m_readOnPlug; }
    // The setting of the phone's port: automatic or chosen by hand.
    PortChoice& portChoice() { return *m_portChoice; }

    // The commands, as the menu, the toolbar and the keys give them.
    void connectPhone();
    void readPhone();
    // The phone's port: the USB phone found by itself, or the port at `path`.
    void choosePortAutomatically();
    void choosePort(const QString& path);
    // Starts the import's choice of a file: the message panel is emptied.
    void beginImport();
    void importArchive(const QString& source);
    // The Delete key: asks, then deletes the selected rows where the list
    // shows them, on the phone or in the archive.
    void deleteSelected();
    void deleteSelectedInArchive();
    void deleteAllInArchive();
    void deleteSelectedOnPhone();
    // The rows to export, for the export dialog; none when the command rests
    // or there is nothing to export.
    std::optional<ExportSource> beginExport(ExportMode mode);
    void exportForSmartphone(const QString& targetDir);
    // Esc and the button beside the progress bar.
    void cancelJob();

    // Every keystroke in the search field: the results replace the list.
    void searchFor(const QString& typed);
    // Esc over results or a conversation: the folder shown before comes back
    // and the search field is emptied.
    void endSearch();
    // A click on the tree or an arrow key in it: lists the selected node,
    // leaving a search or a conversation.
    void showSelectedFolder();
    // "Переписка с …": every message with the selected row's correspondent.
    void showConversation();
    // Prints the rows listed, or those selected, on `device` (a printer its
    // dialog set up), or saves them as a PDF at `path`.
    void print(std::unique_ptr<QPagedPaintDevice> device);
    void savePdf(const QString& path, QPageSize::PageSizeId pageSize);

    // Closing: true when the program may end now (the ports are closed then);
    // otherwise the running job is cancelled and readyToQuit() comes once it
    // has ended.
    bool requestQuit();

  signals:
    // The message panel's text.
    void noted(const QString& text);
    // The captions of the phone's Inbox, Outbox and Draft nodes.
    void phoneCaptionsChanged(const QStringList& captions);
    void readyToQuit();
    // The search ended other than by typing: the search field is emptied.
    void searchFieldCleared();
    // A read started by plugging the phone in has ended: for the
    // notification area, where the user looks while the window is hidden.
    void readNoticed(const qb::ReadNotice& notice);

  private:
    void wireControllers();
    void wireSearch();
    void showPhoneCaptions();
    void readOnPlugDue();
    void portChosen();
    void takeAwaitedPort();
    // The message panel names a chosen port that is not there.
    void noteMissingPort();
    void deleteInArchive(FolderKind folder);
    void deleteOnPhone(FolderKind folder);
    // Deleting rows gathered from several folders: one folder after another.
    struct Deletion {
        TreeNode folder;
        std::vector<int> records;
        std::vector<DeleteRow> phoneRows;
    };
    void deleteGathered(bool inArchive, bool onPhone);
    void runNextDeletion();
    void runPrintJob(std::unique_ptr<PrintJob> job);
    bool enabled(Command command) const { return m_commands.isEnabled(command); }

    Workspace m_workspace;
    UserDialogs& m_dialogs;
    std::unique_ptr<SettingsStore> m_settings;
    CommandState m_commands;
    std::unique_ptr<PhoneWatcher> m_watcher;
    ArchiveController* m_archive;
    PhoneController* m_phone;
    ExportController* m_exporter;
    ListController* m_list;
    std::shared_ptr<const CorrespondentKeys> m_keys;
    SearchController* m_search;
    std::deque<Deletion> m_deletions;
    ReadOnPlug* m_readOnPlug;
    PortChoice* m_portChoice;
    // A port chosen in the port dialog while a command ran (a read the
    // plugging started, say): taken once the command has ended. Empty for
    // the automatic choice.
    std::optional<QString> m_portAwaited;
    QTimer m_connectionTimer{this};
    bool m_quitWhenIdle = false;
};

} // namespace qb
