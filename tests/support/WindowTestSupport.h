#pragma once
// What the window tests share: a fresh working directory for the window,
// the program and its window started there, finding controls by name, and
// recording the message boxes the program raises.
#include "archive/FolderTree.h"
#include "controllers/Application.h"
#include "controllers/ArchiveController.h"
#include "controllers/PhoneController.h"
#include "controllers/UserDialogs.h"
#include "core/Job.h"
#include "models/MessageListModel.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

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

// The program and its window as main() starts them, in `workDir`, with the
// message boxes going to `dialogs`; what the tests look at in both.
struct ProgramWindow {
    ProgramWindow(const QString& workDir, UserDialogs& dialogs) : app(workDir, dialogs), form(app) {
        app.start();
    }
    Application app;
    MainWindow form;

    bool isBusy() const { return app.commands().isBusy(); }
    // No job runs and the list shows, sorted, what was chosen last.
    bool isSettled() { return !isBusy() && app.list().isSettled(); }
    ui::FolderTreeWidget* tree() const { return control<ui::FolderTreeWidget>(form, "folderTree"); }
    QTreeWidgetItem* node(TreeNode node) const { return tree()->node(node); }
    QString caption(TreeNode node) const { return tree()->node(node)->text(0); }
    MessageListModel& model() { return app.list().model(); }
    std::optional<TreeNode> listedFolder() { return app.list().listedFolder(); }
    QString messagePanel() const { return control<QLabel>(form, "messagePanel")->text(); }
    void setMessagePanel(const QString& text) const {
        control<QLabel>(form, "messagePanel")->setText(text);
    }
    // The tree's node made current, and listed, as a click on it does.
    void showFolder(TreeNode folder) {
        tree()->setCurrentItem(node(folder));
        app.list().showFolder(folder);
    }
    // Shows the window, active, so that the keys of the focused control reach it.
    bool showActive() {
        form.show();
        QApplication::setActiveWindow(&form);
        return QTest::qWaitForWindowActive(&form);
    }
    // A key pressed in a control that has the focus, as the user presses it.
    void pressIn(QWidget* control, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        control->setFocus();
        QTest::keyClick(control, key, modifiers);
    }
};

} // namespace qb::testing
