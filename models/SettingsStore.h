#pragma once
// The program's per-user settings: a small section/ident/value store. It is
// QSettings' per-user file, which on Linux lives in the XDG config directory
// ($XDG_CONFIG_HOME/Quillbox/Quillbox.conf, ~/.config when unset). The file
// keeps every value as text, so numbers are read back from their decimal text.
#include <QString>
#include <memory>

class QSettings;

namespace qb {

namespace Setting {
inline const QString ColourSection = QStringLiteral("Color");
inline const QString Background = QStringLiteral("BlColor");
inline const QString Text = QStringLiteral("FontColor");
inline const QString SortSection = QStringLiteral("ColumSort");
inline const QString SortMark = QStringLiteral("ColumnImage");
inline const QString SortColumn = QStringLiteral("ColumnI");
} // namespace Setting

class SettingsStore {
  public:
    SettingsStore(); // the user's own store
    explicit SettingsStore(const QString& filePath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool contains(const QString& section, const QString& ident) const;
    QString readText(const QString& section, const QString& ident) const;
    // The number's decimal value; `fallback` when absent or not a whole number.
    int readNumber(const QString& section, const QString& ident, int fallback) const;
    // Both report whether the value reached the file.
    bool writeText(const QString& section, const QString& ident, const QString& text);
    bool writeNumber(const QString& section, const QString& ident, int value);

  private:
    bool write(const QString& section, const QString& ident, const QVariant& value);

    std::unique_ptr<QSettings> m_settings;
};

} // namespace qb
