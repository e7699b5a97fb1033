// Starts the program: the application, its main window, the event loop.
#include "ui/ApplicationTitle.h"
#include "ui/TForm1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qb::ui::applyApplicationIdentity();
    TForm1 form1;
    form1.show();
    return app.exec();
}
