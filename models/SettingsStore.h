#pragma once
// The program's per-user settings: a small section/ident/value store. It is
// QSettings' per-user file, which on Linux lives in the XDG config directory
// ($XDG_CONFIG_HOME/Quillbox/Quillbox.conf, ~/.config when unset). The file
// keeps every value as text, so numbers are read back from their decimal text.
#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace qb {

// Where one value lives: its section and its name within the section.
struct SettingKey {
    QString section;
    QString name;
};

// The values the program keeps; the first four are spelt as earlier versions spelt them.
namespace Setting {
inline const SettingKey Background{QStringLiteral("Color"), QStringLiteral("BlColor")};
inline const SettingKey Text{QStringLiteral("Color"), QStringLiteral("FontColor")};
inline const SettingKey SortMark{QStringLiteral("ColumSort"), QStringLiteral("ColumnImage")};
inline const SettingKey SortColumn{QStringLiteral("ColumSort"), QStringLiteral("ColumnI")};
// 1 while the phone is read as soon as it is plugged in.
inline const SettingKey ReadOnPlug{QStringLiteral("Phone"), QStringLiteral("ReadOnPlug")};
// The path of the port chosen for the phone; absent or empty: the USB phone found.
inline const SettingKey PhonePort{QStringLiteral("Phone"), QStringLiteral("Port")};
} // namespace Setting

class SettingsStore {
  public:
    SettingsStore(); // the user's own store
    explicit SettingsStore(const QString& filePath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool contains(const SettingKey& key) const;
    // The stored text; none when the value is absent.
    std::optional<QString> text(const SettingKey& key) const;
    // The number's decimal value; `fallback` when absent or not a whole number.
    int number(const SettingKey& key, int fallback) const;
    // Both report whether the value reached the file.
    bool setText(const SettingKey& key, const QString& text);
    bool setNumber(const SettingKey& key, int value);

  private:
    bool write(const SettingKey& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings;
};

} // namespace qb
