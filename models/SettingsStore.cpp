#include "models/SettingsStore.h"

#include "core/Failure.h"

#include <QSettings>

namespace qb {
namespace {

QString path(const SettingKey& key) {
    return key.section + QLatin1Char('/') + key.name;
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Quillbox"),
                                             QStringLiteral("Quillbox"))) {}

SettingsStore::SettingsStore(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::contains(const SettingKey& key) const {
    return m_settings->contains(path(key));
}

std::optional<QString> SettingsStore::text(const SettingKey& key) const {
    const QVariant value = m_settings->value(path(key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

int SettingsStore::number(const SettingKey& key, int fallback) const {
    const QVariant value = m_settings->value(path(key));
    if (!value.isValid())
        return fallback;
    const QByteArray text = value.toString().toLatin1();
    return parseBlankLedNumber(std::string_view(text.constData(), text.size())).value_or(fallback);
}

bool SettingsStore::setText(const SettingKey& key, const QString& text) {
    return write(key, text);
}

bool SettingsStore::setNumber(const SettingKey& key, int value) {
    return write(key, value);
}

bool SettingsStore::write(const SettingKey& key, const QVariant& value) {
    // A store that cannot be written must not stop the caller: the value still
    // holds for this run (QSettings keeps it in memory) but does not survive it.
    const bool writable = m_settings->isWritable();
    m_settings->setValue(path(key), value);
    m_settings->sync();
    return writable && m_settings->status() == QSettings::NoError;
}

} // namespace qb
