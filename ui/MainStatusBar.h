#pragma once
// The window's status bar: the connection panel, the message panel and, over
// them, the progress bar of the long commands with the button that cancels
// the one under way on the phone.
#include "core/Progress.h"

#include <QStatusBar>
#include <memory>

class QLabel;
class QProgressBar;
class QToolButton;

namespace qb::ui {

class StatusPanel;
class StatusProgress;

class MainStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit MainStatusBar(QWidget* parent = nullptr);
    ~MainStatusBar() override;

    StatusPanel* statusPanel() const { return m_statusPanel; }
    void setMessage(const QString& text);
    QString message() const;
    // The bar as a command sees it, for the commands that still write to it directly.
    Progress& progress();
    // Follows a job's progress.
    void showProgress(const qb::ProgressState& state);
    QToolButton* cancelButton() const { return m_cancelButton; }
    void setCancellable(bool cancellable);

  private:
    StatusPanel* m_statusPanel;
    QLabel* m_messagePanel;
    QProgressBar* m_progressBar;
    QToolButton* m_cancelButton;
    std::unique_ptr<StatusProgress> m_progress;
};

} // namespace qb::ui
