#pragma once
// What the window tests share: a fresh working directory for the window,
// finding its controls by name, and recording the message boxes it raises.
#include "archive/FolderTree.h"
#include "controllers/UserDialogs.h"
#include "core/Job.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

namespace qb::testing {

// Points the program's per-user settings at a fresh directory for as long as
// it lives, so no window test reads or writes the user's own settings or
// inherits a sort column or colours from another test.
class IsolatedSettings {
  public:
    IsolatedSettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }
    // The file the window's store uses.
    QString filePath() const { return m_dir.filePath(QStringLiteral("Quillbox/Quillbox.conf")); }

  private:
    QTemporaryDir m_dir;
};

// A fresh working directory for the window, as if the program had been
// started there, holding `files` (name to content) from an earlier run.
class StartedIn {
  public:
    explicit StartedIn(const QMap<QString, QByteArray>& files = {}) {
        for (auto file = files.begin(); file != files.end(); ++file)
            write(file.key(), file.value());
    }
    StartedIn(const StartedIn&) = delete;
    StartedIn& operator=(const StartedIn&) = delete;

    QString path() const { return QDir(m_dir.path()).canonicalPath(); }
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

    const IsolatedSettings& settings() const { return m_settings; }

  private:
    QTemporaryDir m_dir;
    IsolatedSettings m_settings;
};

template <typename T, typename Window> T* control(const Window& form, const char* name) {
    T* found = form.template findChild<T*>(QLatin1String(name));
    if (!found)
        qWarning("no control named %s", name);
    return found;
}

// The tree node at a position counted from the top, 0 to 7.
inline TreeNode nodeAt(int position) {
    return static_cast<TreeNode>(position);
}

// A job that runs until the test ends it or it is cancelled, as a long file
// command does.
class SlowJob : public Job {
  public:
    bool started = false;
    bool cancelled = false;
    void start() override { started = true; }
    void cancel() override {
        cancelled = true;
        QMetaObject::invokeMethod(this, &Job::finished, Qt::QueuedConnection);
    }
    void end() { emit finished(); }
};

// Stands in for the window's message boxes: keeps every text, in order, and
// answers every question with `yes`.
class RecordingDialogs : public UserDialogs {
  public:
    QStringList texts;
    QStringList questions;
    bool yes = true;

    void inform(const QString& text) override { texts << text; }
    void tell(const QString& text) override { texts << text; }
    void fail(const QString& text) override { texts << text; }
    void ask(const QString& question, std::function<void(bool)> answered) override {
        texts << question;
        questions << question;
        answered(yes);
    }
};

} // namespace qb::testing
