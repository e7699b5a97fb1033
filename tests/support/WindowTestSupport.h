#pragma once
// What the window tests share: starting the window in a fresh directory,
// finding its controls by name, and answering the message boxes it raises.
#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

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
    QString m_previous;
    IsolatedSettings m_settings;
};

template <typename T, typename Window> T* control(const Window& form, const char* name) {
    T* found = form.template findChild<T*>(QLatin1String(name));
    if (!found)
        qWarning("no control named %s", name);
    return found;
}

// Answers every message box that comes up with `answer` (its default button
// when none is given) and keeps the texts: a box left open would stop the
// test in its modal loop.
class MessageBoxAnswerer : public QObject {
  public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::NoButton)
        : m_answer(answer) {
        connect(&m_poll, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
        m_poll.start(10);
    }
    QStringList texts;

  private:
    void poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            texts << box->text();
            QAbstractButton* button = box->button(m_answer);
            if (!button)
                button = box->defaultButton();
            if (!button)
                button = box->buttons().value(0);
            button->click();
        }
    }
    QMessageBox::StandardButton m_answer;
    QTimer m_poll;
};

} // namespace qb::testing
