// Grabs the whole X screen into a PNG after a pause:
//   screenshot <output.png> [seconds, default 3]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc < 2 || argc > 3) {
        err << "usage: screenshot <output.png> [seconds]\n";
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    bool numeric = true;
    const double seconds = argc == 3 ? QString::fromLocal8Bit(argv[2]).toDouble(&numeric) : 3.0;
    if (!numeric || seconds < 0) {
        err << "seconds must be a number of zero or more\n";
        return 2;
    }
    int status = 1;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &app, [&] {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen && screen->grabWindow(0).save(path))
            status = 0;
        else
            err << "cannot grab the screen into " << path << '\n';
        app.quit();
    });
    app.exec();
    return status;
}
