#include "ui/MainStatusBar.h"

#include "ui/StatusPanel.h"
#include "ui/StatusProgress.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

namespace qb::ui {

MainStatusBar::MainStatusBar(QWidget* parent)
    : QStatusBar(parent), m_statusPanel(new StatusPanel(this)), m_messagePanel(new QLabel(this)),
      m_progressBar(new QProgressBar(this)), m_cancelAction(new QAction(this)),
      m_cancelButton(new QToolButton(this)),
      m_progress(std::make_unique<StatusProgress>(m_progressBar)) {
    setObjectName(QStringLiteral("statusBar"));
    setSizeGripEnabled(false);
    setFixedHeight(19);
    m_statusPanel->setObjectName(QStringLiteral("statusPanel"));
    m_statusPanel->setFixedWidth(150);
    m_messagePanel->setObjectName(QStringLiteral("messagePanel"));
    addWidget(m_statusPanel);
    addWidget(m_messagePanel, 1);

    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setAccessibleName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setGeometry(157, 5, 150, 12);
    m_progressBar->hide();

    m_cancelAction->setObjectName(QStringLiteral("cancelAction"));
    m_cancelAction->setText(tr("Прервать"));
    m_cancelAction->setToolTip(tr("Прервать работу с телефоном (Esc)"));
    m_cancelAction->setShortcut(Qt::Key_Escape);
    m_cancelAction->setEnabled(false);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setDefaultAction(m_cancelAction);
    m_cancelButton->setAutoRaise(true);
    m_cancelButton->setGeometry(311, 1, 70, 17);
    m_cancelButton->hide();
}

void MainStatusBar::setCancellable(bool cancellable) {
    m_cancelButton->setVisible(cancellable);
    m_cancelButton->raise();
}

MainStatusBar::~MainStatusBar() = default;

void MainStatusBar::setMessage(const QString& text) {
    m_messagePanel->setText(text);
}

QString MainStatusBar::message() const {
    return m_messagePanel->text();
}

void MainStatusBar::showProgress(const ProgressState& state) {
    m_progress->setMaximum(state.maximum);
    m_progress->setPosition(state.position);
    m_progress->setTextVisible(state.textVisible);
    m_progress->setVisible(state.visible);
}

} // namespace qb::ui
