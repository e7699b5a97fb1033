#pragma once
// What the end-to-end tests look at in and around the running window: its
// controls by name, the message boxes it raises and the files it writes.
#include "ui/TForm1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace qb::e2e {

// Runs the window in a fresh directory, as if the program had been started
// there, holding `files` (name to content) from an earlier run.
class StartedIn {
  public:
    explicit StartedIn(const QMap<QString, QByteArray>& files = {})
        : m_previous(QDir::currentPath()) {
        QDir::setCurrent(m_dir.path());
        for (auto file = files.begin(); file != files.end(); ++file)
            write(file.key(), file.value());
    }
    ~StartedIn() { QDir::setCurrent(m_previous); }
    StartedIn(const StartedIn&) = delete;
    StartedIn& operator=(const StartedIn&) = delete;

    QString filePath(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    bool exists(const QString& name) const { return QFile::exists(filePath(name)); }
    QByteArray read(const QString& name) const {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool write(const QString& name, const QByteArray& bytes) const {
        QFile file(filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

  private:
    QTemporaryDir m_dir;
    QString m_previous;
};

template <typename T> T* control(const TForm1& form, const char* name) {
    T* found = form.findChild<T*>(QLatin1String(name));
    if (!found)
        qWarning("no control named %s", name);
    return found;
}

// Answers every message box the window raises with its default button and
// keeps the texts; a box left open would stop the test in its modal loop.
class MessageBoxCatcher : public QObject {
  public:
    MessageBoxCatcher() {
        connect(&m_poll, &QTimer::timeout, this, &MessageBoxCatcher::poll);
        m_poll.start(20);
    }
    QStringList texts;

  private:
    void poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                texts << box->text();
                box->accept();
            }
        }
    }
    QTimer m_poll;
};

} // namespace qb::e2e
