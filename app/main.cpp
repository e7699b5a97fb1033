// Starts the program: the application, its main window, the event loop.
#include "ui/ApplicationTitle.h"
#include "ui/MainWindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qb::ui::applyApplicationIdentity();
    MainWindow window;
    window.show();
    return app.exec();
}
