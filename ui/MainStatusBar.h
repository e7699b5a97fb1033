#pragma once
// The window's status bar: the connection panel, the message panel and, over
// them, the progress bar of the long commands with the button that cancels
// the one under way on the phone. The button runs the cancel command's action,
// which Esc runs too.
#include "core/Progress.h"

#include <QStatusBar>
#include <memory>

class QAction;
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
    // Follows a job's progress.
    void showProgress(const qb::ProgressState& state);
    // The cancel command: the button beside the progress bar, and Esc.
    QAction* cancelAction() const { return m_cancelAction; }
    // Shows the button while the command may run.
    void setCancellable(bool cancellable);

  private:
    StatusPanel* m_statusPanel;
    QLabel* m_messagePanel;
    QProgressBar* m_progressBar;
    QAction* m_cancelAction;
    QToolButton* m_cancelButton;
    std::unique_ptr<StatusProgress> m_progress;
};

} // namespace qb::ui
