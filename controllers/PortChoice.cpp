#include "controllers/PortChoice.h"

#include "controllers/CommandState.h"
#include "models/SettingsStore.h"
#include "phonelink/PhoneWatcher.h"
#include "phonelink/SerialPorts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>

namespace qb {
namespace {

struct PortChoiceTexts {
    Q_DECLARE_TR_FUNCTIONS(PortChoice)
};

std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

std::optional<QString> typedPortPath(const QString& typed) {
    const QString path = typed.trimmed();
    if (path.isEmpty())
        return std::nullopt;
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QStringLiteral("/dev/") + path);
}

std::vector<OfferedPort> offeredPorts(const std::vector<QString>& found, const QString& chosen,
                                      bool chosenThere) {
    std::vector<OfferedPort> ports;
    for (const QString& path : found)
        ports.push_back({path, true});
    if (!chosen.isEmpty() && std::find(found.begin(), found.end(), chosen) == found.end())
        ports.push_back({chosen, chosenThere});
    return ports;
}

ConnectionCaption connectionCaption(bool connected, const QString& chosenPort) {
    if (connected)
        return {QCoreApplication::translate("MainWindow", "Состояние: Подключен"), chosenPort};
    if (chosenPort.isEmpty())
        return {QCoreApplication::translate("MainWindow", "Состояние: Отключен"), QString()};
    return {PortChoiceTexts::tr("Состояние: Нет порта"), missingPortText(chosenPort)};
}

QString missingPortText(const QString& path) {
    return PortChoiceTexts::tr("Порт %1 не найден. Подключите телефон или выберите другой "
                               "порт: Телефон ▸ Порт телефона.")
        .arg(path);
}

PortChoice::PortChoice(PhoneWatcher& watcher, SettingsStore& settings, CommandState& commands,
                       QObject* parent)
    : QObject(parent), m_watcher(watcher), m_settings(settings), m_commands(commands) {
    // A path written by hand into the file is taken as it would be typed.
    m_chosen =
        typedPortPath(settings.text(Setting::PhonePort).value_or(QString())).value_or(QString());
    if (!m_chosen.isEmpty())
        m_watcher.followPort(pathBytes(m_chosen));
}

bool PortChoice::choose(const QString& path) {
    if (m_commands.isBusy())
        return false;
    m_settings.setText(Setting::PhonePort, path);
    if (path == m_chosen)
        return true;
    m_chosen = path;
    m_watcher.followPort(pathBytes(path));
    emit choiceChanged();
    return true;
}

std::vector<OfferedPort> PortChoice::offered() const {
    std::vector<QString> found;
    for (const std::string& path : serialPortsFound())
        found.push_back(QFile::decodeName(QByteArray::fromStdString(path)));
    // As the status shows it: the watcher lists the chosen port while it is there.
    return offeredPorts(found, m_chosen, m_watcher.count() > 0);
}

void PortChoice::recheck() {
    m_watcher.recheckFollowedPort();
}

} // namespace qb
