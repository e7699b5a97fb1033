#pragma once
// The program with its main window, as main() makes them, on an archive in a
// folder of its own with settings of its own, for the benchmarks that
// measure what the window's thread lives through.
#include "archive/FolderTree.h"
#include "controllers/Application.h"
#include "ui/MainWindow.h"
#include "ui/WindowDialogs.h"

#include <QString>
#include <memory>

namespace qb::bench {

class WindowProgram {
  public:
    explicit WindowProgram(const QString& workDir);
    ~WindowProgram();

    Application& app() { return *m_app; }
    // No job runs and the list shows, sorted, what was chosen last.
    bool settled() { return !m_app->commands().isBusy() && m_app->list().isSettled(); }
    // Runs the event loop until settled, then once more: what it shows is painted.
    void waitSettled();
    // The node made current in the tree and listed, as a click on it does.
    void choose(TreeNode node);

  private:
    ui::WindowDialogs m_dialogs;
    std::unique_ptr<Application> m_app;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace qb::bench
