#pragma once
// The desktop's trash of a home of the test's own, so that a test that moves
// files to the trash never touches the user's. HOME moves too: Qt uses the
// home trash only for files on the same drive as HOME.
#include <QByteArray>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

namespace qb::testing {

struct OwnTrash {
    QTemporaryDir home;
    QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    OwnTrash() {
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
        QDir(home.path()).mkdir("data");
    }
    ~OwnTrash() {
        qputenv("HOME", oldHome);
        qputenv("XDG_DATA_HOME", oldData);
    }
    QStringList files() const {
        return QDir(home.filePath("data/Trash/files")).entryList(QDir::Files, QDir::Name);
    }
};

} // namespace qb::testing
