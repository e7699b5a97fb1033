// Starts the program: the command line's work without a window, or the
// application with its main window and event loop.
#include "app/CommandLine.h"
#include "controllers/Application.h"
#include "core/NativeDir.h"
#include "core/SignalCleanup.h"
#include "ui/ApplicationTitle.h"
#include "ui/BalloonHints.h"
#include "ui/InterfaceLanguage.h"
#include "ui/MainWindow.h"
#include "ui/WindowDialogs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    // A file being written when the session ends or ^C comes leaves nothing behind.
    qb::removeStagedFilesOnSignals();
    if (const std::optional<int> status = runCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    qb::ui::installInterfaceLanguage(app);
    if (const std::optional<int> status = checkWindowArguments(QApplication::arguments()))
        return *status;
    qb::ui::applyApplicationIdentity();
    qb::ui::installBalloonHints(app);
    // The archive and the export template live in the directory the program
    // starts in, reached by its descriptor where its name is not UTF-8.
    qb::NativeDir work;
    qb::ui::WindowDialogs dialogs;
    qb::Application program(work.openCurrent() ? work.path() : QDir::currentPath(), dialogs);
    MainWindow window(program);
    dialogs.showOver(&window);
    window.show();
    program.start();
    return app.exec();
}
