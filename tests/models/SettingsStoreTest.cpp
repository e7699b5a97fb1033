// The per-user settings store: values survive in the file, numbers are read
// back from text, and a store that cannot be written says so without losing
// the value for the rest of the run.
#include "models/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;

namespace {

const SettingKey Ident = Setting::SortColumn;

} // namespace

TEST(SettingsStore, ValuesOutliveTheStoreThatWroteThem) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("q.conf"));
    {
        SettingsStore store(file);
        EXPECT_FALSE(store.contains(Setting::Background));
        EXPECT_EQ(store.number(Ident, 1), 1);
        EXPECT_TRUE(store.setText(Setting::Background, QStringLiteral("$00FF8000")));
        EXPECT_TRUE(store.setNumber(Ident, -1));
    }
    SettingsStore again(file);
    EXPECT_TRUE(again.contains(Setting::Background));
    EXPECT_EQ(again.text(Setting::Background).value_or(QString()), "$00FF8000");
    EXPECT_EQ(again.number(Ident, 1), -1);
    // The sections and idents are the program's own, spelling included.
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    EXPECT_TRUE(text.contains("[Color]\nBlColor=$00FF8000")) << text.constData();
    EXPECT_TRUE(text.contains("[ColumSort]\nColumnI=-1")) << text.constData();
}

TEST(SettingsStore, NumbersStoredAsTextAreReadAsTheirValue) {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("q.conf")));
    const std::pair<const char*, int> cases[] = {{"3", 3},   {" 4", 4},         {"+2", 2},
                                                 {"-1", -1}, {"x", 1},          {"", 1},
                                                 {"4 ", 1},  {"99999999999", 1}};
    for (const auto& [text, value] : cases) {
        store.setText(Ident, QString::fromLatin1(text));
        EXPECT_EQ(store.number(Ident, 1), value) << text;
    }
}

TEST(SettingsStore, TheUsersStoreLivesInTheXdgConfigDirectory) {
    QStandardPaths::setTestModeEnabled(true);
    const QString expected =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/Quillbox/Quillbox.conf");
    {
        SettingsStore store;
        EXPECT_TRUE(store.setNumber(Ident, 4));
    }
    EXPECT_TRUE(QFile::exists(expected)) << expected.toStdString();
    EXPECT_EQ(SettingsStore().number(Ident, 1), 4);
    QFile::remove(expected);
    QStandardPaths::setTestModeEnabled(false);
}

TEST(SettingsStore, AnUnwritableStoreKeepsTheValueForThisRun) {
    QTemporaryDir dir;
    // A directory where the file should be: nothing can ever be written there.
    const QString file = dir.filePath(QStringLiteral("blocked.conf"));
    ASSERT_TRUE(QDir().mkpath(file));
    SettingsStore store(file);
    EXPECT_FALSE(store.setText(Setting::Text, QStringLiteral("clRed")));
    EXPECT_EQ(store.text(Setting::Text).value_or(QString()), "clRed");
}
