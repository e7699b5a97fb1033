#include "models/SettingsStore.h"

#include "core/Failure.h"

#include <QSettings>

namespace qb {
namespace {

QString key(const QString& section, const QString& ident) {
    return section + QLatin1Char('/') + ident;
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Quillbox"),
                                             QStringLiteral("Quillbox"))) {}

SettingsStore::SettingsStore(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::contains(const QString& section, const QString& ident) const {
    return m_settings->contains(key(section, ident));
}

QString SettingsStore::readText(const QString& section, const QString& ident) const {
    return m_settings->value(key(section, ident)).toString();
}

int SettingsStore::readNumber(const QString& section, const QString& ident, int fallback) const {
    const QVariant value = m_settings->value(key(section, ident));
    if (!value.isValid())
        return fallback;
    const QByteArray text = value.toString().toLatin1();
    return parseBlankLedNumber(std::string_view(text.constData(), text.size())).value_or(fallback);
}

bool SettingsStore::writeText(const QString& section, const QString& ident, const QString& text) {
    return write(section, ident, text);
}

bool SettingsStore::writeNumber(const QString& section, const QString& ident, int value) {
    return write(section, ident, value);
}

bool SettingsStore::write(const QString& section, const QString& ident, const QVariant& value) {
    // A store that cannot be written must not stop the caller: the value still
    // holds for this run (QSettings keeps it in memory) but does not survive it.
    const bool writable = m_settings->isWritable();
    m_settings->setValue(key(section, ident), value);
    m_settings->sync();
    return writable && m_settings->status() == QSettings::NoError;
}

} // namespace qb
