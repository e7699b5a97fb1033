#include "WindowProgram.h"

#include "ui/FolderTreeWidget.h"

#include <QCoreApplication>

namespace qb::bench {

WindowProgram::WindowProgram(const QString& workDir)
    : m_app(std::make_unique<Application>(
          workDir, m_dialogs, nullptr,
          std::make_unique<SettingsStore>(workDir + QStringLiteral("/.bench-settings.conf")))),
      m_window(std::make_unique<MainWindow>(*m_app)) {
    m_dialogs.showOver(m_window.get());
    m_window->show();
    m_app->start();
    waitSettled();
}

WindowProgram::~WindowProgram() = default;

void WindowProgram::waitSettled() {
    while (!settled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

void WindowProgram::choose(TreeNode node) {
    auto* tree = m_window->findChild<ui::FolderTreeWidget*>(QStringLiteral("folderTree"));
    tree->setCurrentItem(tree->node(node));
    m_app->list().showFolder(node);
}

} // namespace qb::bench
