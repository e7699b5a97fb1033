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

const QString Section = QStringLiteral("ColumSort");
const QString Ident = QStringLiteral("ColumnI");

} // namespace

TEST(SettingsStore, ValuesOutliveTheStoreThatWroteThem) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("q.conf"));
    {
        SettingsStore store(file);
        EXPECT_FALSE(store.contains(Setting::ColourSection, Setting::Background));
        EXPECT_EQ(store.readNumber(Section, Ident, 1), 1);
        EXPECT_TRUE(store.writeText(Setting::ColourSection, Setting::Background,
                                    QStringLiteral("$00FF8000")));
        EXPECT_TRUE(store.writeNumber(Section, Ident, -1));
    }
    SettingsStore again(file);
    EXPECT_TRUE(again.contains(Setting::ColourSection, Setting::Background));
    EXPECT_EQ(again.readText(Setting::ColourSection, Setting::Background), "$00FF8000");
    EXPECT_EQ(again.readNumber(Section, Ident, 1), -1);
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
        store.writeText(Section, Ident, QString::fromLatin1(text));
        EXPECT_EQ(store.readNumber(Section, Ident, 1), value) << text;
    }
}

TEST(SettingsStore, TheUsersStoreLivesInTheXdgConfigDirectory) {
    QStandardPaths::setTestModeEnabled(true);
    const QString expected =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/Quillbox/Quillbox.conf");
    {
        SettingsStore store;
        EXPECT_TRUE(store.writeNumber(Section, Ident, 4));
    }
    EXPECT_TRUE(QFile::exists(expected)) << expected.toStdString();
    EXPECT_EQ(SettingsStore().readNumber(Section, Ident, 1), 4);
    QFile::remove(expected);
    QStandardPaths::setTestModeEnabled(false);
}

TEST(SettingsStore, AnUnwritableStoreKeepsTheValueForThisRun) {
    QTemporaryDir dir;
    // A directory where the file should be: nothing can ever be written there.
    const QString file = dir.filePath(QStringLiteral("blocked.conf"));
    ASSERT_TRUE(QDir().mkpath(file));
    SettingsStore store(file);
    EXPECT_FALSE(store.writeText(Setting::ColourSection, Setting::Text, QStringLiteral("clRed")));
    EXPECT_EQ(store.readText(Setting::ColourSection, Setting::Text), "clRed");
}
