// Paints the program's pictures and writes them as PNG files:
//   iconforge <output directory>
// The output is committed under models/icons; the build does not run this tool.
#include "Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

using namespace iconforge;

namespace {

bool render(const Picture& picture, int units, int pixels, const QString& path) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(qreal(pixels) / units, qreal(pixels) / units);
    picture(p);
    p.end();
    return image.save(path);
}

QString at2x(const QString& path) {
    return QString(path).replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // paints only; needs no display
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: iconforge <output directory>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << '\n';
        return 1;
    }
    bool ok = true;
    for (int i = 0; i < ImageListCount; ++i) {
        const QString path =
            out.filePath(QStringLiteral("icon%1.png").arg(i, 2, 10, QLatin1Char('0')));
        ok &= render(imageListPicture(i), 16, 16, path);
        ok &= render(imageListPicture(i), 16, 32, at2x(path));
    }
    const struct {
        const char* name;
        int image;
    } buttons[] = {{"connect", 25}, {"read", 28}, {"save", 3}, {"saveall", 29}, {"convert", 26}};
    for (const auto& button : buttons) {
        const QString path =
            out.filePath(QStringLiteral("button_%1.png").arg(QLatin1String(button.name)));
        ok &= render(imageListPicture(button.image), 16, 32, path);
        ok &= render(imageListPicture(button.image), 16, 64, at2x(path));
    }
    for (int size : {64, 128})
        ok &= render(paintProgramIcon, 64, size,
                     out.filePath(QStringLiteral("quillbox%1.png").arg(size)));
    if (!ok)
        err << "some pictures could not be written to " << out.path() << '\n';
    return ok ? 0 : 1;
}
