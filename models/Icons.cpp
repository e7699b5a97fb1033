#include "models/Icons.h"

#include <QHash>

// Resources of a static library must be registered by hand: nothing else
// references their initialiser, so the linker would drop it.
static void registerIconResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(quillbox_icons);
        return true;
    }();
    (void)done;
}

namespace qb {

namespace {

QIcon cachedIcon(const QString& path) {
    registerIconResources();
    static QHash<QString, QIcon> cache;
    auto found = cache.find(path);
    if (found == cache.end())
        found = cache.insert(path, QIcon(path)); // picks up name@2x.png by itself
    return *found;
}

} // namespace

QIcon icon(Icon which) {
    if (which == Icon::None)
        return {};
    const int number = static_cast<int>(which);
    return cachedIcon(QStringLiteral(":/icons/icon%1.png").arg(number, 2, 10, QLatin1Char('0')));
}

QIcon buttonPicture(ButtonPicture picture) {
    static const char* const names[] = {"connect", "read", "save", "saveall", "convert"};
    const auto name = QLatin1String(names[static_cast<int>(picture)]);
    return cachedIcon(QStringLiteral(":/icons/button_%1.png").arg(name));
}

QIcon programIcon() {
    registerIconResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quillbox64.png"));
    icon.addFile(QStringLiteral(":/icons/quillbox128.png"));
    return icon;
}

} // namespace qb
